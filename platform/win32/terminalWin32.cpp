#include <windows.h>

#include <io.h>
#include <cstdio>

#include "../terminal.h"

namespace platform {

void PrepareOutput() { SetConsoleOutputCP(CP_UTF8); }

bool OutputIsTerminal() { return _isatty(_fileno(stdout)) != 0; }

}  // namespace platform
