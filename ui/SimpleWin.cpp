#include "SimpleWin.h"

#include "framework/mouseTracking.h"

TZelSimpleWin::TZelSimpleWin(fw::TControl* parentControl) : ParentControl(parentControl) {
    if (ParentControl) Color = ParentControl->Color();
}

TZelSimpleWin::~TZelSimpleWin() {
    if (LayoutManager) {
        if (LayoutManager->Release) LayoutManager->Release(Control.get());
        LayoutManager.reset();
    }
    if (!Destroyed && Control) Control->SetVisible(false);
    Control.reset();
}

void TZelSimpleWin::AttachLayoutManager(std::shared_ptr<TLayoutManager> manager) {
    if (manager && manager->Register) manager->Register(Control.get(), LayoutArg1, LayoutArg2);
    LayoutManager = std::move(manager);
}

void TZelSimpleWin::doEnabled(TData& d, uint16_t) {
    if (Control) Control->SetEnabled(IsNonZero(d));
}

void TZelSimpleWin::Init() {
    fw::TControl& c = *Control;
    c.SetColor(Color);
    c.SetPosition(Left, Top);
    c.SetSize(Width, Height);
    if (Ctl3D == 0) {
        c.SetStyle(c.Style() & ~DWORD(WS_BORDER));
        c.SetExStyle(c.ExStyle() | WS_EX_CLIENTEDGE);
    } else if (Ctl3D == 1) {
        c.SetStyle(c.Style() | WS_BORDER);
        c.SetExStyle(c.ExStyle() & ~DWORD(WS_EX_CLIENTEDGE));
    }
    c.SetCtl3D(Ctl3D != 0);
    c.SetEnabled(Enabled != 0);
    c.SetCursor(Cursor);
    c.SetTabOrder(TabOrder);

    SavedHook = c.MessageHook;
    c.OnMouseDown = [this](const fw::TMouseData& m) { MouseDown(m); };
    c.OnMouseMove = [this](const fw::TMouseData& m) { MouseMove(m); };
    c.OnMouseUp = [this](const fw::TMouseData& m) { MouseUp(m); };
    c.OnMouseWheel = [this](const fw::TMouseData& m) { MouseWheel(m); };
    c.OnDblClick = [this](const fw::TMouseData& m) { CallEventInt(onDblClick, m.Button - 1); };
    c.MessageHook = [this](fw::TMessage& m) { return WndMessage(m); };
    c.OnDestroy = [this] { ControlDestroyed(); };
    c.OnResize = [this] { Resized(); };
    c.OnShow = [this] { Shown(); };

    c.SetAlign(Align);
    c.SetVisible(Visible != 0);
    c.Handle();
}

bool TZelSimpleWin::WndMessage(fw::TMessage& m) {
    switch (m.Msg) {
        case WM_MOVE: CallEventNull(onMove); break;
        case WM_SETFOCUS: CallEventNull(onSetFocus); break;
        case WM_KILLFOCUS: CallEventNull(onKillFocus); break;
        default:
            fw::FollowMouse(
                m, Control->HandleIfAllocated(), [this] { MouseEnter(); }, [this] { MouseLeave(); });
            break;
    }
    return SavedHook ? SavedHook(m) : false;
}

void TZelSimpleWin::StoreMouse(const fw::TMouseData& m) {
    LastButton = m.Button;
    LastKeyState = m.KeyState;
    LastPosition = (uint32_t(uint16_t(m.X))) | (uint32_t(uint16_t(m.Y)) << 16);
}

void TZelSimpleWin::KeyDown(uint16_t& key, uint32_t) { CallEventInt(onKeyDown, key); }
void TZelSimpleWin::KeyUp(uint16_t& key, uint32_t) { CallEventInt(onKeyUp, key); }

void TZelSimpleWin::MouseDown(const fw::TMouseData& m) {
    StoreMouse(m);
    CallEventInt(onMouseDown, ButtonCode());
    if (MouseCapture) {
        ReleaseCapture();
        SetCapture(Control->HandleIfAllocated());
    }
}

void TZelSimpleWin::MouseUp(const fw::TMouseData& m) {
    StoreMouse(m);
    CallEventInt(onMouseUp, ButtonCode());
    if (MouseCapture) ReleaseCapture();
}

void TZelSimpleWin::MouseMove(const fw::TMouseData& m) {
    int code = -1;
    if (LastKeyState == MK_LBUTTON)
        code = 0;
    else if (LastKeyState == MK_RBUTTON)
        code = 1;
    else if (LastKeyState == MK_MBUTTON)
        code = 2;
    StoreMouse(m);
    CallEventInt(onMouseMove, code);
}

void TZelSimpleWin::MouseWheel(const fw::TMouseData& m) {
    StoreMouse(m);
    CallEventInt(onMouseWheel, int32_t(LastKeyState) / 65536);
}

void TZelSimpleWin::MouseEnter() { CallEventNull(onMouseEnter); }
void TZelSimpleWin::MouseLeave() { CallEventNull(onMouseLeave); }
void TZelSimpleWin::ControlDestroyed() { Destroyed = true; }
void TZelSimpleWin::Resized() { CallEventNull(onResize); }
void TZelSimpleWin::Shown() { CallEventNull(onShow); }
