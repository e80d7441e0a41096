// One control object per window: it keeps the window's properties, makes the
// window when the window is first needed, re-applies each property to the
// window when it changes, and routes the window's input to handler slots.
//
// Threads: the object belongs to the thread that made it (the user-interface
// thread). Every public operation called from another thread is carried out
// on that thread by a synchronous window message, while the caller waits; so
// no window and no field is ever touched from a second thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <type_traits>
#include <vector>

#include "base/tabOrder.h"
#include "base/textHandOver.h"
#include "font.h"
#include "kindTable.h"

namespace fw {

class TControl;

// The window procedure of every window the layer makes or subclasses.
LRESULT CALLBACK ControlWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// Messages of the layer itself.
inline constexpr UINT WM_QV_INVOKE = WM_APP + 0x3F00;      // lParam: const std::function<void()>*
inline constexpr UINT WM_QV_REACH_FORM = WM_APP + 0x3F01;  // to the application window: activate the main form
inline constexpr UINT WM_QV_APPLY_TEXT = WM_APP + 0x3F02;  // a handed-over text is waiting
inline constexpr UINT WM_QV_NOTIFY = WM_APP + 0x3F01;      // wParam: a re-posted notification code

// A message as the message hook sees it. A hook that returns true has
// handled the message, and Result is its answer.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};
using TMessageHook = std::function<bool(TMessage&)>;

enum : int { MouseNone = 0, MouseLeft = 1, MouseRight = 2, MouseMiddle = 3 };
enum : uint32_t { ShiftKey = 1, AltKey = 2, CtrlKey = 4 };
inline constexpr uint32_t AltKeyState = 0x20;  // added to a mouse key state while Alt is down

struct TMouseData {
    int Button = MouseNone;  // 0 for moves and the wheel
    uint32_t KeyState = 0;   // the message's wParam, plus AltKeyState
    int X = 0;               // client coordinates, signed 16-bit
    int Y = 0;
};

using TMouseHandler = std::function<void(const TMouseData&)>;
// The key or character by reference: a handler that sets it to 0 consumes
// the message, one that changes it passes the new code on.
using TKeyHandler = std::function<void(uint16_t& key, uint32_t shift)>;
using TNotifyHandler = std::function<void()>;
using TPaintHandler = std::function<void(HDC)>;
using TItemHeightHandler = std::function<int(int index)>;
using TDrawItemHandler = std::function<void(const DRAWITEMSTRUCT&)>;

// Lets one element fetch another element's control.
struct TControlInterface {
    TControl* (*Get)(void* object) = nullptr;
    void* Object = nullptr;
    TControl* operator()() const { return Get ? Get(Object) : nullptr; }
};

class TControl {
public:
    // A child control of kind on parent; it takes the parent's colour and
    // font. want3D asks for a sunken edge when the parent's 3-D setting is on.
    TControl(TControl* parent, const TKindTable& kind, DWORD style, bool want3D = false);
    // A top-level window owned by owner's window (owner may be null).
    TControl(const TKindTable& kind, TControl* owner, DWORD style, DWORD exStyle, std::string text);
    ~TControl();
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    const TKindTable& Kind() const { return kind_; }
    TControl* Parent() const { return parent_; }
    TControl* Owner() const { return owner_; }
    const std::vector<TControl*>& Children() const { return children_; }
    static TControl* FromHandle(HWND window);

    // The window, made now if it does not exist yet.
    HWND Handle();
    HWND HandleIfAllocated() const { return handle_.load(); }
    bool HandleAllocated() const { return handle_.load() != nullptr; }

    // ---- properties: stored, and applied at once when the window exists ----
    void SetText(const std::string& text);
    // SetText without waiting for the owning thread: the text is the
    // control's at once for every reader on any thread (Text), and reaches
    // the window when its thread next takes messages. Hand-overs and SetText
    // calls keep their order; of hand-overs in a row only the last reaches the
    // window. On the owning thread it is SetText.
    void HandTextOver(const std::string& text);
    std::string Text();
    void SetColor(uint32_t colorValue);
    uint32_t Color();
    HBRUSH Brush();
    void SetFont(const TFontSpec& font);
    TFontSpec Font();
    void SetVisible(bool visible);
    bool Visible();
    void SetEnabled(bool enabled);
    bool Enabled();
    // Position in the parent's client area (screen for top-level windows).
    void SetPosition(int left, int top);
    // A 0 width or height keeps that dimension.
    void SetSize(int width, int height);
    void SetBounds(int left, int top, int width, int height);
    int Left();
    int Top();
    int Width();
    int Height();
    RECT ClientRect();
    // 0 none, 1 left, 2 top, 3 right, 4 bottom, 5 client.
    void SetAlign(int align);
    int Align();
    // The number this control was given in its parent's tab order.
    int TabOrderNumber();
    // Place in the parent's tab order (1 = first) for positive values; 0
    // leaves the place; negative: no tab stop.
    void SetTabOrder(int order);
    bool TabStop();
    void SetCursor(HCURSOR cursor);
    HCURSOR Cursor();
    // WM_SETICON with ICON_BIG; the icon the window gives back is destroyed.
    void SetIcon(HICON icon);
    HICON Icon();
    void SetStyle(DWORD style);
    DWORD Style();
    void SetExStyle(DWORD exStyle);
    DWORD ExStyle();
    // 0 left, 1 right, 2 centre, by the kind's style words.
    void SetTextAlignment(int alignment);
    void SetAutoSize(bool autoSize);
    bool AutoSize();
    void SetCtl3D(bool on);
    bool Ctl3D();
    // Puts the window on top of its siblings, hidden.
    void BringToTopHidden();

