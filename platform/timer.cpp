#include "timer.h"

#include <atomic>

namespace platform {

namespace {
class TSystemTimerBackend final : public TTimerBackend {
public:
    std::unique_ptr<TPeriodicTimer> CreateTimer() override { return backend::CreateSystemTimer(); }
};

std::atomic<TTimerBackend*> installedTimers{nullptr};
}  // namespace

TTimerBackend& SystemTimerBackend() {
    static TSystemTimerBackend system;
    return system;
}

TTimerBackend& TimerBackend() {
    TTimerBackend* b = installedTimers.load();
    return b ? *b : SystemTimerBackend();
}

TTimerBackend* SetTimerBackend(TTimerBackend* backend) { return installedTimers.exchange(backend); }

std::unique_ptr<TPeriodicTimer> CreatePeriodicTimer() { return TimerBackend().CreateTimer(); }

}  // namespace platform
