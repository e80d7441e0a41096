// The windows are Unicode windows: texts, held as Windows-1251 bytes, go in
// and out through the wide calls, so that they read right whatever code page
// the system runs with.
#pragma once

#include <string>
#include <string_view>

namespace fw {

std::wstring Wide(std::string_view text);
std::string Narrow(std::wstring_view text);

}  // namespace fw
