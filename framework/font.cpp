#include "font.h"

#include "wideText.h"

namespace fw {

std::string FaceName(const std::string& name) { return name.substr(0, 31); }

HFONT CreateFontFromSpec(const TFontSpec& wanted) {
    LOGFONTW lf{};
    lf.lfHeight = wanted.Height;
    lf.lfWeight = (wanted.Style & FontBold) ? FW_BOLD : 0;
    lf.lfItalic = (wanted.Style & FontItalic) ? 1 : 0;
    lf.lfUnderline = (wanted.Style & FontUnderline) ? 1 : 0;
    lf.lfStrikeOut = (wanted.Style & FontStrikeOut) ? 1 : 0;
    lf.lfCharSet = wanted.CharSet;
    const std::wstring face = Wide(FaceName(wanted.Name)).substr(0, LF_FACESIZE - 1);
    face.copy(lf.lfFaceName, face.size());
    return CreateFontIndirectW(&lf);
}

}  // namespace fw
