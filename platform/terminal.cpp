#include "terminal.h"

#include <atomic>

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

bool InterruptRequested() { return interrupted.load() != 0; }
int InterruptSignal() { return interrupted.load(); }

}  // namespace platform
