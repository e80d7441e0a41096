// The font of a control as the layer keeps it: applied by making a GDI font.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace fw {

enum : uint8_t { FontBold = 1, FontItalic = 2, FontUnderline = 4, FontStrikeOut = 8 };

struct TFontSpec {
    std::string Name = "MS Sans Serif";
    int Height = -11;    // logical height, negative: character height
    uint8_t Style = 0;   // FontBold | FontItalic | FontUnderline | FontStrikeOut
    uint32_t Color = 0;  // colour value (see ResolveColor)
    uint8_t CharSet = DEFAULT_CHARSET;

    bool operator==(const TFontSpec&) const = default;
};

// Face names longer than 31 characters are cut (LOGFONT holds 32 bytes).
std::string FaceName(const std::string& name);

// A new GDI font as described; the caller owns it.
HFONT CreateFontFromSpec(const TFontSpec& wanted);

}  // namespace fw
