// A periodic timer: the Windows multimedia timer (timeSetEvent) on Windows,
// a timer thread elsewhere, and in tests whatever SetTimerBackend installs.
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

// Where timers come from: the system, or a backend a test installs.
class TTimerBackend {
public:
    virtual ~TTimerBackend() = default;
    virtual std::unique_ptr<TPeriodicTimer> CreateTimer() = 0;
};

// The backend of this system.
TTimerBackend& SystemTimerBackend();

// The backend timers are made by: the system's, or the one installed with
// SetTimerBackend (nullptr restores the system's). Returns the one installed
// before, so that installs can nest.
TTimerBackend& TimerBackend();
TTimerBackend* SetTimerBackend(TTimerBackend* backend);

// A new stopped timer from TimerBackend().
std::unique_ptr<TPeriodicTimer> CreatePeriodicTimer();

namespace backend {
std::unique_ptr<TPeriodicTimer> CreateSystemTimer();
}

}  // namespace platform
