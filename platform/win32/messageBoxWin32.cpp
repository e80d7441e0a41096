#include <windows.h>

#include "../messageBox.h"

namespace platform::backend {

void ShowSystemMessageBox(const std::string& text, const std::string& caption, void* owner) {
    MessageBoxA(static_cast<HWND>(owner), text.c_str(), caption.c_str(), MB_OK);
}

}  // namespace platform::backend
