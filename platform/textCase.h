// Lower-casing that follows the Windows ANSI code page, the way CharLowerA
// does it: the system's code page on Windows, Windows-1251 elsewhere (the
// code page of every text this program handles).
#pragma once

#include <string>

namespace platform {

// Lowers text in place up to its first zero byte; the bytes from the first
// zero byte on are left as they are, because CharLowerA stops there.
void LowerAnsi(std::string& text);

namespace backend {
// Lowers the zero-terminated text in place.
void LowerAnsiZ(char* text);
}  // namespace backend

}  // namespace platform
