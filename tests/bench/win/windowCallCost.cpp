// What one step of the window program's upload costs on this system: the
// window calls a reader thread makes for each image byte (a message sent to
// the user-interface thread, the text of an edit set and read through it),
// and, when a COM port is named, one single-byte overlapped write with its
// wait. Prints microseconds per call.
//   windowCallCost [COMn [COUNT]]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double MicrosPerCall(Clock::time_point from, int count) {
    return std::chrono::duration<double, std::micro>(Clock::now() - from).count() / count;
}

void Report(const char* what, double micros) { std::printf("%-44s %9.1f us\n", what, micros); }

void MeasureWindowCalls(HWND edit, int count) {
    char text[16];
    auto t = Clock::now();
    for (int i = 0; i < count; ++i) SendMessageA(edit, WM_NULL, 0, 0);
    Report("message sent to the UI thread (WM_NULL)", MicrosPerCall(t, count));

    t = Clock::now();
    for (int i = 0; i < count; ++i) {
        std::snprintf(text, sizeof text, "%04X", i & 0xFFFF);
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
    Report("edit text set from another thread", MicrosPerCall(t, count));

    t = Clock::now();
    for (int i = 0; i < count; ++i) {
        const int length = int(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0));
        std::string got(size_t(length) + 1, '\0');
        SendMessageA(edit, WM_GETTEXT, WPARAM(length + 1), reinterpret_cast<LPARAM>(got.data()));
    }
    Report("edit text read from another thread (2 calls)", MicrosPerCall(t, count));
}

void MeasurePortWrites(const char* name, int count) {
    const std::string device = std::string("\\\\.\\") + name;
    HANDLE port = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        std::printf("cannot open %s (error %lu)\n", name, GetLastError());
        return;
    }
    OVERLAPPED record{};
    record.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const char byte = 0x55;
    int failed = 0;
    const auto t = Clock::now();
    for (int i = 0; i < count; ++i) {
        ResetEvent(record.hEvent);
        DWORD put = 0;
        if (!WriteFile(port, &byte, 1, &put, &record) && GetLastError() != ERROR_IO_PENDING) {
            ++failed;
            continue;
        }
        if (!GetOverlappedResult(port, &record, &put, TRUE) || put != 1) ++failed;
    }
    Report("single-byte overlapped write and its wait", MicrosPerCall(t, count));
    if (failed) std::printf("%d of %d writes failed\n", failed, count);
    CloseHandle(record.hEvent);
    CloseHandle(port);
}

}  // namespace

int main(int argc, char** argv) {
    const char* portName = argc > 1 ? argv[1] : nullptr;
    const int count = argc > 2 ? std::atoi(argv[2]) : 2000;
    if (count <= 0) {
        std::fprintf(stderr, "usage: windowCallCost [COMn [COUNT]]\n");
        return 2;
    }
    // A hidden child edit, as the window program's CRC store is.
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    HWND edit = parent ? CreateWindowExA(0, "EDIT", "FFFF", WS_CHILD, 0, 0, 85, 25, parent, nullptr,
                                         GetModuleHandleA(nullptr), nullptr)
                       : nullptr;
    if (!edit) {
        std::fprintf(stderr, "cannot create an edit window\n");
        return 1;
    }
    auto t = Clock::now();
    for (int i = 0; i < count; ++i) SetWindowTextA(edit, "ABCD");
    Report("edit text set on its own thread", MicrosPerCall(t, count));
    t = Clock::now();
    for (int i = 0; i < count; ++i) {
        char got[16];
        GetWindowTextA(edit, got, sizeof got);
    }
    Report("edit text read on its own thread", MicrosPerCall(t, count));

    // The worker measures while this thread serves its messages, as the
    // window program's user-interface thread does.
    const DWORD uiThread = GetCurrentThreadId();
    std::thread worker([&] {
        MeasureWindowCalls(edit, count);
        if (portName) MeasurePortWrites(portName, count);
        PostThreadMessageA(uiThread, WM_QUIT, 0, 0);
    });
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    worker.join();
    DestroyWindow(parent);
    std::fflush(stdout);
    return 0;
}
