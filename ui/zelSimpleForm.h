// The main form: owns the program's top-level window, starts the element
// network (dispatch on, start-up queue) and stops it when it closes.
#pragma once

#include "ui/SimpleWin.h"

class TZelSimpleForm : public TZelSimpleWin {
public:
    // Makes the application window when needed and the form window (hidden,
    // text "Form"), and queues the start routine with AddStartup.
    explicit TZelSimpleForm(fw::TControl* parentControl);
    ~TZelSimpleForm() override;

    uint8_t ShownOnce = 0;
    uint8_t DragByClient = 0;  // 1: a press on the free client area drags the window
    TPointLink KeepOpen;       // read when the user closes: non-zero refuses
    TPointLink Unused;
    TPointLink onCreate;  // null value, from the start routine, before the form shows
    TPointLink onClose;   // null value, the last event the network delivers

    // Set-up operations, before Init.
    void SetCaption(const std::string& text);
    void SetBorderStyle(int style);  // 0 to 9; larger values are ignored
    void SetAppToolWindow(int on);
    void SetIcon(HICON icon);  // null: the icon of the application window
    // Tab and Shift+Tab move the focus between the form's controls.
    void EnableKeyboardNavigation();

    // Called once by the program entry after the scheme is built: the
    // application window takes Visible, dispatch goes on, the start-up queue
    // runs (onCreate, then the form shows).
    void Run();

    // Work point (index 0 in the main scheme): closes without asking KeepOpen.
    void doClose(TData& d, uint16_t index);

    void MouseDown(const fw::TMouseData& m) override;
    bool WndMessage(fw::TMessage& m) override;
    void Shown() override;
    void Init() override;

private:
    static void StartRoutine(void* form);
};
