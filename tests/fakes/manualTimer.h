// A periodic timer that ticks only when a test says so, on the test's own
// thread. Installing TManualTimers makes every timer created through
// platform::CreatePeriodicTimer a TManualTimer until it goes out of scope:
//
//     TManualTimers timers;            // installs itself as the timer backend
//     TZelMMTimer watchdog;            // its timer is now manual
//     ... doStart ...
//     timers.Last()->Fire(3);          // three ticks, one after the other
//     EXPECT_FALSE(timers.Last()->Running());
//
// Timers stay owned by whoever created them; the registry only watches them
// and forgets a timer when it is destroyed.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/timer.h"

namespace fakes {

class TManualTimer;

struct TManualTimerRegistry {
    std::vector<TManualTimer*> timers;  // in creation order; nullptr once destroyed
};

class TManualTimer final : public platform::TPeriodicTimer {
public:
    explicit TManualTimer(std::shared_ptr<TManualTimerRegistry> registry = nullptr, size_t slot = 0);
    ~TManualTimer() override;

    void Start(uint32_t intervalMs, uint32_t resolutionMs, TTick tick) override;
    void Stop() override;
    bool Running() const override { return running_.load(); }

    // Runs one tick now if the timer runs; returns whether it ticked.
    bool Fire();
    // Runs up to count ticks, ending early when the timer stops (from inside
    // a tick, say); returns the number of ticks that ran.
    int Fire(int count);

    // What the last effective Start asked for.
    uint32_t Interval() const { return interval_; }
    uint32_t Resolution() const { return resolution_; }
    // Starts and stops that took effect (not the ones that did nothing).
    int Starts() const { return starts_; }
    int Stops() const { return stops_; }

private:
    std::shared_ptr<TManualTimerRegistry> registry_;
    size_t slot_;
    std::atomic<bool> running_{false};
    TTick tick_;
    uint32_t interval_ = 0;
    uint32_t resolution_ = 0;
    int starts_ = 0;
    int stops_ = 0;
};

// Installs itself as the timer backend for its lifetime and puts the one
// before back afterwards.
class TManualTimers final : public platform::TTimerBackend {
public:
    TManualTimers();
    ~TManualTimers() override;
    TManualTimers(const TManualTimers&) = delete;
    TManualTimers& operator=(const TManualTimers&) = delete;

    // Timers created so far, destroyed ones included.
    size_t Created() const { return registry_->timers.size(); }
    // The i-th timer created (0 first), or nullptr if it is gone or was
    // never made.
    TManualTimer* At(size_t i) const;
    // The timer created last, or nullptr.
    TManualTimer* Last() const;

    std::unique_ptr<platform::TPeriodicTimer> CreateTimer() override;

private:
    std::shared_ptr<TManualTimerRegistry> registry_;
    platform::TTimerBackend* previous_;
};

}  // namespace fakes
