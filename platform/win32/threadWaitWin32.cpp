// Windows threads: the waiting thread keeps serving the messages that other
// threads send to its windows, or a reader thread that is inside a
// SendMessage to it could never end.
#include <windows.h>

#include "../threadWait.h"

namespace platform {

struct TThreadState {
    HANDLE handle = nullptr;
    DWORD id = 0;
};

namespace {
DWORD WINAPI ThreadEntry(LPVOID arg) {
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(arg));
    (*body)();
    return 0;
}
}  // namespace

TThread::TThread() = default;

TThread::~TThread() { Detach(); }

bool TThread::Start(std::function<void()> body, bool highestPriority) {
    if (Attached()) return false;
    auto* arg = new std::function<void()>(std::move(body));
    auto s = std::make_unique<TThreadState>();
    s->handle = CreateThread(nullptr, 0, ThreadEntry, arg, CREATE_SUSPENDED, &s->id);
    if (!s->handle) {
        delete arg;
        return false;
    }
    if (highestPriority) SetThreadPriority(s->handle, THREAD_PRIORITY_HIGHEST);
    ResumeThread(s->handle);
    state = std::move(s);
    return true;
}

bool TThread::Attached() const { return state && state->handle; }

bool TThread::IsCurrent() const { return Attached() && state->id == GetCurrentThreadId(); }

namespace {

// Waits at most ms for the handle (none: only for the time) while serving
// the messages sent to this thread; true once the handle is signalled.
bool WaitServingOnce(HANDLE handle, DWORD ms) {
    const DWORD r = MsgWaitForMultipleObjects(handle ? 1 : 0, handle ? &handle : nullptr, FALSE, ms, QS_SENDMESSAGE);
    if (handle && r == WAIT_OBJECT_0) return true;
    if (r == WAIT_OBJECT_0 + (handle ? 1 : 0)) {
        // Peeking delivers the messages sent to this thread; nothing posted
        // is taken out of the queue.
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
        return false;
    }
    return handle && r != WAIT_TIMEOUT;  // a failed wait would fail again: give up
}

}  // namespace

void TThread::Join() {
    if (Attached() && !IsCurrent())
        while (!WaitServingOnce(state->handle, INFINITE)) {}
    Detach();
}

bool WaitServingSentMessages(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    // A limit beyond a year counts as none (and cannot overflow).
    const bool forever = limit >= std::chrono::hours(24 * 365);
    const ULONGLONG end = forever ? 0 : GetTickCount64() + ULONGLONG(limit.count());
    while (!done()) {
        if (!forever && GetTickCount64() >= end) return false;
        WaitServingOnce(nullptr, 1);
    }
    return true;
}

void TThread::Detach() {
    if (Attached()) CloseHandle(state->handle);
    state.reset();
}

}  // namespace platform
