// The top-level-window counterpart of TZelWin: a window without a parent
// element, with the same kinds of properties and input events.
#pragma once

#include <memory>

#include "ui/Win.h"

class TZelSimpleWin {
public:
    explicit TZelSimpleWin(fw::TControl* parentControl);
    virtual ~TZelSimpleWin();
    TZelSimpleWin(const TZelSimpleWin&) = delete;
    TZelSimpleWin& operator=(const TZelSimpleWin&) = delete;

    bool Destroyed = false;  // the window system destroyed the window itself
    fw::TControl* ParentControl = nullptr;
    fw::TMessageHook SavedHook;
    int32_t LastButton = 0;
    uint32_t LastKeyState = 0;
    uint32_t LastPosition = 0;
    std::shared_ptr<TLayoutManager> LayoutManager;
    TPointLink onKeyDown, onKeyUp;  // never fired: no key handlers are installed
    std::unique_ptr<fw::TControl> Control;
    int32_t Left = 0, Top = 0, Width = 0, Height = 0;  // outer, screen pixels
    uint8_t Align = 0;
    int32_t TabOrder = 0;
    uint32_t Color = 0;
    uint8_t Ctl3D = 2;
    TFontRec Font;  // stored; not applied to the window
    uint8_t Visible = 1;
    uint8_t Enabled = 1;
    HCURSOR Cursor = nullptr;
    uint8_t MouseCapture = 0;
    int32_t LayoutArg1 = 0;
    int32_t LayoutArg2 = 0;
    TPointLink onMouseDown, onMouseMove, onMouseUp, onMouseWheel, onSetFocus, onKillFocus, onDblClick, onResize, onShow,
        onMove, onMouseEnter, onMouseLeave;

    void AttachLayoutManager(std::shared_ptr<TLayoutManager> manager);

    // Work point (index 1 in the main scheme): a disabled window takes no
    // input, its child controls included.
    void doEnabled(TData& d, uint16_t index);

    virtual void KeyDown(uint16_t& key, uint32_t shift);
    virtual void KeyUp(uint16_t& key, uint32_t shift);
    virtual void MouseDown(const fw::TMouseData& m);
    virtual void MouseMove(const fw::TMouseData& m);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void MouseUp(const fw::TMouseData& m);
    virtual void MouseWheel(const fw::TMouseData& m);
    virtual bool WndMessage(fw::TMessage& m);
    virtual void ControlDestroyed();
    virtual void Resized();
    virtual void Shown();
    virtual void Init();

    int ButtonCode() const { return LastButton - 1; }

protected:
    void StoreMouse(const fw::TMouseData& m);
};
