#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string_view>
#include <sys/ioctl.h>
#include <unistd.h>

#include "../terminal.h"

namespace platform {

namespace {

void OnSignal(int signal, siginfo_t* info, void*) {
    // The kernel's SIGPIPE for a write to a closed pipe comes from this
    // process itself; that write fails with EPIPE and is let go.
    if (signal == SIGPIPE && info && info->si_pid == getpid()) return;
    NoteInterrupt(signal);
}

}  // namespace

void PrepareOutput() {}

void WriteOutput(std::string_view utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

void WriteError(std::string_view utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    std::fflush(stderr);
}

bool OutputIsTerminal() {
    const char* term = std::getenv("TERM");
    return isatty(STDOUT_FILENO) == 1 && term && *term && std::string_view(term) != "dumb";
}

int OutputColumns() {
    struct winsize size {};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    return 80;
}

void CatchInterrupt() {
    struct sigaction action {};
    action.sa_sigaction = OnSignal;
    action.sa_flags = SA_SIGINFO | SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) sigaction(signal, &action, nullptr);
}

void KeepStandardStreamsOpen() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1) continue;
        // The lowest free number: the closed one.
        const int null = open("/dev/null", O_RDWR);
        if (null >= 0 && null != fd) close(null);
    }
}

}  // namespace platform
