#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstdint>

#include "ttySettingsPosix.h"

namespace platform {

namespace {
// A speed the driver rounds further away than this counts as refused.
constexpr uint32_t SpeedTolerancePercent = 3;
}  // namespace

int Ioctl(int fd, unsigned long request, void* arg) {
    int r;
    do {
        r = ::ioctl(fd, request, arg);
    } while (r < 0 && errno == EINTR);
    return r;
}

bool IsTty(int fd) {
    termios2 t{};
    return Ioctl(fd, TCGETS2, &t) == 0;
}

bool DiscardTtyQueue(int fd, bool input) {
    // The queue is the ioctl's argument itself, not a pointer to it.
    return (input ? Ioctl(fd, TCFLSH, reinterpret_cast<void*>(TCIFLUSH))
                  : Ioctl(fd, TCFLSH, reinterpret_cast<void*>(TCOFLUSH))) == 0;
}

bool ReadTtySettings(int fd, TCommDcb& dcb) {
    termios2 t{};
    if (Ioctl(fd, TCGETS2, &t) < 0) return false;
    dcb = TCommDcb{};
    dcb.DCBlength = sizeof(TCommDcb);
    dcb.BaudRate = t.c_ospeed;
    dcb.Flags = DcbBinary;
    if (t.c_iflag & INPCK) dcb.Flags |= DcbParity;
    if (t.c_cflag & CRTSCTS) dcb.Flags |= DcbOutxCtsFlow | DcbRtsHandshake;
    if (t.c_iflag & IXON) dcb.Flags |= DcbOutX;
    if (t.c_iflag & IXOFF) dcb.Flags |= DcbInX;
    switch (t.c_cflag & CSIZE) {
        case CS5: dcb.ByteSize = 5; break;
        case CS6: dcb.ByteSize = 6; break;
        case CS7: dcb.ByteSize = 7; break;
        default: dcb.ByteSize = 8; break;
    }
    if (!(t.c_cflag & PARENB))
        dcb.Parity = NoParity;
    else if (t.c_cflag & CMSPAR)
        dcb.Parity = (t.c_cflag & PARODD) ? MarkParity : SpaceParity;
    else
        dcb.Parity = (t.c_cflag & PARODD) ? OddParity : EvenParity;
    dcb.StopBits = (t.c_cflag & CSTOPB) ? TwoStopBits : OneStopBit;
    dcb.XonChar = char(t.c_cc[VSTART]);
    dcb.XoffChar = char(t.c_cc[VSTOP]);
    return true;
}

bool WriteTtySettings(int fd, const TCommDcb& dcb) {
    termios2 t{};
    if (Ioctl(fd, TCGETS2, &t) < 0) return false;
    if (dcb.BaudRate == 0 || dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > SpaceParity ||
        dcb.StopBits > TwoStopBits || (dcb.StopBits == One5StopBits && dcb.ByteSize != 5))
        return false;

    // Raw: no line editing, no echo, no translation of any byte.
    t.c_iflag = 0;
    t.c_oflag = 0;
    t.c_lflag = 0;
    t.c_cflag = CREAD | CLOCAL;
    static constexpr tcflag_t Sizes[] = {CS5, CS6, CS7, CS8};
    t.c_cflag |= Sizes[dcb.ByteSize - 5];
    if (dcb.Parity != NoParity) t.c_cflag |= PARENB;
    if (dcb.Parity == OddParity || dcb.Parity == MarkParity) t.c_cflag |= PARODD;
    if (dcb.Parity == MarkParity || dcb.Parity == SpaceParity) t.c_cflag |= CMSPAR;
    if (dcb.StopBits != OneStopBit) t.c_cflag |= CSTOPB;
    if ((dcb.Flags & DcbOutxCtsFlow) || (dcb.Flags & DcbRtsMask) == DcbRtsHandshake) t.c_cflag |= CRTSCTS;
    if (dcb.Flags & DcbParity) t.c_iflag |= INPCK;
    if (dcb.Flags & DcbOutX) t.c_iflag |= IXON;
    if (dcb.Flags & DcbInX) t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = cc_t(dcb.XonChar);
    t.c_cc[VSTOP] = cc_t(dcb.XoffChar);
    // A blocking read would wait for one byte; with the descriptor
    // non-blocking, "no byte" and "hung up" stay apart.
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    // Any speed, input speed the same as output.
    t.c_cflag |= BOTHER;
    t.c_ospeed = dcb.BaudRate;
    t.c_ispeed = dcb.BaudRate;
    if (Ioctl(fd, TCSETS2, &t) < 0) return false;

    termios2 got{};
    if (Ioctl(fd, TCGETS2, &got) < 0) return false;
    const uint64_t want = dcb.BaudRate;
    const uint64_t have = got.c_ospeed;
    const uint64_t diff = have > want ? have - want : want - have;
    return diff * 100 <= want * SpeedTolerancePercent;
}

}  // namespace platform
