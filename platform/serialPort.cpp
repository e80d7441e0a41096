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

}  // namespace platform
