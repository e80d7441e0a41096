#include "terminal.h"

#include <atomic>
#include <csignal>
#include <cstdio>

namespace platform {

namespace {
volatile std::sig_atomic_t interrupted = 0;
void OnInterrupt(int) { interrupted = 1; }
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

bool InterruptRequested() { return interrupted != 0; }

}  // namespace platform
