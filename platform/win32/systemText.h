// Text between the program's UTF-8 and the system's UTF-16, and the
// system's own words for an error code.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace platform {

std::wstring WideOfUtf8(std::string_view utf8);
std::string Utf8OfWide(std::wstring_view wide);
// The system's message for an error code, in UTF-8 whatever the locale's
// code page, without the closing full stop and line end; "system error N"
// when it has none.
std::string SystemErrorText(DWORD error);

}  // namespace platform
