#include "control.h"

#include <windowsx.h>

#include <algorithm>

#include "application.h"
#include "base/alignLayout.h"
#include "childMessages.h"
#include "inputMessages.h"
#include "screen.h"
#include "wideText.h"

namespace fw {

namespace {

constexpr const char* ControlProperty = "QuarnelviskControl";
constexpr DWORD ClipBits = WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
int nextControlId = 100;

void RegisterOwnClass(const std::wstring& name) {
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name.c_str(), &wc)) return;
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ControlWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = name.c_str();
    RegisterClassExW(&wc);
}

}  // namespace

LRESULT CALLBACK ControlWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    TControl* control = TControl::FromHandle(window);
    if (!control && msg == WM_NCCREATE) {
        // Windows of the layer's own classes: attach before the first message
        // that the object handles.
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        control = static_cast<TControl*>(create->lpCreateParams);
        if (control) control->Attach(window);
    }
    if (!control) return DefWindowProcW(window, msg, wParam, lParam);
    return control->WindowProc(msg, wParam, lParam);
}

// ---- construction ----------------------------------------------------------

TControl::TControl(TControl* parent, const TKindTable& kind, DWORD style, bool want3D)
    : kind_(kind), parent_(parent), ownerThread_(GetCurrentThreadId()) {
    visible_ = (style & WS_VISIBLE) != 0;
    enabled_ = (style & WS_DISABLED) == 0;
    style_ = (style & ~(WS_VISIBLE | WS_DISABLED)) | ClipBits;
    width_ = kind.DefaultWidth;
    height_ = kind.DefaultHeight;
    id_ = nextControlId++;
    if (parent_) {
        color_ = parent_->color_;
        font_ = parent_->font_;
        if (want3D && parent_->ctl3D_) {
            exStyle_ |= WS_EX_CLIENTEDGE;
            style_ &= ~DWORD(WS_BORDER);
        }
        parent_->children_.push_back(this);
        tabOrder_ = parent_->tabOrderOfChildren_.Add(this);
    }
}

TControl::TControl(const TKindTable& kind, TControl* owner, DWORD style, DWORD exStyle, std::string text)
    : kind_(kind), owner_(owner), ownerThread_(GetCurrentThreadId()) {
    visible_ = (style & WS_VISIBLE) != 0;
    enabled_ = (style & WS_DISABLED) == 0;
    style_ = style & ~(WS_VISIBLE | WS_DISABLED);
    exStyle_ = exStyle;
    text_ = std::move(text);
    width_ = kind.DefaultWidth;
    height_ = kind.DefaultHeight;
}

TControl::~TControl() {
    // Nothing may reach the element any more while the window goes.
    OnMouseDown = OnMouseUp = OnMouseMove = OnDblClick = OnMouseWheel = nullptr;
    OnKeyDown = OnKeyUp = OnChar = nullptr;
    OnClick = OnChange = OnSelChange = OnResize = OnShow = OnHide = OnDestroy = nullptr;
    OnPaint = nullptr;
    OnItemHeight = nullptr;
    OnDrawItem = nullptr;
    MessageHook = nullptr;
    for (TControl* child : children_) child->parent_ = nullptr;
    if (HWND window = handle_.load()) DestroyWindow(window);
    if (parent_) parent_->RemoveChild(this);
    if (hfont_) DeleteObject(hfont_);
    if (brush_) DeleteObject(brush_);
    Application().ControlGone(this);
}

void TControl::RemoveChild(TControl* child) {
    children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
    tabOrderOfChildren_.Remove(child);
}

TControl* TControl::FromHandle(HWND window) {
    return window ? static_cast<TControl*>(GetPropA(window, ControlProperty)) : nullptr;
}

HWND TControl::Handle() {
    return Owned([this] {
        if (!handle_.load()) CreateWindowNow();
        return handle_.load();
    });
}

