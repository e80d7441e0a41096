#include "font.h"

#include <cstring>

namespace fw {

std::string FaceName(const std::string& name) { return name.substr(0, 31); }

HFONT CreateFontFromSpec(const TFontSpec& spec) {
    LOGFONTA lf{};
    lf.lfHeight = spec.Height;
    lf.lfWeight = (spec.Style & FontBold) ? FW_BOLD : 0;
    lf.lfItalic = (spec.Style & FontItalic) ? 1 : 0;
    lf.lfUnderline = (spec.Style & FontUnderline) ? 1 : 0;
    lf.lfStrikeOut = (spec.Style & FontStrikeOut) ? 1 : 0;
    lf.lfCharSet = spec.CharSet;
    const std::string face = FaceName(spec.Name);
    std::memcpy(lf.lfFaceName, face.c_str(), face.size() + 1);
    return CreateFontIndirectA(&lf);
}

}  // namespace fw
