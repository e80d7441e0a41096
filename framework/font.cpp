#include "font.h"

#include <cstring>

namespace fw {

std::string FaceName(const std::string& name) { return name.substr(0, 31); }

HFONT CreateFontFromSpec(const TFontSpec& wanted) {
    LOGFONTA lf{};
    lf.lfHeight = wanted.Height;
    lf.lfWeight = (wanted.Style & FontBold) ? FW_BOLD : 0;
    lf.lfItalic = (wanted.Style & FontItalic) ? 1 : 0;
    lf.lfUnderline = (wanted.Style & FontUnderline) ? 1 : 0;
    lf.lfStrikeOut = (wanted.Style & FontStrikeOut) ? 1 : 0;
    lf.lfCharSet = wanted.CharSet;
    const std::string face = FaceName(wanted.Name);
    std::memcpy(lf.lfFaceName, face.c_str(), face.size() + 1);
    return CreateFontIndirectA(&lf);
}

}  // namespace fw
