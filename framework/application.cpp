#include "application.h"

#include "platform/messageBox.h"

namespace fw {

namespace {
constexpr DWORD ApplicationStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD FormStyle = WS_OVERLAPPED | WS_SYSMENU | WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX |
                            WS_CLIPCHILDREN | WS_CLIPSIBLINGS;

bool IsWithin(HWND window, HWND ancestor) { return window == ancestor || IsChild(ancestor, window); }
}  // namespace

TApplication& Application() {
    static TApplication application;
    return application;
}

TControl* TApplication::Window() {
    if (!window_) {
        window_ = std::make_unique<TControl>(KindApplication, nullptr, ApplicationStyle, 0, std::string());
        // A close request to the application window is a request to close
        // the main form.
        window_->MessageHook = [this](TMessage& m) { return ApplicationWindowHandles(m); };
    }
    return window_.get();
}

void TApplication::ReleaseWindow() { window_.reset(); }

// The application window carries the task-bar button, so what the task bar
// and Alt+Tab do to it is meant for the main form: a close request closes
// the form, activation activates it, restore restores it, minimise minimises
// it. The form is reached after the activation in progress has ended.
bool TApplication::ApplicationWindowHandles(TMessage& m) {
    HWND form = mainForm_ ? mainForm_->HandleIfAllocated() : nullptr;
    switch (m.Msg) {
        case WM_CLOSE:
            if (form) SendMessageA(form, WM_CLOSE, 0, 0);
            m.Result = 0;
            return true;
        case WM_ACTIVATE:
            if (LOWORD(m.WParam) != WA_INACTIVE && form)
                PostMessageA(window_->HandleIfAllocated(), WM_QV_REACH_FORM, 0, 0);
            return false;
        case WM_SYSCOMMAND:
            if ((m.WParam & 0xFFF0) == SC_MINIMIZE && form) {
                ShowWindow(form, SW_MINIMIZE);
                m.Result = 0;
                return true;
            }
            if ((m.WParam & 0xFFF0) == SC_RESTORE && form)
                PostMessageA(window_->HandleIfAllocated(), WM_QV_REACH_FORM, 0, 0);
            return false;
        case WM_QV_REACH_FORM:
            // A disabled or hidden form is left alone: a modal box or the
            // program itself decides when it shows.
            if (form && IsWindowVisible(form) && IsWindowEnabled(form)) {
                if (IsIconic(form)) ShowWindow(form, SW_RESTORE);
                SetActiveWindow(form);
            }
            m.Result = 0;
            return true;
        default: return false;
    }
}

std::unique_ptr<TControl> TApplication::CreateForm() {
    auto form = std::make_unique<TControl>(KindForm, Window(), FormStyle, 0, "Form");
    const bool main = mainForm_ == nullptr;
    if (main) mainForm_ = form.get();
    form->Handle();
    if (main) platform::SetMessageOwner(form->HandleIfAllocated());
    return form;
}

bool TApplication::OfferMessage(MSG& msg) {
    if (MessageHook && MessageHook(msg)) return true;
    return NavigateTab(msg);
}

bool TApplication::NavigateTab(const MSG& msg) {
    // With no window holding the focus, keys come to the active form as
    // system keys.
    if ((msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) || msg.wParam != VK_TAB) return false;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
    TControl* form = TControl::FromHandle(GetAncestor(msg.hwnd, GA_ROOT));
    if (!form || !form->KeyboardNavigation()) return false;
    // The child of the form that holds the focus (the focus may sit in a part
    // of a control, such as a combo box's edit field).
    TControl* current = nullptr;
    for (HWND w = msg.hwnd; w && w != form->HandleIfAllocated(); w = GetParent(w)) {
        TControl* c = TControl::FromHandle(w);
        if (c && c->Parent() == form) {
            current = c;
            break;
        }
    }
    TControl* next = form->NextTabStop(current, GetKeyState(VK_SHIFT) >= 0);
    if (!next) return false;
    SetFocus(next->Handle());
    return true;
}

void TApplication::Idle() {
    if (IdleHook) IdleHook();
}

void TApplication::RegisterEnterButton(TControl* button) {
    if (!enterButton_) hookBeforeEnterButton_ = MessageHook;
    enterButton_ = button;
    MessageHook = [this](MSG& msg) {
        if (enterButton_ && msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && enterButton_->Parent()) {
            HWND form = enterButton_->Parent()->HandleIfAllocated();
            if (form && IsWithin(msg.hwnd, form) && IsWindowEnabled(enterButton_->HandleIfAllocated())) {
                SendMessageA(enterButton_->HandleIfAllocated(), BM_CLICK, 0, 0);
                return true;
            }
        }
        return hookBeforeEnterButton_ ? hookBeforeEnterButton_(msg) : false;
    };
}

void TApplication::ClearEnterButton() {
    if (!enterButton_) return;
    enterButton_ = nullptr;
    MessageHook = hookBeforeEnterButton_;
    hookBeforeEnterButton_ = nullptr;
}

void TApplication::Terminate() {
    Terminated = true;
    PostQuitMessage(0);
}

void TApplication::WindowDestroyed(TControl* control) {
    if (control != mainForm_) return;
    platform::SetMessageOwner(nullptr);
    // The main form's window is gone: the program ends with the loop.
    PostQuitMessage(0);
}

void TApplication::ControlGone(TControl* control) {
    if (control == mainForm_) {
        mainForm_ = nullptr;
        if (platform::MessageOwner() == control->HandleIfAllocated() || !control->HandleIfAllocated())
            platform::SetMessageOwner(nullptr);
    }
    if (control == enterButton_) ClearEnterButton();
}

bool ProcessMessages() {
    TApplication& app = Application();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            app.Terminated = true;
            return false;
        }
        if (!app.OfferMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return true;
}

void RunMessageLoop() {
    TApplication& app = Application();
    app.Running = true;
    TControl* window = app.Window();
    window->Handle();
    bool endedByQuit = false;
    while (!app.Terminated) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) WaitMessage();
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                app.Terminated = true;
                endedByQuit = true;
                break;
            }
            if (!app.OfferMessage(msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        if (!app.Terminated) app.Idle();
    }
    app.Running = false;
    if (!endedByQuit) {
        ProcessMessages();
        if (HWND w = app.HandleIfAllocated()) SendMessageA(w, WM_CLOSE, 0, 0);
    }
    app.ReleaseWindow();
    // Ready for another loop (the tests run several in one process).
    app.Terminated = false;
}

}  // namespace fw
