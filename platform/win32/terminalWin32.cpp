#include <windows.h>

#include <io.h>
#include <cstdio>

#include "../terminal.h"

namespace platform {

#ifndef ENABLE_VIRTUAL_TERMINAL_PROCESSING
#define ENABLE_VIRTUAL_TERMINAL_PROCESSING 0x0004
#endif

void PrepareOutput() {
    SetConsoleOutputCP(CP_UTF8);
    // The several-ports display moves the cursor back up to redraw its
    // lines; a console before Windows 10 ignores the request.
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (GetConsoleMode(out, &mode)) SetConsoleMode(out, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

bool OutputIsTerminal() { return _isatty(_fileno(stdout)) != 0; }

}  // namespace platform
