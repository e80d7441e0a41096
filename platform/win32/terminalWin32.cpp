#include <windows.h>

#include <io.h>
#include <csignal>
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

int OutputColumns() {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info))
        return info.srWindow.Right - info.srWindow.Left + 1;
    return 80;
}

namespace {
void OnSignal(int signal) {
    NoteInterrupt(signal);
    // The C runtime puts the default back before calling a handler.
    std::signal(signal, OnSignal);
}
}  // namespace

void CatchInterrupt() {
    // Ctrl-Break comes as SIGBREAK.
    for (const int signal : {SIGINT, SIGTERM, SIGBREAK}) std::signal(signal, OnSignal);
}

// Windows hands a program without a console or standard handles invalid
// ones, which no file or port opened later can take.
void KeepStandardStreamsOpen() {}

}  // namespace platform
