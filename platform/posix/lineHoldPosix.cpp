#include "lineHoldPosix.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "../serialPort.h"
#include "ttySettingsPosix.h"

namespace platform {

namespace {

// The flags to put back, or -1 when nothing changed: the flag was set
// already, or the driver has no such setting (a pseudo-terminal) or
// refuses it.
int AskLowLatency(int fd) {
    serial_struct settings{};
    if (Ioctl(fd, TIOCGSERIAL, &settings) < 0 || (settings.flags & ASYNC_LOW_LATENCY)) return -1;
    const int before = settings.flags;
    settings.flags |= ASYNC_LOW_LATENCY;
    return Ioctl(fd, TIOCSSERIAL, &settings) == 0 ? before : -1;
}

}  // namespace

std::string OpenFailure(int error) {
    switch (error) {
        case ENOENT:
        case ENODEV:
        case ENXIO: return "it does not exist (is the adapter plugged in?)";
        case EACCES:
        case EPERM: return "permission denied (is the user in the group that owns the device, often dialout?)";
        case EBUSY: return "another program holds it";
        default: return std::strerror(error);
    }
}

THeldLine HoldLine(const std::string& device, std::string& failure) {
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        failure = OpenFailure(errno);
        return {};
    }
    if (!IsTty(fd)) {
        failure = "it is not a serial line";
        ::close(fd);
        return {};
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) < 0) {
        failure = OpenFailure(errno == EWOULDBLOCK ? EBUSY : errno);
        ::close(fd);
        return {};
    }
    Ioctl(fd, TIOCEXCL, nullptr);
    return {fd, LowLatencyWanted() ? AskLowLatency(fd) : -1};
}

void LetLineGo(const THeldLine& line) {
    if (line.fd < 0) return;
    // The exclusive mode would outlive this descriptor on a pty whose other
    // side stays open.
    Ioctl(line.fd, TIOCNXCL, nullptr);
    if (line.serialFlagsBefore >= 0) {
        serial_struct settings{};
        if (Ioctl(line.fd, TIOCGSERIAL, &settings) == 0) {
            settings.flags = line.serialFlagsBefore;
            Ioctl(line.fd, TIOCSSERIAL, &settings);
        }
    }
    ::close(line.fd);
}

}  // namespace platform
