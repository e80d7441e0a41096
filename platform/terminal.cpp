#include "terminal.h"

#include <atomic>
#include <csignal>
#include <cstdio>

namespace platform {

namespace {
// Read by every session's thread: a lock-free atomic, which a signal
// handler may set as well.
std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);
void OnInterrupt(int) { interrupted.store(true); }
}  // namespace

void WriteOutput(std::string_view utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

void WriteError(std::string_view utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    std::fflush(stderr);
}

void CatchInterrupt() {
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
}

bool InterruptRequested() { return interrupted.load(); }

}  // namespace platform
