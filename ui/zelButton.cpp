#include "zelButton.h"

#include "framework/application.h"

namespace {
constexpr DWORD ButtonStyle = 0x50011000;  // WS_CHILD WS_VISIBLE WS_TABSTOP BS_PUSHLIKE
}

void TZelButton::Init() {
    Control = std::make_unique<fw::TControl>(ParentControl, fw::KindButton, ButtonStyle);
    Control->SetText(Caption);
    Control->OnClick = [this] { CallEventCopy(onClick, Data); };
    fw::TApplication& app = fw::Application();
    if (Default == 1) {
        Control->SetStyle(Control->Style() | BS_DEFPUSHBUTTON);
        app.RegisterEnterButton(Control.get());
    } else {
        Control->SetStyle(Control->Style() & ~DWORD(BS_DEFPUSHBUTTON));
        app.ClearEnterButton();
    }
    Control->SetStyle(Control->Style() | BS_MULTILINE);
    TZelWin::Init();
}