void TControl::CreateWindowNow() {
    HWND parentWindow = nullptr;
    if (parent_)
        parentWindow = parent_->Handle();
    else if (owner_)
        parentWindow = owner_->Handle();
    if (parent_ && !parentWindow) return;
    const std::wstring className = Wide(kind_.ClassName);
    if (kind_.OwnClass) RegisterOwnClass(className);
    const DWORD style = style_ | (visible_ ? WS_VISIBLE : 0) | (enabled_ ? 0 : WS_DISABLED);
    HMENU menu = parent_ ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)) : nullptr;
    HWND window = CreateWindowExW(exStyle_, className.c_str(), Wide(text_).c_str(), style, left_, top_, width_, height_,
                                  parentWindow, menu, GetModuleHandleW(nullptr), kind_.OwnClass ? this : nullptr);
    if (!window) return;
    if (!kind_.OwnClass) {
        Attach(window);
        oldProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlWindowProc)));
    }
    ApplyFont();
    ApplyColor();
    if (icon_) SetIcon(icon_);
    StoreGeometry();
    AdjustSize();
}

void TControl::Attach(HWND window) {
    handle_.store(window);
    SetPropA(window, ControlProperty, this);
}

void TControl::Detach() {
    HWND window = handle_.load();
    if (!window) return;
    if (oldProc_) SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
    RemovePropA(window, ControlProperty);
    handle_.store(nullptr);
    RefreshKnownText();
}

void TControl::StoreGeometry() {
    HWND window = handle_.load();
    if (!window) return;
    RECT r;
    GetWindowRect(window, &r);
    if (parent_ && parent_->HandleAllocated())
        MapWindowPoints(nullptr, parent_->HandleIfAllocated(), reinterpret_cast<POINT*>(&r), 2);
    left_ = r.left;
    top_ = r.top;
    // A combo box reports its closed height; keep the height it was given.
    if (!kind_.ComboBox) {
        width_ = r.right - r.left;
        height_ = r.bottom - r.top;
    }
}

// ---- threads ---------------------------------------------------------------

void TControl::RunOnOwner(const std::function<void()>& f) {
    if (IsOwnerThread()) {
        f();
        return;
    }
    HWND target = handle_.load();
    if (!target) target = Application().HandleIfAllocated();
    if (!target) {
        f();  // no window on the owning thread yet: nothing to be raced
        return;
    }
    SendMessageA(target, WM_QV_INVOKE, 0, reinterpret_cast<LPARAM>(&f));
}

// ---- properties ------------------------------------------------------------

void TControl::SetText(const std::string& text) {
    Owned([&] {
        textForOthers_.Drop();
        SetTextNow(text);
    });
}

void TControl::SetTextNow(const std::string& text) {
    text_ = text;
    if (HWND w = handle_.load()) SetWindowTextW(w, Wide(text).c_str());
    RefreshKnownText();
    AdjustSize();
}

std::string TControl::Text() {
    if (!IsOwnerThread())
        if (std::optional<std::string> text = textForOthers_.ForReader()) return *text;
    return Owned([this] {
        ApplyHandedText();
        return WindowText();
    });
}

void TControl::ApplyHandedText() {
    textForOthers_.ApplyPending([this](const std::string& text) { SetTextNow(text); });
}

void TControl::HandTextOver(const std::string& text) {
    if (IsOwnerThread() || !handle_.load()) {
        SetText(text);
        return;
    }
    // One message for any number of texts handed over before it is taken.
    if (textForOthers_.HandOver(text) && !PostMessageA(handle_.load(), WM_QV_APPLY_TEXT, 0, 0)) SetText(text);
}

std::string TControl::WindowText() {
    HWND w = handle_.load();
    if (!w) return text_;
    const int length = GetWindowTextLengthW(w);
    std::wstring text(size_t(length) + 1, L'\0');
    const int got = GetWindowTextW(w, text.data(), length + 1);
    text.resize(size_t(std::max(got, 0)));
    return Narrow(text);
}

// A single-line edit tells its parent of every change of its text, whoever
// made it (EN_CHANGE), so a copy taken then and after each SetText is the
// window's text: readers on other threads get it without waiting for this
// thread. Under Wine that wait is most of an upload step. Other kinds, and
// windows whose parent would not pass the notification on, are always read.
void TControl::RefreshKnownText() {
    HWND w = handle_.load();
    const bool known =
        w && parent_ && kind_.ChangeCode == EN_CHANGE && (GetWindowLongA(w, GWL_STYLE) & ES_MULTILINE) == 0;
    textForOthers_.Know(known ? WindowText() : std::string(), known);
}

