#include <windows.h>

#include "../textCase.h"

namespace platform::backend {

void LowerAnsiZ(char* text) { CharLowerA(text); }

}  // namespace platform::backend
