// Nothing on POSIX needs serving while a thread waits, so the wait is a join.
// The priority hint is dropped: raising a thread's priority needs privileges
// that the console programs do not have.
#include <thread>

#include "../threadWait.h"

namespace platform {

struct TThreadState {
    std::thread thread;
};

TThread::TThread() = default;

TThread::~TThread() { Detach(); }

bool TThread::Start(std::function<void()> body, bool) {
    if (Attached()) return false;
    try {
        auto s = std::make_unique<TThreadState>();
        s->thread = std::thread(std::move(body));
        state = std::move(s);
        return true;
    } catch (...) {
        return false;
    }
}

bool TThread::Attached() const { return state && state->thread.joinable(); }

bool TThread::IsCurrent() const { return Attached() && state->thread.get_id() == std::this_thread::get_id(); }

void TThread::Join() {
    if (Attached() && !IsCurrent()) state->thread.join();
    state.reset();
}

void TThread::Detach() {
    if (Attached()) state->thread.detach();
    state.reset();
}

bool WaitServingSentMessages(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    // A limit beyond a year counts as none (and cannot overflow).
    const bool forever = limit >= std::chrono::hours(24 * 365);
    const auto end = std::chrono::steady_clock::now() + (forever ? std::chrono::milliseconds(0) : limit);
    while (!done()) {
        if (!forever && std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace platform
