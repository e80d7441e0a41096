#include "platform/timer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Waits, with a generous bound, until condition holds.
template <class Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds bound = 10s) {
    const auto deadline = Clock::now() + bound;
    while (!condition()) {
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

TEST(SystemTimer, TicksPeriodicallyOnItsOwnThreadUntilStopped) {
    auto timer = platform::CreatePeriodicTimer();
    ASSERT_TRUE(timer);
    EXPECT_FALSE(timer->Running());
    std::atomic<int> ticks{0};
    std::atomic<bool> otherThread{false};
    const auto self = std::this_thread::get_id();
    timer->Start(10, 1, [&] {
        if (std::this_thread::get_id() != self) otherThread = true;
        ++ticks;
    });
    EXPECT_TRUE(timer->Running());
    EXPECT_TRUE(WaitFor([&] { return ticks.load() >= 3; }));
    timer->Stop();
    EXPECT_FALSE(timer->Running());
    // Once Stop has returned no tick can come any more.
    const int seen = ticks.load();
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(ticks.load(), seen);
    EXPECT_TRUE(otherThread.load());
}

TEST(SystemTimer, StartWhileRunningAndStopWhileStoppedDoNothing) {
    auto timer = platform::CreatePeriodicTimer();
    timer->Stop();
    EXPECT_FALSE(timer->Running());
    std::atomic<int> first{0};
    std::atomic<int> second{0};
    timer->Start(10, 1, [&] { ++first; });
    timer->Start(10, 1, [&] { ++second; });
    EXPECT_TRUE(WaitFor([&] { return first.load() >= 2; }));
    timer->Stop();
    timer->Stop();
    EXPECT_EQ(second.load(), 0);
}

TEST(SystemTimer, StopFromInsideTheTickEndsTheTicks) {
    auto timer = platform::CreatePeriodicTimer();
    std::atomic<int> ticks{0};
    platform::TPeriodicTimer* raw = timer.get();
    timer->Start(10, 1, [&] {
        ++ticks;
        raw->Stop();  // must neither deadlock nor let another tick through
    });
    EXPECT_TRUE(WaitFor([&] { return ticks.load() >= 1; }));
    EXPECT_TRUE(WaitFor([&] { return !raw->Running(); }));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(ticks.load(), 1);
    // And the timer can be started again afterwards.
    timer->Start(10, 1, [&] { ++ticks; });
    EXPECT_TRUE(WaitFor([&] { return ticks.load() >= 2; }));
    timer->Stop();
}

TEST(SystemTimer, StopWaitsForATickInProgress) {
    auto timer = platform::CreatePeriodicTimer();
    std::atomic<bool> inTick{false};
    std::atomic<bool> tickDone{false};
    timer->Start(5, 1, [&] {
        if (tickDone.load()) return;
        inTick = true;
        std::this_thread::sleep_for(100ms);
        tickDone = true;
    });
    ASSERT_TRUE(WaitFor([&] { return inTick.load(); }));
    timer->Stop();
    EXPECT_TRUE(tickDone.load());
}

TEST(SystemTimer, DestroyingARunningTimerStopsIt) {
    std::atomic<int> ticks{0};
    {
        auto timer = platform::CreatePeriodicTimer();
        timer->Start(5, 1, [&] { ++ticks; });
        EXPECT_TRUE(WaitFor([&] { return ticks.load() >= 1; }));
    }
    const int seen = ticks.load();
    std::this_thread::sleep_for(60ms);
    EXPECT_EQ(ticks.load(), seen);
}

TEST(SystemTimer, StartsAndStopsFromSeveralThreadsAndFromTicksEnd) {
    // A tick that stops its own timer races with stops and starts from two
    // other threads; every call must return and the timer must end stopped.
    auto timer = platform::CreatePeriodicTimer();
    platform::TPeriodicTimer* raw = timer.get();
    std::atomic<int> ticks{0};
    auto tick = [&] {
        if (++ticks % 3 == 0) raw->Stop();
    };
    auto work = [&] {
        for (int i = 0; i < 40; ++i) {
            raw->Start(1, 1, tick);
            std::this_thread::sleep_for(1ms);
            if (i % 2 == 0) raw->Stop();
        }
        raw->Stop();
    };
    std::thread a(work);
    std::thread b(work);
    a.join();
    b.join();
    timer->Stop();
    EXPECT_FALSE(timer->Running());
    const int seen = ticks.load();
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(ticks.load(), seen);
}

TEST(TimerBackend, InstalledBackendsMakeTheTimersAndNest) {
    struct TNullTimer : platform::TPeriodicTimer {
        bool running = false;
        void Start(uint32_t, uint32_t, TTick) override { running = true; }
        void Stop() override { running = false; }
        bool Running() const override { return running; }
    };
    struct TNullBackend : platform::TTimerBackend {
        int made = 0;
        std::unique_ptr<platform::TPeriodicTimer> CreateTimer() override {
            ++made;
            return std::make_unique<TNullTimer>();
        }
    } outer, inner;
    platform::TTimerBackend* before = platform::SetTimerBackend(&outer);
    EXPECT_EQ(before, nullptr);
    platform::TTimerBackend* nested = platform::SetTimerBackend(&inner);
    auto fromInner = platform::CreatePeriodicTimer();
    EXPECT_EQ(platform::SetTimerBackend(nested), &inner);
    auto fromOuter = platform::CreatePeriodicTimer();
    platform::SetTimerBackend(before);
    EXPECT_EQ(inner.made, 1);
    EXPECT_EQ(outer.made, 1);
    EXPECT_NE(dynamic_cast<TNullTimer*>(fromInner.get()), nullptr);
    auto system = platform::CreatePeriodicTimer();
    EXPECT_EQ(dynamic_cast<TNullTimer*>(system.get()), nullptr);
    EXPECT_EQ(&platform::TimerBackend(), &platform::SystemTimerBackend());
}

}  // namespace
