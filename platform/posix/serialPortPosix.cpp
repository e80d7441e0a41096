// Serial ports on POSIX systems (Linux). The line settings go through the
// kernel's termios2 (ttySettingsPosix.cpp); the device is taken for this
// process alone and let go in lineHoldPosix.cpp.
//
// What the Windows driver does and a tty does not is emulated here: the
// timeouts of a read and a write, the wait for a communication event (poll
// for input, with the count of queued bytes from FIONREAD), and a mask change
// that completes a wait in progress, and the framing of the bytes of a
// reply into one chunk. Only the byte-received event can occur; the other
// events of the mask are accepted and never raised.
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>

#include "../commTimeouts.h"
#include "../portList.h"
#include "../serialPort.h"
#include "../serialPortUse.h"
#include "lineHoldPosix.h"
#include "ttySettingsPosix.h"

namespace platform {

namespace {

using TClock = std::chrono::steady_clock;
// While bytes sit in the queue that were already reported, the wait looks
// again at this pace instead of spinning on a readable descriptor.
constexpr int StalledRecheckMs = 20;

void CloseQuietly(int fd) {
    if (fd >= 0) ::close(fd);
}

// What an unplugged adapter or a line hung up at its other end looks like:
// a hung-up tty reads as end of file, fails writes and ioctls with EIO and
// polls as POLLHUP or POLLERR; a removed USB device gives ENXIO or ENODEV.
constexpr const char* HungUp = "the line was hung up (the adapter was unplugged, or its other end closed)";
const char* LossOf(int error) {
    switch (error) {
        case EIO: return "it reported an I/O error (the adapter was unplugged, or the line hung up)";
        case ENXIO:
        case ENODEV: return "the device is gone (the adapter was unplugged)";
        case EPIPE: return HungUp;
        default: return nullptr;
    }
}

// Milliseconds until a deadline for poll, -1 for none.
int PollTimeout(bool limited, TClock::time_point deadline) {
    if (!limited) return -1;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
    if (left <= 0) return 0;
    return left > INT_MAX ? INT_MAX : int(left);
}

class TPosixPort final : public TSerialPort {
public:
    TPosixPort(const THeldLine& line, int maskPipe[2], int closePipe[2])
        : fd(line.fd),
          serialFlagsToRestore(line.serialFlagsBefore),
          maskRead(maskPipe[0]),
          maskWrite(maskPipe[1]),
          closeRead(closePipe[0]),
          closeWrite(closePipe[1]) {}

    ~TPosixPort() override {
        Close();
        Release();
        CloseQuietly(maskRead);
        CloseQuietly(maskWrite);
        CloseQuietly(closeRead);
        CloseQuietly(closeWrite);
    }

    bool GetCommState(TCommDcb& dcb) override {
        TUse use(*this);
        return use && ReadTtySettings(use.fd, dcb);
    }

    bool SetCommState(const TCommDcb& dcb) override {
        TUse use(*this);
        if (!use || !WriteTtySettings(use.fd, dcb)) return false;
        framing.SetLine(dcb.BaudRate, BitsPerCharacter(dcb));
        // Modem lines as the DTR and RTS modes ask; a pty has none, so this
        // may fail without failing the settings.
        int dtr = TIOCM_DTR;
        Ioctl(use.fd, (dcb.Flags & DcbDtrMask) ? TIOCMBIS : TIOCMBIC, &dtr);
        if ((dcb.Flags & DcbRtsMask) != DcbRtsHandshake) {
            int rts = TIOCM_RTS;
            Ioctl(use.fd, (dcb.Flags & DcbRtsMask) ? TIOCMBIS : TIOCMBIC, &rts);
        }
        return true;
    }

    bool SetupComm(uint32_t, uint32_t) override {
        // The kernel's buffers have a fixed size.
        TUse use(*this);
        return bool(use);
    }

