#include <windows.h>

#include "../messageBox.h"
#include "base/cp1251.h"

namespace platform::backend {

void ShowSystemMessageBox(const std::string& text, const std::string& caption, void* owner) {
    // Wide, so that the Windows-1251 texts read right on any code page.
    const std::u16string wideText = cp1251::ToUtf16(text);
    const std::u16string wideCaption = cp1251::ToUtf16(caption);
    MessageBoxW(static_cast<HWND>(owner), reinterpret_cast<const wchar_t*>(wideText.c_str()),
                reinterpret_cast<const wchar_t*>(wideCaption.c_str()), MB_OK);
}

}  // namespace platform::backend
