#include "wideText.h"

#include "base/cp1251.h"

namespace fw {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

std::wstring Wide(std::string_view text) {
    const std::u16string units = cp1251::ToUtf16(text);
    return std::wstring(units.begin(), units.end());
}

std::string Narrow(std::wstring_view text) { return cp1251::FromUtf16(std::u16string(text.begin(), text.end())); }

}  // namespace fw