    bool SetCommTimeouts(const TCommTimeouts& t) override {
        TUse use(*this);
        if (!use) return false;
        readInterval = t.ReadIntervalTimeout;
        readMultiplier = t.ReadTotalTimeoutMultiplier;
        readConstant = t.ReadTotalTimeoutConstant;
        writeMultiplier = t.WriteTotalTimeoutMultiplier;
        writeConstant = t.WriteTotalTimeoutConstant;
        return true;
    }

    bool SetCommMask(uint32_t m) override {
        TUse use(*this);
        if (!use) return false;
        mask = m;
        ++maskGeneration;
        const char wake = 1;
        // A full pipe already wakes the waiter.
        [[maybe_unused]] const ssize_t n = ::write(maskWrite, &wake, 1);
        return true;
    }

    uint32_t SetReplyLength(uint32_t bytes) override {
        const uint32_t held = framing.Await(bytes);
        // A gathering under way judges by the new length at once.
        if (framing.Gathering()) {
            const char wake = 1;
            [[maybe_unused]] const ssize_t n = ::write(maskWrite, &wake, 1);
        }
        return held;
    }

    TFraming LastFraming() const override { return framing.LastFraming(); }

    bool PurgeComm(uint32_t flags) override {
        TUse use(*this);
        if (!use) return false;
        bool ok = true;
        if (flags & (PurgeRxAbort | PurgeRxClear)) {
            ok = DiscardTtyQueue(use.fd, true) && ok;
            announced = 0;
        }
        if (flags & (PurgeTxAbort | PurgeTxClear)) ok = DiscardTtyQueue(use.fd, false) && ok;
        return ok;
    }

