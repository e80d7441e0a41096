#include "serialPort.h"

#include <atomic>

namespace platform {

namespace {
std::atomic<TSerialBackend*> installed{nullptr};
}  // namespace

TSerialBackend& SerialBackend() {
    TSerialBackend* b = installed.load();
    return b ? *b : SystemSerialBackend();
}

TSerialBackend* SetSerialBackend(TSerialBackend* backend) { return installed.exchange(backend); }

}  // namespace platform