void TControl::SetColor(uint32_t colorValue) {
    Owned([&] {
        color_ = colorValue;
        if (brush_) DeleteObject(brush_);
        brush_ = nullptr;
        ApplyColor();
    });
}

uint32_t TControl::Color() {
    return Owned([this] { return color_; });
}

HBRUSH TControl::Brush() {
    return Owned([this] {
        if (!brush_) brush_ = CreateSolidBrush(ResolveColor(color_));
        return brush_;
    });
}

void TControl::ApplyColor() {
    HWND w = handle_.load();
    if (!w) return;
    if (kind_.ColorMsg) SendMessageA(w, kind_.ColorMsg, 0, LPARAM(ResolveColor(color_)));
    InvalidateRect(w, nullptr, TRUE);
}

void TControl::SetFont(const TFontSpec& font) {
    Owned([&] {
        font_ = font;
        ApplyFont();
        AdjustSize();
    });
}

TFontSpec TControl::Font() {
    return Owned([this] { return font_; });
}

HFONT TControl::FontHandle() {
    if (!hfont_) hfont_ = CreateFontFromSpec(font_);
    return hfont_;
}

void TControl::ApplyFont() {
    HWND w = handle_.load();
    if (!w || kind_.OwnClass) return;
    HFONT old = hfont_;
    hfont_ = CreateFontFromSpec(font_);
    SendMessageA(w, WM_SETFONT, WPARAM(hfont_), TRUE);
    if (old) DeleteObject(old);
    InvalidateRect(w, nullptr, TRUE);
}

// A control that loses the focus by being hidden or disabled hands it to
// the next control of its form that can take it: otherwise the focus is
// nowhere and the keyboard does nothing from then on.
void TControl::PassFocusOn() {
    HWND w = handle_.load();
    HWND focus = GetFocus();
    if (!w || !parent_ || !focus || !(focus == w || IsChild(w, focus))) return;
    TControl* form = FromHandle(GetAncestor(w, GA_ROOT));
    TControl* top = this;
    while (top->parent_ && top->parent_ != form) top = top->parent_;
    TControl* next = form ? form->NextTabStop(top, true) : nullptr;
    if (next && next != top)
        SetFocus(next->Handle());
    else if (form)
        SetFocus(form->Handle());
}

// On a form: the focus is adrift when it rests on the form itself, on a
// hidden or disabled control of it, or nowhere while the form is active.
// The first control that can take it then gets it, so that the keyboard
// works from the first moment and after every change of the controls.
void TControl::FocusFirstIfAdrift() {
    HWND form = handle_.load();
    if (!form || parent_ || !IsWindowVisible(form) || !IsWindowEnabled(form)) return;
    HWND focus = GetFocus();
    const bool adrift = focus == form || (!focus && GetActiveWindow() == form) ||
                        (focus && IsChild(form, focus) && (!IsWindowVisible(focus) || !IsWindowEnabled(focus)));
    if (!adrift) return;
    if (TControl* first = NextTabStop(nullptr, true)) SetFocus(first->Handle());
}

void TControl::FormFocusFirstIfAdrift() {
    HWND w = handle_.load();
    if (TControl* form = w ? FromHandle(GetAncestor(w, GA_ROOT)) : nullptr) form->FocusFirstIfAdrift();
}

void TControl::SetVisible(bool visible) {
    Owned([&] {
        if (!visible) {
            visible_ = false;  // no longer a tab stop
            PassFocusOn();
        }
        visible_ = visible;
        if (HWND w = handle_.load()) ShowWindow(w, visible ? (parent_ ? SW_SHOW : SW_SHOWNORMAL) : SW_HIDE);
        if (align_ != 0 && parent_) parent_->Realign();
        if (visible) FormFocusFirstIfAdrift();
    });
}

bool TControl::Visible() {
    return Owned([this] { return visible_; });
}

void TControl::SetEnabled(bool enabled) {
    Owned([&] {
        if (!enabled) {
            enabled_ = false;  // no longer a tab stop
            PassFocusOn();
        }
        enabled_ = enabled;
        if (HWND w = handle_.load()) EnableWindow(w, enabled ? TRUE : FALSE);
        if (enabled) FormFocusFirstIfAdrift();
    });
}

bool TControl::Enabled() {
    return Owned([this] { return enabled_; });
}