    bool WaitCommEvent(uint32_t& events) override {
        TUse use(*this);
        if (!use) return false;
        const uint32_t generation = maskGeneration;
        // A mask set to 0 before this wait began (a close that came between
        // two waits) ends it at once, as it would end a wait in progress;
        // read after the generation, so a change in between is seen either way.
        if (mask == 0) {
            events = 0;
            return true;
        }
        bool stalled = false;
        for (;;) {
            if (inUse.Closed()) return false;
            if (maskGeneration != generation) {
                events = 0;
                return true;
            }
            const bool watchInput = (mask & EvRxChar) != 0;
            pollfd fds[3] = {
                {use.fd, short(watchInput && !stalled ? POLLIN : 0), 0}, {maskRead, POLLIN, 0}, {closeRead, POLLIN, 0}};
            const int r = ::poll(fds, 3, stalled ? StalledRecheckMs : -1);
            if (r < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            if (fds[2].revents) return false;
            if (fds[1].revents) {
                DrainMaskPipe();
                continue;
            }
            if (fds[0].revents & POLLNVAL) return false;
            const bool hungUp = (fds[0].revents & (POLLHUP | POLLERR)) != 0;
            if (watchInput && ((fds[0].revents & POLLIN) || r == 0 || hungUp)) {
                uint32_t now = 0;
                if (!Queued(use.fd, now)) return Gone(LossOf(errno) ? LossOf(errno) : HungUp);
                if (now > announced) {
                    // What came before the hang-up is still told first.
                    switch (Gather(use.fd, generation)) {
                        case TGathered::Failed: return Gone(HungUp);
                        case TGathered::Interrupted:
                            if (inUse.Closed()) return false;
                            events = 0;
                            return true;
                        case TGathered::Empty: events = 0; return true;
                        case TGathered::Ready: break;
                    }
                    if (!Queued(use.fd, now)) return Gone(HungUp);
                    announced = now;
                    events = EvRxChar;
                    return true;
                }
                // A hung-up line polls ready for ever and brings nothing more.
                if (hungUp) return Gone(HungUp);
                if (now == 0) {
                    announced = 0;
                    stalled = false;
                    continue;
                }
                // Bytes that were reported already and are still unread.
                announced = now;
                stalled = true;
                continue;
            }
            if (hungUp) return Gone(HungUp);
        }
    }

    bool DrainOutput(uint32_t limitMs) override {
        TUse use(*this);
        if (!use) return false;
        const TClock::time_point deadline = TClock::now() + std::chrono::milliseconds(limitMs);
        for (;;) {
            int pending = 0;
            if (Ioctl(use.fd, TIOCOUTQ, &pending) < 0) return false;
            if (pending <= 0) {
                // The shift register too, where the driver tells.
                unsigned int lineStatus = 0;
                if (Ioctl(use.fd, TIOCSERGETLSR, &lineStatus) < 0 || (lineStatus & TIOCSER_TEMT)) return true;
            }
            const int timeout = std::min(PollTimeout(true, deadline), 1);
            if (timeout == 0) return false;
            pollfd closing{closeRead, POLLIN, 0};
            if (::poll(&closing, 1, timeout) > 0) return false;
        }
    }

    bool ClearCommError(uint32_t& errors, TCommStatus& status) override {
        TUse use(*this);
        if (!use) return false;
        uint32_t queued = 0;
        if (!Queued(use.fd, queued)) return false;
        int pending = 0;
        if (Ioctl(use.fd, TIOCOUTQ, &pending) < 0) pending = 0;
        status = TCommStatus{};
        status.InQueue = queued;
        status.OutQueue = uint32_t(pending < 0 ? 0 : pending);
        errors = LineErrorsSinceLastQuery(use.fd);
        return true;
    }

    bool GetCommModemStatus(uint32_t& status) override {
        TUse use(*this);
        int lines = 0;
        if (!use || Ioctl(use.fd, TIOCMGET, &lines) < 0) return false;
        status = 0;
        if (lines & TIOCM_CTS) status |= MsCtsOn;
        if (lines & TIOCM_DSR) status |= MsDsrOn;
        if (lines & TIOCM_RNG) status |= MsRingOn;
        if (lines & TIOCM_CAR) status |= MsRlsdOn;
        return true;
    }

    TTransfer Read(uint32_t count, std::string& bytes) override {
        TUse use(*this);
        bytes.clear();
        if (!use) return TTransfer::NotStarted;
        const TReadWaits waits = ReadWaits(Timeouts(), count);
        const TClock::time_point deadline = TClock::now() + std::chrono::milliseconds(waits.totalMs);

        bytes.resize(count);
        uint32_t got = 0;
        TClock::time_point lastByte{};
        while (got < count) {
            const ssize_t n = ::read(use.fd, bytes.data() + got, count - got);
            if (n > 0) {
                got += uint32_t(n);
                lastByte = TClock::now();
                Consumed(uint32_t(n));
                if (waits.firstByte) break;
                continue;
            }
            if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                Gone(n == 0 ? HungUp : LossOf(errno));
                bytes.clear();
                return TTransfer::Failed;
            }
            if (errno == EINTR) continue;
            if (waits.immediate) break;
            int timeout = PollTimeout(waits.totalLimit, deadline);
            if (waits.intervalLimit && got > 0) {
                const int byInterval = PollTimeout(true, lastByte + std::chrono::milliseconds(waits.intervalMs));
                timeout = timeout < 0 ? byInterval : std::min(timeout, byInterval);
            }
            if (timeout == 0) break;
            pollfd fds[2] = {{use.fd, POLLIN, 0}, {closeRead, POLLIN, 0}};
            const int r = ::poll(fds, 2, timeout);
            if (r < 0 && errno != EINTR) break;
            if (fds[1].revents || (fds[0].revents & POLLNVAL)) {
                bytes.clear();
                return TTransfer::Failed;
            }
        }
        bytes.resize(got);
        return TTransfer::Done;
    }

