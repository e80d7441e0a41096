#include "terminal.h"

#include <atomic>
#include <cstdio>

namespace platform {

namespace {
// Read by every session's thread: a lock-free atomic, which a signal
// handler may set as well.
std::atomic<int> interrupted{0};
static_assert(std::atomic<int>::is_always_lock_free);
}  // namespace

void NoteInterrupt(int signal) {
    int none = 0;
    // The first signal is the one the exit status tells.
    interrupted.compare_exchange_strong(none, signal);
}

void WriteOutput(std::string_view utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

void WriteError(std::string_view utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    std::fflush(stderr);
}

bool InterruptRequested() { return interrupted.load() != 0; }
int InterruptSignal() { return interrupted.load(); }

}  // namespace platform
