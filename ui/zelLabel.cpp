#include "zelLabel.h"

#include "framework/font.h"

namespace {
constexpr DWORD LabelStyle = 0x5000018C;  // WS_CHILD WS_VISIBLE SS_NOTIFY SS_NOPREFIX SS_LEFTNOWORDWRAP
}

TZelLabel::TZelLabel(fw::TControl* parentControl) : TZelWin(parentControl) {
    Control = std::make_unique<fw::TControl>(parentControl, fw::KindStatic, LabelStyle);
    Control->OnClick = [this] { CallEventNull(onClick); };
}

void TZelLabel::SetAlignment(uint8_t alignment) { Control->SetTextAlignment(alignment); }

void TZelLabel::SetAutoSize(uint8_t autoSize) { Control->SetAutoSize(autoSize != 0); }

void TZelLabel::Init() {
    TZelWin::Init();
    Control->SetText(Caption);
}

void TZelLabel::MouseEnter() {
    TZelWin::MouseEnter();
    if (HoverColor == 0 && !HoverUnderline) return;
    fw::TFontSpec font = Control->Font();
    if (HoverColor != 0) font.Color = HoverColor;
    if (HoverUnderline) font.Style |= fw::FontUnderline;
    if (!(font == Control->Font())) Control->SetFont(font);
}

void TZelLabel::MouseLeave() {
    TZelWin::MouseLeave();
    if (HoverColor == 0 && !HoverUnderline) return;
    fw::TFontSpec font = Control->Font();
    if (HoverColor != 0) font.Color = Font.Color;
    if (HoverUnderline) font.Style &= uint8_t(~fw::FontUnderline);
    if (!(font == Control->Font())) Control->SetFont(font);
}
