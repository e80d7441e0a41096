#include "zelProgressBar.h"

#include <commctrl.h>

#include "framework/commonControls.h"
#include "framework/screen.h"

void TZelProgressBar::Init() {
    fw::InitCommonControlsAll();
    DWORD style = WS_CHILD | WS_VISIBLE;
    if (Smooth == 1) style |= PBS_SMOOTH;
    if (Kind == 1) style |= PBS_VERTICAL;
    Control = std::make_unique<fw::TControl>(ParentControl, fw::KindProgress, style);
    Control->SetColor(Color);
    Control->Send(PBM_SETRANGE32, 0, LPARAM(Max));
    Control->Send(PBM_SETBARCOLOR, 0, LPARAM(fw::ResolveColor(BarColor)));
    Transparent = 0;
    if (Ctl3D == 1) Control->SetExStyle(0);
    TZelWin::Init();
}

void TZelProgressBar::doPosition(TData& d, uint16_t) {
    const int32_t position = ReadInteger(d, TPointLink{}, 0);
    if (!Control) return;
    Control->Owned([&] {
        Control->Send(PBM_SETPOS, WPARAM(position), 0);
        InvalidateRect(Control->Handle(), nullptr, TRUE);
    });
}
