// Modal message boxes: MessageBoxW on Windows, standard error elsewhere.
// The test programs link a backend of their own (tests/fakes/messageBoxFake).
#pragma once

#include <string>

namespace platform {

// Shows text under caption with a single OK button and returns when it is
// dismissed. The box is owned by the window set with SetMessageOwner, or by
// no window.
void ShowMessageBox(const std::string& text, const std::string& caption);

// The window that owns later boxes (a native window handle), or nullptr.
void SetMessageOwner(void* window);
void* MessageOwner();

namespace backend {
void ShowSystemMessageBox(const std::string& text, const std::string& caption, void* owner);
}

}  // namespace platform