    TTransfer Write(std::string_view data, uint32_t& written) override {
        TUse use(*this);
        written = 0;
        if (!use) return TTransfer::NotStarted;
        const TWriteWaits waits = WriteWaits(Timeouts(), data.size());
        const TClock::time_point deadline = TClock::now() + std::chrono::milliseconds(waits.totalMs);
        while (written < data.size()) {
            const ssize_t n = ::write(use.fd, data.data() + written, data.size() - written);
            if (n > 0) {
                written += uint32_t(n);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno != EAGAIN) {
                Gone(LossOf(errno));
                return TTransfer::Failed;
            }
            // A write that times out completes with what went out.
            const int timeout = PollTimeout(waits.limited, deadline);
            if (timeout == 0) break;
            pollfd fds[2] = {{use.fd, POLLOUT, 0}, {closeRead, POLLIN, 0}};
            const int r = ::poll(fds, 2, timeout);
            if (r < 0 && errno != EINTR) return TTransfer::Failed;
            if (fds[0].revents & (POLLERR | POLLHUP)) Gone(HungUp);
            if (fds[1].revents || (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL))) return TTransfer::Failed;
        }
        return TTransfer::Done;
    }

    bool FlushFileBuffers() override {
        TUse use(*this);
        // TCSBRK with a non-zero argument waits until the output has gone.
        return use && Ioctl(use.fd, TCSBRK, reinterpret_cast<void*>(1)) == 0;
    }

    std::string_view LossReason() const override { return loss.Reason(); }

    void Close() override {
        const bool releaseNow = inUse.Close();
        const char wake = 1;
        // Wakes every wait and transfer in progress; never drained.
        [[maybe_unused]] const ssize_t n = ::write(closeWrite, &wake, 1);
        if (releaseNow) Release();
    }

private:
    struct TUse {
        TPosixPort& port;
        int fd = -1;
        explicit TUse(TPosixPort& p) : port(p) {
            if (port.inUse.Enter()) fd = port.fd;
        }
        ~TUse() {
            if (port.inUse.Leave()) port.Release();
        }
        explicit operator bool() const { return fd >= 0; }
    };

    void Release() {
        const int device = fd.exchange(-1);
        if (device >= 0) LetLineGo({device, serialFlagsToRestore});
    }

    // Notes the loss (none for a failure without a known reason, or one that
    // a close caused) and fails.
    bool Gone(const char* why) {
        if (why && !inUse.Closed()) loss.Mark(why);
        return false;
    }

    // The wake-ups of mask changes, once they have been seen.
    void DrainMaskPipe() {
        char drain[64];
        while (::read(maskRead, drain, sizeof drain) > 0) {}
    }

    static bool Queued(int device, uint32_t& count) {
        int queued = 0;
        if (Ioctl(device, FIONREAD, &queued) < 0) return false;
        count = uint32_t(queued < 0 ? 0 : queued);
        return true;
    }

    // Gathers the bytes of one reply; a close or a change of the mask ends
    // the gathering at once, a new awaited length wakes it, and a line that
    // hangs up hands on what came before.
    TGathered Gather(int device, uint32_t generation) {
        const auto queued = [device](uint32_t& count) { return Queued(device, count); };
        const auto pause = [&](std::chrono::microseconds longest) {
            // The device itself only for a hang-up: its input is already
            // known to be there.
            pollfd fds[3] = {{maskRead, POLLIN, 0}, {closeRead, POLLIN, 0}, {device, 0, 0}};
            const timespec timeout{time_t(longest.count() / 1000000), long(longest.count() % 1000000) * 1000};
            const int r = ::ppoll(fds, 3, &timeout, nullptr);
            if (r < 0) return errno == EINTR ? TPause::Go : TPause::Interrupted;
            if (fds[1].revents) return TPause::Interrupted;
            if (fds[0].revents) DrainMaskPipe();
            if (maskGeneration != generation || inUse.Closed()) return TPause::Interrupted;
            return (fds[2].revents & (POLLHUP | POLLERR | POLLNVAL)) ? TPause::LineDown : TPause::Go;
        };
        return framing.Gather(queued, pause);
    }

