#include "Win.h"

#include "framework/commonControls.h"
#include "framework/mouseTracking.h"
#include "framework/screen.h"

TSpacerHook SpacerHook = nullptr;

namespace {
TZelHintManager* sharedHintManager = nullptr;

fw::TControl* GetControlOf(void* element) { return static_cast<TZelWin*>(element)->GetControl(); }

}  // namespace

void InitWinUnit() {
    fw::InitCommonControlsAll();
    if (!sharedHintManager) sharedHintManager = new TZelHintManager();
}

void FinalizeWinUnit() {
    delete sharedHintManager;
    sharedHintManager = nullptr;
}

TZelHintManager* SharedHintManager() { return sharedHintManager; }

fw::TFontSpec FontSpecOf(const TFontRec& font) {
    fw::TFontSpec wanted;
    wanted.Color = font.Color;
    wanted.Style = font.Style;
    wanted.Name = fw::FaceName(font.Name);
    wanted.Height = fw::FontHeight(font.Size, fw::ScreenLogPixelsY());
    wanted.CharSet = font.CharSet;
    return wanted;
}

TZelWin::TZelWin(fw::TControl* parentControl) : ParentControl(parentControl) {
    if (ParentControl) Color = ParentControl->Color();
}

TZelWin::~TZelWin() {
    if (LayoutManager) {
        if (LayoutManager->Release) LayoutManager->Release(Control.get());
        LayoutManager.reset();
    }
    if (!Destroyed) {
        delete SpacerControl;
        SpacerControl = nullptr;
        if (Control) Control->SetVisible(false);
    }
    // Freed in both cases: with the destroyed flag only the window is gone.
    Control.reset();
    if (HintTool && HintManager) HintManager->DestroyTool(HintTool);
    HintTool = nullptr;
}

void TZelWin::AttachHintManager(THintManagerInterface* manager) {
    if (!manager) {
        if (Hint.empty() || !sharedHintManager) return;
        manager = sharedHintManager->Interface();
    }
    if (!Control) return;
    HintTool = manager->CreateTool(Control->Handle());
    manager->SetToolText(HintTool, Hint);
    HintManager = manager;
}

void TZelWin::AttachLayoutManager(std::shared_ptr<TLayoutManager> manager) {
    if (manager && manager->Register) manager->Register(Control.get(), LayoutArg1, LayoutArg2);
    LayoutManager = std::move(manager);
}

// doVisible and doEnabled leave the Visible and Enabled properties alone:
// they only act on the control.
void TZelWin::doVisible(TData& d, uint16_t) {
    if (Control) Control->SetVisible(IsNonZero(d));
}

void TZelWin::doEnabled(TData& d, uint16_t) {
    if (Control) Control->SetEnabled(IsNonZero(d));
}

void TZelWin::Init() {
    controlInterface = fw::TControlInterface{&GetControlOf, this};
    fw::TControl& c = *Control;
    c.Interface = controlInterface;
    c.OwnerElement = this;
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
    if (Transparent) {
        c.SetExStyle(c.ExStyle() | WS_EX_TRANSPARENT);
        // The parent paints beneath its transparent children.
        if (ParentControl) ParentControl->SetStyle(ParentControl->Style() & ~DWORD(WS_CLIPCHILDREN));
    } else {
        c.SetExStyle(c.ExStyle() & ~DWORD(WS_EX_TRANSPARENT));
    }
    c.SetEnabled(Enabled != 0);
    c.SetCursor(Cursor);
    if (Flat) c.SetStyle(c.Style() | 0x8000);
    if (ParentFont && ParentControl)
        c.SetFont(ParentControl->Font());
    else
        c.SetFont(FontSpecOf(Font));
    c.SetTabOrder(TabOrder);

    SavedHook = c.MessageHook;
    c.OnMouseDown = [this](const fw::TMouseData& m) { MouseDown(m); };
    c.OnMouseMove = [this](const fw::TMouseData& m) { MouseMove(m); };
    c.OnMouseUp = [this](const fw::TMouseData& m) { MouseUp(m); };
    c.OnMouseWheel = [this](const fw::TMouseData& m) { MouseWheel(m); };
    c.OnDblClick = [this](const fw::TMouseData& m) { DoubleClick(m); };
    c.MessageHook = [this](fw::TMessage& m) { return WndMessage(m); };
    c.OnDestroy = [this] { ControlDestroyed(); };
    c.OnKeyDown = [this](uint16_t& key, uint32_t shift) { KeyDownRule(key, shift); };
    c.OnKeyUp = [this](uint16_t& key, uint32_t shift) { KeyUpRule(key, shift); };
    c.OnChar = [this](uint16_t& key, uint32_t shift) { CharRule(key, shift); };
    c.OnResize = [this] { Resized(); };
    c.OnShow = [this] { Shown(); };

    c.SetAlign(Align);
    c.BringToTopHidden();
    c.SetVisible(Visible != 0);
    c.Handle();
    if (SpacerHook) SpacerControl = SpacerHook(&c, SpacerSize, SpacerColor, SpacerArg1, SpacerArg2);
    if (Ctl3D == 0 && Frame >= 1 && Frame <= 4) {
        static constexpr DWORD frames[] = {0, 0, WS_EX_STATICEDGE, WS_EX_DLGMODALFRAME,
                                           WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE};
        c.SetExStyle(frames[Frame]);
    }
}

