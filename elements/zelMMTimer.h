// Fires periodic ticks from the system's periodic timer, optionally
// stopping by itself after AutoStop ticks.
#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "platform/timer.h"
#include "runtime/Share.h"

class TZelMMTimer {
public:
    TZelMMTimer();
    ~TZelMMTimer();
    TZelMMTimer(const TZelMMTimer&) = delete;
    TZelMMTimer& operator=(const TZelMMTimer&) = delete;

    // Applied by the next doStart that finds the timer stopped.
    uint32_t Interval = 1000;  // ms
    uint32_t Resolution = 1;   // ms
    int32_t AutoStop = 0;      // n > 0: stop after n ticks; 0 or less: tick until doStop
    TPointLink onTimer;        // each tick, on the timer's thread
    TPointLink onStop;
    // Told each tick before onTimer, for a trace; set before the start.
    std::function<void()> TickWatch;

    // Work point 0: reloads the remaining ticks and starts the timer; a
    // running timer keeps its phase.
    void doStart(TData& d, uint16_t index);
    // Work point 1, from any thread: stops the timer, then fires onStop
    // (also when it was not running).
    void doStop(TData& d, uint16_t index);

    bool Running() const { return timer_->Running(); }

private:
    void Tick();

    std::atomic<bool> busy_{false};  // a tick is being handled
    std::unique_ptr<platform::TPeriodicTimer> timer_;
    std::atomic<int32_t> remaining_{0};
};
