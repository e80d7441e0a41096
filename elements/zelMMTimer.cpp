#include "zelMMTimer.h"

TZelMMTimer::TZelMMTimer() : timer_(platform::CreatePeriodicTimer()) {}

TZelMMTimer::~TZelMMTimer() { timer_->Stop(); }

void TZelMMTimer::doStart(TData&, uint16_t) {
    remaining_.store(AutoStop);
    timer_->Start(Interval, Resolution, [this] { Tick(); });
}

void TZelMMTimer::doStop(TData&, uint16_t) {
    timer_->Stop();
    CallEventNull(onStop);
}

void TZelMMTimer::Tick() {
    // A tick that comes while the previous one is still being handled is
    // dropped, not queued.
    if (busy_.exchange(true)) return;
    int32_t left = remaining_.load();
    while (left >= 0 && !remaining_.compare_exchange_weak(left, left - 1)) {}
    const bool lastTick = left == 1;  // this tick counted the remaining ticks down to 0
    if (TickWatch) TickWatch();
    CallEventNull(onTimer);
    // A doStart from inside onTimer reloads the count, and then the timer
    // goes on.
    if (lastTick && remaining_.load() == 0) {
        timer_->Stop();
        CallEventNull(onStop);
    }
    busy_.store(false);
}