    // ---- messages ----
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // A message whose lParam is a text, sent as the wide text.
    LRESULT SendText(UINT msg, WPARAM wParam, const std::string& text);
    void Post(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    // ---- drawing ----
    // Fills with the control's brush (of its colour).
    void FillRect(HDC dc, const RECT& rect);
    // Size of text in the control's font.
    SIZE MeasureText(const std::string& text);

    // ---- layout and navigation ----
    void Realign();
    // The next (or previous) tab stop among this control's children after
    // current; current may be null.
    TControl* NextTabStop(TControl* current, bool forward);
    void SetKeyboardNavigation(bool on) { navigation_ = on; }
    bool KeyboardNavigation() const { return navigation_; }

    // ---- threads ----
    bool IsOwnerThread() const { return GetCurrentThreadId() == ownerThread_; }
    // Runs f on the owning thread: at once on it, else by a synchronous
    // window message that the owning thread carries out.
    void RunOnOwner(const std::function<void()>& f);
    template <class F>
    auto Owned(F&& f) -> decltype(f()) {
        using R = decltype(f());
        if (IsOwnerThread()) return f();
        if constexpr (std::is_void_v<R>) {
            RunOnOwner(std::function<void()>(std::forward<F>(f)));
        } else {
            R result{};
            RunOnOwner([&] { result = f(); });
            return result;
        }
    }

    // ---- handler slots ----
    TMouseHandler OnMouseDown, OnMouseUp, OnMouseMove, OnDblClick, OnMouseWheel;
    TKeyHandler OnKeyDown, OnKeyUp, OnChar;
    TNotifyHandler OnClick, OnChange, OnSelChange;
    TPaintHandler OnPaint;
    TNotifyHandler OnResize, OnShow, OnHide, OnDestroy;
    TItemHeightHandler OnItemHeight;
    TDrawItemHandler OnDrawItem;
    // Sees every message of the window before the layer's own handling.
    TMessageHook MessageHook;

    void* OwnerElement = nullptr;
    TControlInterface Interface;

    // A notification code from the window, as its parent was told it
    // (WM_COMMAND).
    void Notify(int code);
    // The window's child identifier.
    int Id() const { return id_; }

    // True while a combo box's list is dropped.
    bool DroppedDown() const { return dropped_; }

private:
    friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);

    void CreateWindowNow();
    void Attach(HWND window);
    void Detach();
    std::string WindowText();  // on the owning thread
    void RefreshKnownText();   // on the owning thread
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    bool LayerHandles(TMessage& m);
    LRESULT DefaultProc(const TMessage& m);
    void DispatchNotification(int code);
    void SizeDropDown();
    void ApplyFont();
    void ApplyColor();
    void ApplyStyles();
    void AdjustSize();
    void PassFocusOn();
    void FocusFirstIfAdrift();
    void FormFocusFirstIfAdrift();
    void AlignChanged();
    void RemoveChild(TControl* child);
    HFONT FontHandle();
    void StoreGeometry();

    const TKindTable& kind_;
    TControl* parent_ = nullptr;
    TControl* owner_ = nullptr;
    std::vector<TControl*> children_;
    TTabOrder<TControl> tabOrderOfChildren_;
    DWORD ownerThread_;
    std::atomic<HWND> handle_{nullptr};
    WNDPROC oldProc_ = nullptr;
    int id_ = 0;

    std::string text_;
    TTextHandOver textForOthers_;
    void ApplyHandedText();                    // on the owning thread
    void SetTextNow(const std::string& text);  // on the owning thread
    uint32_t color_ = 0xFF00000F;
    HBRUSH brush_ = nullptr;
    TFontSpec font_;
    HFONT hfont_ = nullptr;
    DWORD style_ = 0;  // without WS_VISIBLE and WS_DISABLED
    DWORD exStyle_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int align_ = 0;
    int tabOrder_ = 0;
    bool tabStop_ = true;
    HCURSOR cursor_ = nullptr;
    HICON icon_ = nullptr;
    bool autoSize_ = false;
    bool ctl3D_ = true;
    bool aligning_ = false;
    bool navigation_ = false;
    bool dropped_ = false;
};

}  // namespace fw
