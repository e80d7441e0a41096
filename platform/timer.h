// A periodic timer: the Windows multimedia timer (timeSetEvent) on Windows,
// a timer thread elsewhere, and in tests whatever SetTimerFactory installs.
// Ticks run on the timer's own thread, never on the thread that started it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

class TPeriodicTimer {
public:
    using TTick = std::function<void()>;

    virtual ~TPeriodicTimer() = default;

    // Calls tick every intervalMs milliseconds until Stop. resolutionMs is
    // the accuracy asked of the system (0: the best it has). Starting a
    // running timer does nothing: it keeps its phase and its tick.
    virtual void Start(uint32_t intervalMs, uint32_t resolutionMs, TTick tick) = 0;

    // Stopping a stopped timer does nothing. Called from any thread but the
    // tick's, Stop returns only when no tick is running or can still come;
    // called from inside a tick it returns at once, and the tick in progress
    // is the last one.
    virtual void Stop() = 0;

    virtual bool Running() const = 0;
};

using TTimerFactory = std::function<std::unique_ptr<TPeriodicTimer>()>;

// A new stopped timer from the installed factory, or from the system's
// backend when none is installed.
std::unique_ptr<TPeriodicTimer> CreatePeriodicTimer();

// Replaces the factory for timers created from now on (tests install a
// manual timer); nullptr restores the system's backend.
void SetTimerFactory(TTimerFactory factory);

namespace backend {
std::unique_ptr<TPeriodicTimer> CreateSystemTimer();
}

}  // namespace platform
