// Modal message boxes: MessageBoxA on Windows, standard error elsewhere.
#pragma once

#include <functional>
#include <string>

namespace platform {

// Shows text under caption with a single OK button and returns when it is
// dismissed. The box is owned by the window set with SetMessageOwner, or by
// no window.
void ShowMessageBox(const std::string& text, const std::string& caption);

// The window that owns later boxes (a native window handle), or nullptr.
void SetMessageOwner(void* window);
void* MessageOwner();

// Test equipment: while a sink is set, boxes go to it instead of the screen.
using TMessageSink = std::function<void(const std::string& text, const std::string& caption)>;
void SetMessageSink(TMessageSink sink);

namespace backend {
void ShowSystemMessageBox(const std::string& text, const std::string& caption, void* owner);
}

}  // namespace platform
