#include "tests/fakes/manualTimer.h"

namespace fakes {

TManualTimer::TManualTimer(std::shared_ptr<TManualTimerRegistry> registry, size_t slot)
    : registry_(std::move(registry)), slot_(slot) {}

TManualTimer::~TManualTimer() {
    if (registry_ && slot_ < registry_->timers.size()) registry_->timers[slot_] = nullptr;
}

void TManualTimer::Start(uint32_t intervalMs, uint32_t resolutionMs, TTick tick) {
    if (running_.load()) return;
    interval_ = intervalMs;
    resolution_ = resolutionMs;
    tick_ = std::move(tick);
    ++starts_;
    running_.store(true);
}

void TManualTimer::Stop() {
    if (!running_.exchange(false)) return;
    ++stops_;
}

bool TManualTimer::Fire() {
    if (!running_.load()) return false;
    // A copy: the tick may stop and restart the timer with another tick.
    const TTick tick = tick_;
    if (tick) tick();
    return true;
}

int TManualTimer::Fire(int count) {
    int fired = 0;
    while (fired < count && Fire()) ++fired;
    return fired;
}

TManualTimers::TManualTimers()
    : registry_(std::make_shared<TManualTimerRegistry>()), previous_(platform::SetTimerBackend(this)) {}

TManualTimers::~TManualTimers() { platform::SetTimerBackend(previous_); }

std::unique_ptr<platform::TPeriodicTimer> TManualTimers::CreateTimer() {
    auto timer = std::make_unique<TManualTimer>(registry_, registry_->timers.size());
    registry_->timers.push_back(timer.get());
    return timer;
}

TManualTimer* TManualTimers::At(size_t i) const {
    return i < registry_->timers.size() ? registry_->timers[i] : nullptr;
}

TManualTimer* TManualTimers::Last() const { return registry_->timers.empty() ? nullptr : registry_->timers.back(); }

}  // namespace fakes
