#include "tests/posix/ptyPair.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

TPtyPair::TPtyPair() {
    char name[128] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) < 0) {
        master = slave = -1;
        return;
    }
    // Raw from the start, so that nothing written before the element sets
    // the line up is echoed or translated.
    termios t{};
    tcgetattr(slave, &t);
    cfmakeraw(&t);
    tcsetattr(slave, TCSANOW, &t);
    slavePath = name;
    fcntl(master, F_SETFL, O_NONBLOCK);
    fcntl(master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);
}

TPtyPair::~TPtyPair() { HangUp(); }

bool TPtyPair::Send(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(master, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += size_t(n);
        } else if (n < 0 && errno == EAGAIN) {
            pollfd p{master, POLLOUT, 0};
            poll(&p, 1, 1000);
        } else if (!(n < 0 && errno == EINTR)) {
            return false;
        }
    }
    return true;
}

std::string TPtyPair::Receive(size_t count, std::chrono::milliseconds limit) {
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (got.size() < count) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) break;
        pollfd p{master, POLLIN, 0};
        if (poll(&p, 1, int(left)) <= 0) continue;
        char buf[4096];
        const ssize_t n = read(master, buf, sizeof buf);
        if (n > 0)
            got.append(buf, size_t(n));
        else if (n == 0 || (errno != EAGAIN && errno != EINTR))
            break;
    }
    return got;
}

void TPtyPair::HangUp() {
    if (slave >= 0) close(slave);
    if (master >= 0) close(master);
    slave = master = -1;
}
