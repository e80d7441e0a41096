// The application window (a top-level window that owns the forms and
// carries the task-bar button), the main form, and the message loop.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "control.h"

namespace fw {

class TApplication {
public:
    // The application window object, made on demand; its window is made
    // when first needed.
    TControl* Window();
    TControl* WindowIfExists() const { return window_.get(); }
    HWND HandleIfAllocated() const { return window_ ? window_->HandleIfAllocated() : nullptr; }
    // Destroys the application window object (and with it any form window
    // still owned by it).
    void ReleaseWindow();

    // A form: a hidden top-level window on the application window, with the
    // text "Form", its window made at once. The first form made while there is
    // none becomes the main form: message boxes are owned by it while its
    // window exists, and its window's destruction ends the message loop.
    std::unique_ptr<TControl> CreateForm();
    TControl* MainForm() const { return mainForm_; }

    // Offered every message of the loop before it is translated and
    // dispatched; true: taken.
    std::function<bool(MSG&)> MessageHook;
    std::function<void()> IdleHook;
    bool OfferMessage(MSG& msg);
    void Idle();

    // Makes Enter anywhere on the button's form click it; the message hook
    // that was set before is kept and put back by ClearEnterButton.
    void RegisterEnterButton(TControl* button);
    void ClearEnterButton();
    TControl* EnterButton() const { return enterButton_; }

    std::atomic<bool> Terminated{false};
    std::atomic<bool> Running{false};
    // Ends the loop after the message being handled.
    void Terminate();

    // Called by the layer when a control's window or object goes.
    void WindowDestroyed(TControl* control);
    void ControlGone(TControl* control);

private:
    bool NavigateTab(const MSG& msg);
    bool ApplicationWindowHandles(TMessage& m);

    std::unique_ptr<TControl> window_;
    TControl* mainForm_ = nullptr;
    TControl* enterButton_ = nullptr;
    std::function<bool(MSG&)> hookBeforeEnterButton_;
};

TApplication& Application();

// Carries out every waiting message once (messages sent from other threads
// included). False when the quit message was taken; it sets Terminated.
bool ProcessMessages();

// The run loop: makes the application window, then takes and dispatches
// messages until the quit message (posted when the main form's window is
// destroyed) or Terminate; then releases the application window.
void RunMessageLoop();

}  // namespace fw