void TControl::SetPosition(int left, int top) {
    Owned([&] {
        left_ = left;
        top_ = top;
        if (HWND w = handle_.load())
            SetWindowPos(w, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        AlignChanged();
    });
}

void TControl::SetSize(int width, int height) {
    Owned([&] {
        if (width != 0) width_ = width;
        if (height != 0) height_ = height;
        if (HWND w = handle_.load()) {
            SetWindowPos(w, nullptr, 0, 0, width_, height_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            StoreGeometry();
        }
        AlignChanged();
    });
}

void TControl::SetBounds(int left, int top, int width, int height) {
    Owned([&] {
        SetPosition(left, top);
        SetSize(width, height);
    });
}

int TControl::Left() {
    return Owned([this] {
        StoreGeometry();
        return left_;
    });
}

int TControl::Top() {
    return Owned([this] {
        StoreGeometry();
        return top_;
    });
}

int TControl::Width() {
    return Owned([this] {
        StoreGeometry();
        return width_;
    });
}

int TControl::Height() {
    return Owned([this] {
        HWND w = handle_.load();
        if (!w) return height_;
        RECT r;
        GetWindowRect(w, &r);
        return int(r.bottom - r.top);
    });
}

RECT TControl::ClientRect() {
    return Owned([this] {
        RECT r{0, 0, width_, height_};
        if (HWND w = handle_.load()) GetClientRect(w, &r);
        return r;
    });
}

void TControl::SetAlign(int align) {
    Owned([&] {
        align_ = align;
        AlignChanged();
    });
}

int TControl::Align() {
    return Owned([this] { return align_; });
}

void TControl::AlignChanged() {
    if (align_ != align::None && parent_ && !parent_->aligning_) parent_->Realign();
}

void TControl::Realign() {
    Owned([this] {
        if (aligning_) return;
        aligning_ = true;
        const RECT client = ClientRect();
        align::TRoom room{int(client.left), int(client.top), int(client.right), int(client.bottom)};
        for (TControl* child : children_) {
            if (child->align_ == align::None || !child->visible_) continue;
            align::TBounds b;
            if (align::Place(child->align_, child->width_, child->Height(), room, b))
                child->SetBounds(b.Left, b.Top, b.Width, b.Height);
        }
        aligning_ = false;
    });
}

int TControl::TabOrderNumber() {
    return Owned([this] { return tabOrder_; });
}

void TControl::SetTabOrder(int order) {
    Owned([&] {
        if (order < 0) {
            tabStop_ = false;
            SetStyle(style_ & ~DWORD(WS_TABSTOP));
            return;
        }
        tabStop_ = true;
        if (order == 0 || !parent_) return;
        SetStyle(style_ | WS_TABSTOP);
        parent_->tabOrderOfChildren_.MoveTo(this, order);
        tabOrder_ = order;
    });
}

bool TControl::TabStop() {
    return Owned([this] { return tabStop_; });
}

void TControl::SetCursor(HCURSOR cursor) {
    Owned([&] { cursor_ = cursor; });
}

HCURSOR TControl::Cursor() {
    return Owned([this] { return cursor_; });
}

void TControl::SetIcon(HICON icon) {
    Owned([&] {
        icon_ = icon;
        HWND w = handle_.load();
        if (!w) return;
        HICON old = reinterpret_cast<HICON>(SendMessageA(w, WM_SETICON, ICON_BIG, LPARAM(icon)));
        if (old && old != icon) DestroyIcon(old);
    });
}

HICON TControl::Icon() {
    return Owned([this] { return icon_; });
}

void TControl::SetStyle(DWORD style) {
    Owned([&] {
        style_ = style & ~DWORD(WS_VISIBLE | WS_DISABLED);
        ApplyStyles();
        AdjustSize();
    });
}

DWORD TControl::Style() {
    return Owned([this] {
        if (HWND w = handle_.load()) return DWORD(GetWindowLongA(w, GWL_STYLE));
        return style_ | (visible_ ? WS_VISIBLE : 0) | (enabled_ ? 0 : WS_DISABLED);
    });
}

void TControl::SetExStyle(DWORD exStyle) {
    Owned([&] {
        exStyle_ = exStyle;
        ApplyStyles();
        AdjustSize();
    });
}

DWORD TControl::ExStyle() {
    return Owned([this] {
        if (HWND w = handle_.load()) return DWORD(GetWindowLongA(w, GWL_EXSTYLE));
        return exStyle_;
    });
}

void TControl::ApplyStyles() {
    HWND w = handle_.load();
    if (!w) return;
    const DWORD live = DWORD(GetWindowLongA(w, GWL_STYLE));
    SetWindowLongA(w, GWL_STYLE, LONG(style_ | (live & (WS_VISIBLE | WS_DISABLED))));
    SetWindowLongA(w, GWL_EXSTYLE, LONG(exStyle_));
    SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    InvalidateRect(w, nullptr, TRUE);
}

void TControl::SetTextAlignment(int alignment) {
    Owned([&] {
        const DWORD word = alignment == 1 ? kind_.AlignRight : alignment == 2 ? kind_.AlignCenter : kind_.AlignLeft;
        SetStyle((style_ & ~kind_.AlignMask) | word);
    });
}

void TControl::SetAutoSize(bool autoSize) {
    Owned([&] {
        autoSize_ = autoSize;
        AdjustSize();
    });
}

bool TControl::AutoSize() {
    return Owned([this] { return autoSize_; });
}

void TControl::SetCtl3D(bool on) {
    Owned([&] { ctl3D_ = on; });
}

bool TControl::Ctl3D() {
    return Owned([this] { return ctl3D_; });
}

void TControl::AdjustSize() {
    if (!autoSize_) return;
    std::string text = Text();
    if (font_.Style & FontItalic) text += ' ';
    const SIZE size = MeasureText(text);
    // The text's room is the client area: a border or edge of the control
    // comes on top, or the text would wrap onto a line nobody sees.
    RECT frame{0, 0, size.cx + kind_.SizingWidth, size.cy + kind_.SizingHeight};
    AdjustWindowRectEx(&frame, style_, FALSE, exStyle_);
    const int w = frame.right - frame.left;
    const int h = frame.bottom - frame.top;
    if (align::KeepsWidth(align_)) width_ = w;
    if (align::KeepsHeight(align_)) height_ = h;
    if (HWND window = handle_.load())
        SetWindowPos(window, nullptr, 0, 0, width_, height_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    AlignChanged();
}

void TControl::BringToTopHidden() {
    Owned([this] {
        visible_ = false;
        SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_HIDEWINDOW | SWP_NOOWNERZORDER);
    });
}

// ---- messages --------------------------------------------------------------

LRESULT TControl::Send(UINT msg, WPARAM wParam, LPARAM lParam) {
    return Owned([&] { return SendMessageA(Handle(), msg, wParam, lParam); });
}

LRESULT TControl::SendText(UINT msg, WPARAM wParam, const std::string& text) {
    const std::wstring wide = Wide(text);
    return Owned([&] { return SendMessageW(Handle(), msg, wParam, reinterpret_cast<LPARAM>(wide.c_str())); });
}

void TControl::Post(UINT msg, WPARAM wParam, LPARAM lParam) { PostMessageA(Handle(), msg, wParam, lParam); }

// ---- drawing ---------------------------------------------------------------

void TControl::FillRect(HDC dc, const RECT& rect) {
    Owned([&] { ::FillRect(dc, &rect, Brush()); });
}

SIZE TControl::MeasureText(const std::string& text) {
    return Owned([&] {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, FontHandle());
        RECT r{0, 0, 0, 0};
        if (text.empty()) {
            TEXTMETRICW tm{};
            GetTextMetricsW(dc, &tm);
            r.bottom = tm.tmHeight;
        } else {
            const std::wstring wide = Wide(text);
            DrawTextW(dc, wide.c_str(), int(wide.size()), &r, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
        }
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        return SIZE{r.right - r.left, r.bottom - r.top};
    });
}

// ---- navigation ------------------------------------------------------------

TControl* TControl::NextTabStop(TControl* current, bool forward) {
    return Owned([&] {
        return tabOrderOfChildren_.Next(current, forward, [](TControl& c) {
            HWND w = c.handle_.load();
            return w && c.tabStop_ && c.visible_ && c.enabled_ && (GetWindowLongA(w, GWL_STYLE) & WS_TABSTOP);
        });
    });
}

// ---- the window procedure --------------------------------------------------

LRESULT TControl::DefaultProc(const TMessage& m) {
    HWND w = handle_.load();
    if (oldProc_) return CallWindowProcW(oldProc_, w, m.Msg, m.WParam, m.LParam);
    return DefWindowProcW(w, m.Msg, m.WParam, m.LParam);
}

LRESULT TControl::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_QV_APPLY_TEXT) {
        ApplyHandedText();
        return 0;
    }
    if (msg == WM_QV_INVOKE) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 0;
    }
    if (msg == WM_NCDESTROY) {
        TMessage m{msg, wParam, lParam, 0};
        const LRESULT result = DefaultProc(m);
        Detach();
        oldProc_ = nullptr;
        if (OnDestroy) OnDestroy();
        return result;
    }
    TMessage m{msg, wParam, lParam, 0};
    if (MessageHook && MessageHook(m)) return m.Result;
    if (LayerHandles(m)) return m.Result;
    return DefaultProc(m);
}

