#include "zelSimpleForm.h"

#include "framework/application.h"

namespace {
constexpr DWORD BorderStyleMask = 0x00C70000;
constexpr DWORD BorderExStyleMask = 0x181;
struct TBorder {
    DWORD style;
    DWORD exStyle;
};
constexpr TBorder Borders[10] = {
    {0, 0},   {0x00C20000, 0},    {0x00C70000, 0}, {0x00C00000, 0x100}, {0x00C00000, 0x80}, {0x00C40000, 0x80},
    {0, 0x1}, {0x00040000, 0x80}, {0, 0x201},      {0x00040000, 0x200},
};
}  // namespace

TZelSimpleForm::TZelSimpleForm(fw::TControl* parentControl) : TZelSimpleWin(parentControl) {
    Control = fw::Application().CreateForm();
    Control->OwnerElement = this;
    Control->OnShow = [this] { Shown(); };
    AddStartup(&TZelSimpleForm::StartRoutine, this);
}

TZelSimpleForm::~TZelSimpleForm() = default;

void TZelSimpleForm::StartRoutine(void* object) {
    auto* form = static_cast<TZelSimpleForm*>(object);
    CallEventNull(form->onCreate);
    form->Control->SetVisible(form->Visible != 0);
}

void TZelSimpleForm::Run() {
    if (fw::TControl* app = fw::Application().WindowIfExists()) app->SetVisible(Visible != 0);
    EnableDispatch();
    RunStartup();
}

void TZelSimpleForm::SetCaption(const std::string& text) {
    Control->SetText(text);
    if (fw::TControl* app = fw::Application().WindowIfExists()) app->SetText(text);
}

void TZelSimpleForm::SetBorderStyle(int style) {
    if (style < 0 || style > 9) return;
    Control->SetStyle((Control->Style() & ~BorderStyleMask) | Borders[style].style);
    Control->SetExStyle((Control->ExStyle() & ~BorderExStyleMask) | Borders[style].exStyle);
}

void TZelSimpleForm::SetAppToolWindow(int on) {
    if (on == 1) fw::Application().Window()->SetExStyle(WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW);
}

void TZelSimpleForm::SetIcon(HICON icon) {
    fw::TControl* app = fw::Application().Window();
    if (icon) {
        app->SetIcon(icon);
        Control->SetIcon(icon);
        return;
    }
    // The parent's icon; the application window's own is "MAINICON".
    HICON appIcon = app->Icon();
    if (!appIcon) {
        appIcon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
        if (appIcon) app->SetIcon(appIcon);
    }
    HICON inherited = ParentControl && ParentControl->Icon() ? ParentControl->Icon() : appIcon;
    if (inherited) Control->SetIcon(CopyIcon(inherited));
}

void TZelSimpleForm::EnableKeyboardNavigation() { Control->SetKeyboardNavigation(true); }

void TZelSimpleForm::doClose(TData&, uint16_t) {
    // lParam 1 marks the program's own close: KeepOpen is not asked.
    if (Control) Control->Send(WM_CLOSE, 0, 1);
}

void TZelSimpleForm::Init() {
    const uint8_t visible = Visible;
    Visible = 0;
    TZelSimpleWin::Init();
    Visible = visible;
}

void TZelSimpleForm::Shown() {
    ShownOnce = 1;
    TZelSimpleWin::Shown();
}

void TZelSimpleForm::MouseDown(const fw::TMouseData& m) {
    if (DragByClient == 1) {
        ReleaseCapture();
        // Returns when the drag ends.
        Control->Send(WM_SYSCOMMAND, 0xF012, 0);
    }
    TZelSimpleWin::MouseDown(m);
}

bool TZelSimpleForm::WndMessage(fw::TMessage& m) {
    fw::TControl* app = fw::Application().WindowIfExists();
    switch (m.Msg) {
        case WM_MOVE:
            if (app) {
                RECT r;
                GetWindowRect(Control->HandleIfAllocated(), &r);
                app->SetPosition(r.left, r.top);
            }
            break;
        case WM_SIZE:
            if (app) {
                RECT r;
                GetWindowRect(Control->HandleIfAllocated(), &r);
                app->SetSize(r.right - r.left, 0);
            }
            break;
        case WM_CLOSE:
            if (m.LParam == 0 && ReadIntegerPoint(KeepOpen) != 0) {
                m.Result = 0;
                return true;  // refused: the form stays and nothing fires
            }
            CallEventNull(onClose);
            DisableDispatch();
            break;
        default: break;
    }
    return TZelSimpleWin::WndMessage(m);
}
