// Counts the operations in progress on an open device, so that a close on
// one thread releases the device only once no other thread is inside an
// operation on it: the descriptor or handle is never freed under a transfer
// that still uses it, and yet it goes as soon as the last one lets go.
#pragma once

#include <atomic>
#include <string_view>

namespace platform {

class TSerialPortUse {
public:
    // False once the device is closed; the caller then must not touch it.
    // Every Enter, successful or not, is paired with a Leave.
    bool Enter() {
        ++users;
        return !closed;
    }
    // True when the caller must release the device now. A close and the
    // last Leave may both say so: releasing must be idempotent.
    bool Leave() { return --users == 0 && closed; }
    // Marks the device closed; true when the caller must release it now.
    bool Close() {
        if (closed.exchange(true)) return false;
        return users == 0;
    }
    bool Closed() const { return closed; }

private:
    std::atomic<int> users{0};
    std::atomic<bool> closed{false};
};

// Why an open device went away, kept once: the first operation that finds it
// gone (an unplugged adapter, a line hung up) says so, and what later ones
// find is the same loss. The texts are literals, so any thread may read one.
class TPortLoss {
public:
    void Mark(const char* why) {
        const char* none = nullptr;
        reason.compare_exchange_strong(none, why);
    }
    std::string_view Reason() const {
        const char* why = reason.load();
        return why ? std::string_view(why) : std::string_view();
    }

private:
    std::atomic<const char*> reason{nullptr};
};

}  // namespace platform