bool TControl::LayerHandles(TMessage& m) {
    if (IsInputMessage(m.Msg)) return DeliverInput(*this, m);
    if (DeliverChildMessage(*this, m)) return true;
    HWND w = handle_.load();
    switch (m.Msg) {
        case WM_SETFOCUS:
            if (parent_) return false;
            m.Result = DefaultProc(m);
            FocusFirstIfAdrift();
            return true;
        case WM_SIZE:
            if (OnResize) OnResize();
            if (!children_.empty()) Realign();
            return false;
        case WM_SHOWWINDOW: {
            const bool wasVisible = (GetWindowLongA(w, GWL_STYLE) & WS_VISIBLE) != 0;
            if (m.WParam && !wasVisible && OnShow) OnShow();
            if (!m.WParam && wasVisible && OnHide) OnHide();
            return false;
        }
        case WM_QV_NOTIFY: DispatchNotification(int(m.WParam)); return true;
        case WM_ERASEBKGND:
            if (!kind_.OwnClass) return false;
            {
                RECT r;
                GetClientRect(w, &r);
                ::FillRect(reinterpret_cast<HDC>(m.WParam), &r, Brush());
            }
            m.Result = 1;
            return true;
        case WM_PAINT:
            if (!OnPaint) return false;
            {
                PAINTSTRUCT ps;
                HDC dc = BeginPaint(w, &ps);
                OnPaint(dc);
                EndPaint(w, &ps);
            }
            m.Result = 0;
            return true;
        case WM_SETCURSOR:
            if (cursor_ && LOWORD(m.LParam) == HTCLIENT) {
                ::SetCursor(cursor_);
                m.Result = TRUE;
                return true;
            }
            return false;
        case WM_DESTROY: Application().WindowDestroyed(this); return false;
        default: return false;
    }
}