// ---- messages --------------------------------------------------------------

bool TZelWin::WndMessage(fw::TMessage& m) {
    switch (m.Msg) {
        case WM_MOVE: CallEventNull(onMove); break;
        case WM_SETFOCUS: CallEventNull(onSetFocus); break;
        case WM_KILLFOCUS: CallEventNull(onKillFocus); break;
        case WM_WINDOWPOSCHANGING: {
            auto* pos = reinterpret_cast<WINDOWPOS*>(m.LParam);
            if (pos->flags & SWP_NOSIZE) break;
            RECT r;
            GetWindowRect(Control->HandleIfAllocated(), &r);
            const int h = r.bottom - r.top;
            const int w = r.right - r.left;
            if (pos->cy != h) {
                TData delta;
                SetInt(delta, pos->cy - h);
                ReadRaw(delta, HeightDelta);
                if (delta.Tag() == TypeInt) pos->cy = h + delta.IntValue;
            }
            if (pos->cx != w) {
                TData delta;
                SetInt(delta, pos->cx - w);
                ReadRaw(delta, WidthDelta);
                if (delta.Tag() == TypeInt) pos->cx = w + delta.IntValue;
            }
            break;
        }
        default:
            fw::FollowMouse(
                m, Control->HandleIfAllocated(), [this] { MouseEnter(); }, [this] { MouseLeave(); });
            break;
    }
    return SavedHook ? SavedHook(m) : false;
}

void TZelWin::ControlDestroyed() { Destroyed = true; }
void TZelWin::Resized() { CallEventNull(onResize); }
void TZelWin::Shown() { CallEventNull(onShow); }

// ---- mouse -----------------------------------------------------------------

void TZelWin::StoreMouse(const fw::TMouseData& m) {
    LastButton = m.Button;
    LastKeyState = m.KeyState;
    LastPosition = (uint32_t(uint16_t(m.X))) | (uint32_t(uint16_t(m.Y)) << 16);
}

void TZelWin::MouseDown(const fw::TMouseData& m) {
    StoreMouse(m);
    CallEventInt(onMouseDown, ButtonCode());
    if (MouseCapture) {
        ReleaseCapture();
        SetCapture(Control->HandleIfAllocated());
    }
}

void TZelWin::MouseUp(const fw::TMouseData& m) {
    StoreMouse(m);
    CallEventInt(onMouseUp, ButtonCode());
    if (MouseCapture) ReleaseCapture();
}

void TZelWin::DoubleClick(const fw::TMouseData& m) { CallEventInt(onDblClick, m.Button - 1); }

void TZelWin::MouseMove(const fw::TMouseData& m) {
    if (HintTool && HintManager)
        HintManager->ToolMove(HintTool, int16_t(LastPosition & 0xFFFF), int16_t(LastPosition >> 16));
    // The code of the previous message's buttons, when exactly one is held.
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

void TZelWin::MouseWheel(const fw::TMouseData& m) {
    StoreMouse(m);
    CallEventInt(onMouseWheel, int32_t(LastKeyState) / 65536);
}

void TZelWin::MouseEnter() {
    if (HintTool && HintManager) HintManager->ToolEnter(HintTool);
    CallEventNull(onMouseEnter);
}

void TZelWin::MouseLeave() {
    if (HintTool && HintManager) HintManager->ToolLeave(HintTool);
    CallEventNull(onMouseLeave);
}

// ---- keys ------------------------------------------------------------------

void TZelWin::KeyDown(uint16_t& key, uint32_t) { CallEventInt(onKeyDown, key); }
void TZelWin::KeyUp(uint16_t& key, uint32_t) { CallEventInt(onKeyUp, key); }
void TZelWin::KeyChar(uint16_t& key, uint32_t) { CallEventStr(onChar, std::string(1, char(key))); }

void TZelWin::KeyDownRule(uint16_t& key, uint32_t shift) {
    if (FormKeysFirst && ParentControl && ParentControl->OnKeyDown) {
        ParentControl->OnKeyDown(key, shift);
        if (key == 0) return;
    }
    KeyResult = -1;
    KeyDown(key, shift);
    if (KeyResult >= 0)
        key = uint16_t(KeyResult);
    else if (key == 0)
        KeyResult = 0;  // consumed: the character that follows is suppressed
}

void TZelWin::KeyUpRule(uint16_t& key, uint32_t shift) {
    if (FormKeysFirst && ParentControl && ParentControl->OnKeyUp) {
        ParentControl->OnKeyUp(key, shift);
        if (key == 0) return;
    }
    KeyResult = -1;
    KeyUp(key, shift);
    if (KeyResult >= 0) key = uint16_t(KeyResult);
}

void TZelWin::CharRule(uint16_t& key, uint32_t shift) {
    if (FormKeysFirst && ParentControl && ParentControl->OnChar) {
        ParentControl->OnChar(key, shift);
        if (key == 0) return;
    }
    if (KeyResult != 0) {
        KeyResult = -1;
        KeyChar(key, shift);
    }
    if (KeyResult >= 0) key = uint16_t(KeyResult & 0xFF);
}
