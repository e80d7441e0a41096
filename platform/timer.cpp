#include "timer.h"

namespace platform {

namespace {
// Set by tests before the elements that use it are created, never while
// timers are being made on other threads.
TTimerFactory& Factory() {
    static TTimerFactory factory;
    return factory;
}
}  // namespace

std::unique_ptr<TPeriodicTimer> CreatePeriodicTimer() {
    const TTimerFactory& factory = Factory();
    return factory ? factory() : backend::CreateSystemTimer();
}

void SetTimerFactory(TTimerFactory factory) { Factory() = std::move(factory); }

}  // namespace platform