void TControl::Notify(int code) {
    if (kind_.ComboBox) {
        switch (code) {
            case CBN_SELCHANGE:
                // Re-posted so that the selection handler runs after the
                // notification has returned, from the message loop.
                Post(WM_QV_NOTIFY, WPARAM(kind_.SelChangeCode), 0);
                return;
            case CBN_DROPDOWN:
                dropped_ = true;
                SizeDropDown();
                return;
            case CBN_CLOSEUP: dropped_ = false; return;
            default: break;
        }
    }
    DispatchNotification(code);
}

void TControl::DispatchNotification(int code) {
    if (code == kind_.ClickCode) {
        if (OnClick) OnClick();
    } else if (code == kind_.ChangeCode) {
        RefreshKnownText();
        if (OnChange) OnChange();
    } else if (code == kind_.SelChangeCode) {
        if (OnSelChange)
            OnSelChange();
        else if (OnChange)
            OnChange();
    }
}

void TControl::SizeDropDown() {
    HWND w = handle_.load();
    if (!w) return;
    const int n = std::clamp(int(SendMessageA(w, CB_GETCOUNT, 0, 0)), 1, 8);
    RECT r;
    GetWindowRect(w, &r);
    const int h = r.bottom - r.top;
    SetWindowPos(w, nullptr, 0, 0, r.right - r.left, h * (n + 1) + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    SetWindowPos(w, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

}  // namespace fw
