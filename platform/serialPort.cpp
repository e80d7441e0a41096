#include "serialPort.h"

#include <algorithm>
#include <atomic>

namespace platform {

namespace {
std::atomic<TSerialBackend*> installedSerial{nullptr};
}  // namespace

TSerialBackend& SerialBackend() {
    TSerialBackend* b = installedSerial.load();
    return b ? *b : SystemSerialBackend();
}

TSerialBackend* SetSerialBackend(TSerialBackend* backend) { return installedSerial.exchange(backend); }

namespace {
std::atomic<bool> lowLatencyWanted{true};
}
void SetLowLatencyWanted(bool wanted) { lowLatencyWanted.store(wanted); }
bool LowLatencyWanted() { return lowLatencyWanted.load(); }

uint32_t BitsPerCharacter(const TCommDcb& dcb) {
    const uint32_t data = dcb.ByteSize >= 5 && dcb.ByteSize <= 8 ? dcb.ByteSize : 8;
    const uint32_t parity = dcb.Parity == NoParity ? 0 : 1;
    const uint32_t stop = dcb.StopBits == OneStopBit ? 1 : 2;
    return 1 + data + parity + stop;
}

std::chrono::microseconds GatherQuietTime(uint32_t baudRate, uint32_t bitsPerCharacter) {
    // Bytes reach the input queue through the kernel's (or the driver's)
    // deferred work, so two bytes sent a character time apart can show up
    // a few milliseconds apart on a busy machine: measured on a pty, up to
    // 1.7 ms idle and 3.5 ms (one in a thousand) with both cores busy.
    constexpr std::chrono::microseconds Least{5000};
    if (baudRate == 0) return Least;
    const std::chrono::microseconds threeCharacters{(3ull * bitsPerCharacter * 1000000ull + baudRate - 1) / baudRate};
    return std::max(Least, threeCharacters);
}

TGathered GatherUntilQuiet(std::chrono::microseconds quiet, const std::function<bool(uint32_t&)>& queued,
                           const std::function<bool(std::chrono::microseconds)>& pause) {
    using TClock = std::chrono::steady_clock;
    // The queue is looked at twice per quiet time: a reply that came in one
    // go is handed on exactly one quiet time after it began to arrive, and a
    // reply whose bytes trickle in at most half a quiet time after its last.
    const auto step = std::max(quiet / 2, std::chrono::microseconds(100));
    const auto began = TClock::now();
    uint32_t count = 0;
    if (!queued(count)) return TGathered::Failed;
    auto lastChange = began;
    for (;;) {
        const auto now = TClock::now();
        if (now - lastChange >= quiet || now - began >= GatherLongest || count >= GatherMostBytes)
            return TGathered::Quiet;
        const auto untilQuiet = std::chrono::duration_cast<std::chrono::microseconds>(lastChange + quiet - now);
        if (!pause(std::min(step, untilQuiet))) return TGathered::Interrupted;
        uint32_t queuedNow = 0;
        if (!queued(queuedNow)) return TGathered::Failed;
        if (queuedNow != count) {
            count = queuedNow;
            lastChange = TClock::now();
        }
    }
}

}  // namespace platform
