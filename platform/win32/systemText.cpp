#include "systemText.h"

namespace platform {

std::wstring WideOfUtf8(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int count = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(size_t(count > 0 ? count : 0), L'\0');
    if (count > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), count);
    return wide;
}

std::string Utf8OfWide(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int count = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(size_t(count > 0 ? count : 0), '\0');
    if (count > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), utf8.data(), count, nullptr, nullptr);
    return utf8;
}

std::string SystemErrorText(DWORD error) {
    wchar_t text[512] = {};
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                   sizeof text / sizeof text[0], nullptr);
    std::wstring said(text, n);
    while (!said.empty() &&
           (said.back() == L'\n' || said.back() == L'\r' || said.back() == L'.' || said.back() == L' '))
        said.pop_back();
    return said.empty() ? "system error " + std::to_string(error) : Utf8OfWide(said);
}

}  // namespace platform
