#include <windows.h>

#include <io.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../terminal.h"
#include "systemText.h"

namespace platform {

#ifndef ENABLE_VIRTUAL_TERMINAL_PROCESSING
#define ENABLE_VIRTUAL_TERMINAL_PROCESSING 0x0004
#endif

namespace {

DWORD consoleModeFound = 0;
bool consoleModeChanged = false;

void PutConsoleModeBack() {
    if (consoleModeChanged) SetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), consoleModeFound);
}

// A console takes text as UTF-16, whatever its code page: the page is left
// as the user had it. A pipe or a file gets the UTF-8 bytes.
void Write(DWORD which, FILE* stream, std::string_view utf8) {
    HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr || !GetConsoleMode(handle, &mode)) {
        std::fwrite(utf8.data(), 1, utf8.size(), stream);
        std::fflush(stream);
        return;
    }
    const std::wstring wide = WideOfUtf8(utf8);
    DWORD written = 0;
    WriteConsoleW(handle, wide.data(), DWORD(wide.size()), &written, nullptr);
}

}  // namespace

void PrepareOutput() {
    // The several-ports display moves the cursor back up to redraw its
    // lines; a console before Windows 10 ignores the request. The mode is
    // put back at the end, as the console was found.
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (GetConsoleMode(out, &consoleModeFound) &&
        SetConsoleMode(out, consoleModeFound | ENABLE_VIRTUAL_TERMINAL_PROCESSING)) {
        consoleModeChanged = true;
        std::atexit(PutConsoleModeBack);
    }
}

void WriteOutput(std::string_view utf8) { Write(STD_OUTPUT_HANDLE, stdout, utf8); }

void WriteError(std::string_view utf8) { Write(STD_ERROR_HANDLE, stderr, utf8); }

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
