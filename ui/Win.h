// The windowed element base: one child control on the main form.
//
// How the program entry and the main window scheme use the visual elements:
//
//   InitWinUnit();                         // once, before any element: common
//                                          // controls and the shared hint manager
//   auto* form = new TZelSimpleForm(nullptr);     // queues its start routine
//   form->Left = 200; ... form->Visible = 1;      // write properties directly
//   form->SetCaption("..."); form->SetBorderStyle(1); form->Init();
//   auto* label = new TZelLabel(form->Control.get());  // parent: the form's control
//   label->Left = 0; ... label->Caption = "..."_w;     // properties
//   label->SetAutoSize(1); label->SetAlignment(2);     // label set-up operations
//   label->Init();                                     // makes and shows the control
//   form->onClose = MakeLink<&TZelHub::doEvent>(0, hub);        // event points
//   store->Str = MakeLink<&TZelEdit::getText>(0, otherEdit);    // data points
//   hub->onEvent[0] = MakeLink<&TZelWin::doVisible>(8, comboBox); // work points
//   label->AttachHintManager(nullptr); label->AttachLayoutManager(nullptr);
//   form->EnableKeyboardNavigation();      // Tab moves the focus between controls
//   form->Run();                           // dispatch on, start-up queue: onCreate, show
//   fw::RunMessageLoop();                  // until the main form is closed
//   delete ...elements in reverse order, the form last...;
//   FinalizeWinUnit();
//
// Work points and getters ignore the point index that their link carries;
// the comments give the index with which the main window scheme links them.
// Work points may be entered on any thread: the control operations they do
// are carried out on the user-interface thread by synchronous window calls.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/control.h"
#include "runtime/Share.h"
#include "ui/zelHintManager.h"

// A layout unit's registration, through which it could manage an element's
// control. Nothing in this program provides one.
struct TLayoutManager {
    std::function<void(fw::TControl* control, int32_t arg1, int32_t arg2)> Register;
    std::function<void(fw::TControl* control)> Release;  // optional
};

// A layout unit's way to make a spacer control beside each element; nothing
// in this program installs it.
using TSpacerHook = fw::TControl* (*)(fw::TControl* control, int32_t size, uint32_t color, int32_t arg1, int32_t arg2);
extern TSpacerHook SpacerHook;

// Unit initialisation and finalisation of Win: the common controls, and the
// process-wide hint manager.
void InitWinUnit();
void FinalizeWinUnit();
TZelHintManager* SharedHintManager();

class TZelWin {
public:
    explicit TZelWin(fw::TControl* parentControl);
    virtual ~TZelWin();
    TZelWin(const TZelWin&) = delete;
    TZelWin& operator=(const TZelWin&) = delete;

    // ---- fields, in declared order ----
    fw::TControlInterface controlInterface;
    bool Destroyed = false;  // the window system destroyed the control with its parent
    fw::TControl* ParentControl = nullptr;
    fw::TControl* SpacerControl = nullptr;
    fw::TMessageHook SavedHook;
    int32_t LastButton = 0;
    uint32_t LastKeyState = 0;
    uint32_t LastPosition = 0;  // x low, y high 16 bits
    int32_t KeyResult = 0;
    THintTool* HintTool = nullptr;
    THintManagerInterface* HintManager = nullptr;
    std::shared_ptr<TLayoutManager> LayoutManager;
    uint32_t DrawFlags = 0;  // bit 3: owner-drawn list items
    std::unique_ptr<fw::TControl> Control;
    int32_t Left = 0, Top = 0, Width = 0, Height = 0;
    uint8_t Align = 0;
    int32_t TabOrder = 0;
    uint32_t Color = 0;
    uint8_t Ctl3D = 2;
    std::string Hint;
    TFontRec Font;
    uint8_t ParentFont = 0;
    uint8_t Transparent = 0;
    uint8_t Visible = 1;
    uint8_t Enabled = 1;
    HCURSOR Cursor = nullptr;
    uint8_t MouseCapture = 0;
    uint8_t Flat = 0;
    uint8_t FormKeysFirst = 1;
    TSpacerHook SpacerRoutine = nullptr;
    int32_t SpacerSize = 0;
    uint32_t SpacerColor = 0;
    int32_t SpacerArg1 = 0;
    int32_t SpacerArg2 = 0;
    uint8_t Frame = 0;
    int32_t LayoutArg1 = 0;
    int32_t LayoutArg2 = 0;
    TPointLink onKeyDown, onKeyUp, onChar, onMouseDown, onMouseMove, onMouseUp, onMouseWheel, onSetFocus, onKillFocus,
        onDblClick, onResize, onShow, onMove, onMouseEnter, onMouseLeave;
    TPointLink WidthDelta, HeightDelta;

    // ---- set-up ----
    void AttachHintManager(THintManagerInterface* manager);
    void AttachLayoutManager(std::shared_ptr<TLayoutManager> manager);
    fw::TControl* GetControl() { return Control.get(); }

    // ---- work points; the main scheme links doVisible with the index it
    //      gives each element (0 to 8) and doEnabled with 0 or 7 ----
    void doVisible(TData& d, uint16_t index);
    void doEnabled(TData& d, uint16_t index);

    // ---- virtual operations ----
    virtual void KeyDown(uint16_t& key, uint32_t shift);
    virtual void KeyUp(uint16_t& key, uint32_t shift);
    virtual void KeyChar(uint16_t& key, uint32_t shift);
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
    virtual fw::TControlInterface ControlInterface() { return controlInterface; }

    // The framework's button number less one: 0 left, 1 right, 2 middle, -1 none.
    int ButtonCode() const { return LastButton - 1; }

protected:
    void StoreMouse(const fw::TMouseData& m);
    void DoubleClick(const fw::TMouseData& m);
    void KeyDownRule(uint16_t& key, uint32_t shift);
    void KeyUpRule(uint16_t& key, uint32_t shift);
    void CharRule(uint16_t& key, uint32_t shift);
};

// The font record as the layer applies it: face, height for the screen's
// LOGPIXELSY, style, colour and character set.
fw::TFontSpec FontSpecOf(const TFontRec& font);