    TCommTimeouts Timeouts() const {
        TCommTimeouts t;
        t.ReadIntervalTimeout = readInterval;
        t.ReadTotalTimeoutMultiplier = readMultiplier;
        t.ReadTotalTimeoutConstant = readConstant;
        t.WriteTotalTimeoutMultiplier = writeMultiplier;
        t.WriteTotalTimeoutConstant = writeConstant;
        return t;
    }

    // Bytes taken out of the queue no longer count as reported.
    void Consumed(uint32_t n) {
        uint32_t seen = announced;
        while (!announced.compare_exchange_weak(seen, seen > n ? seen - n : 0)) {}
    }

    // Line errors from the driver's counters; a pty has none.
    uint32_t LineErrorsSinceLastQuery(int device) {
        serial_icounter_struct now{};
        if (Ioctl(device, TIOCGICOUNT, &now) < 0) return 0;
        uint32_t errors = 0;
        if (haveCounts) {
            if (now.frame != counts.frame) errors |= CeFrame;
            if (now.parity != counts.parity) errors |= CeRxParity;
            if (now.overrun != counts.overrun) errors |= CeOverrun;
            if (now.buf_overrun != counts.buf_overrun) errors |= CeRxOver;
            if (now.brk != counts.brk) errors |= CeBreak;
        }
        counts = now;
        haveCounts = true;
        return errors;
    }

    std::atomic<int> fd;
    // The driver's flags before low latency was asked for, -1 when they
    // were left as they were.
    const int serialFlagsToRestore;
    const int maskRead, maskWrite, closeRead, closeWrite;
    TSerialPortUse inUse;
    TPortLoss loss;
    std::atomic<uint32_t> mask{0};
    std::atomic<uint32_t> maskGeneration{0};
    std::atomic<uint32_t> announced{0};
    std::atomic<uint32_t> readInterval{0}, readMultiplier{0}, readConstant{0};
    std::atomic<uint32_t> writeMultiplier{0}, writeConstant{0};
    TReplyFraming framing;
    // Only the clear-error query, on the reader thread, touches these.
    serial_icounter_struct counts{};
    bool haveCounts = false;
};

bool MakePipe(int fds[2]) {
    if (::pipe(fds) < 0) return false;
    for (int i = 0; i < 2; ++i) {
        ::fcntl(fds[i], F_SETFD, FD_CLOEXEC);
        ::fcntl(fds[i], F_SETFL, O_NONBLOCK);
    }
    return true;
}

class TPosixBackend final : public TSerialBackend {
public:
    std::shared_ptr<TSerialPort> CreatePort(const std::string& path, bool, std::string& failure) override {
        failure.clear();
        const std::optional<std::string> device =
            path.compare(0, DevicePathPrefix.size(), DevicePathPrefix) == 0
                ? DevicePathOfPort(std::string_view(path).substr(DevicePathPrefix.size()))
                : std::nullopt;
        if (!device) {
            failure = "no serial device has this name";
            return nullptr;
        }
        const THeldLine line = HoldLine(*device, failure);
        if (line.fd < 0) return nullptr;
        int maskPipe[2], closePipe[2];
        if (!MakePipe(maskPipe)) {
            failure = OpenFailure(errno);
            LetLineGo(line);
            return nullptr;
        }
        if (!MakePipe(closePipe)) {
            failure = OpenFailure(errno);
            ::close(maskPipe[0]);
            ::close(maskPipe[1]);
            LetLineGo(line);
            return nullptr;
        }
        return std::make_shared<TPosixPort>(line, maskPipe, closePipe);
    }

    bool ListPorts(const std::function<void(const std::string& name)>& each) override { return ListSystemPorts(each); }

    // The reader thread's short waits (the gathering's looks at the queue)
    // end when asked, not up to the default 50 µs timer slack later.
    bool StartThread(TThread& thread, std::function<void()> body) override {
        return thread.Start(
            [body = std::move(body)] {
                ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
                body();
            },
            true);
    }
};

}  // namespace

TSerialBackend& SystemSerialBackend() {
    static TPosixBackend backend;
    return backend;
}

}  // namespace platform
