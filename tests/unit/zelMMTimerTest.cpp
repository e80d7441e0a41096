#include "elements/zelMMTimer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "tests/fakes/manualTimer.h"
#include "tests/unit/elementTestSupport.h"
#include "tests/unit/testSupport.h"

namespace {

struct MMTimerFixture : ::testing::Test {
    DispatchOn on;
    fakes::TManualTimers timers;  // before the element: its timer is made manual
    TZelMMTimer watchdog;
    std::vector<TRecorder::TEntry> log;
    TRecorder tick{"tick", &log};
    TRecorder stop{"stop", &log};

    void SetUp() override {
        watchdog.onTimer = tick.Link();
        watchdog.onStop = stop.Link();
    }
    fakes::TManualTimer& Timer() { return *timers.Last(); }
    void Start() { Fire(MakeLink<&TZelMMTimer::doStart>(0, &watchdog), MakeInt(1)); }
    void Stop() { Fire(MakeLink<&TZelMMTimer::doStop>(1, &watchdog), MakeInt(1)); }
    std::string Events() const {
        std::string out;
        for (const auto& entry : log) out += entry.label + (entry.value.Tag() == TypeNull ? " " : "(value) ");
        return out;
    }
};

TEST_F(MMTimerFixture, TheElementMakesOneStoppedTimer) {
    ASSERT_EQ(timers.Created(), 1u);
    EXPECT_FALSE(Timer().Running());
    EXPECT_FALSE(watchdog.Running());
}

TEST_F(MMTimerFixture, AutoStopTwoGivesTwoTicksThenStop) {
    watchdog.AutoStop = 2;
    Start();
    EXPECT_TRUE(Timer().Running());
    EXPECT_EQ(Timer().Fire(5), 2);  // the timer stops itself inside the second tick
    EXPECT_EQ(Events(), "tick tick stop ");
    EXPECT_FALSE(Timer().Running());
    EXPECT_FALSE(Timer().Fire());
    EXPECT_EQ(Events(), "tick tick stop ");
}

TEST_F(MMTimerFixture, AutoStopZeroTicksUntilDoStop) {
    watchdog.AutoStop = 0;
    Start();
    EXPECT_EQ(Timer().Fire(150), 150);
    EXPECT_TRUE(Timer().Running());
    Stop();
    EXPECT_FALSE(Timer().Running());
    EXPECT_FALSE(Timer().Fire());
    std::string expected;
    for (int i = 0; i < 150; ++i) expected += "tick ";
    EXPECT_EQ(Events(), expected + "stop ");
}

TEST_F(MMTimerFixture, NegativeAutoStopNeverStopsByItself) {
    watchdog.AutoStop = -3;
    Start();
    EXPECT_EQ(Timer().Fire(10), 10);
    EXPECT_TRUE(Timer().Running());
}

TEST_F(MMTimerFixture, DoStopFiresOnStopEvenWhenNotRunning) {
    Stop();
    EXPECT_EQ(Events(), "stop ");
    EXPECT_EQ(Timer().Stops(), 0);
}

TEST_F(MMTimerFixture, StartUsesIntervalAndResolution) {
    EXPECT_EQ(watchdog.Interval, 1000u);
    watchdog.Interval = 250;
    watchdog.Resolution = 1;
    Start();
    EXPECT_EQ(Timer().Interval(), 250u);
    EXPECT_EQ(Timer().Resolution(), 1u);
}

TEST_F(MMTimerFixture, StartingARunningTimerOnlyReloadsTheCount) {
    watchdog.AutoStop = 2;
    Start();
    Timer().Fire();
    Start();
    EXPECT_EQ(Timer().Starts(), 1);
    EXPECT_EQ(Timer().Fire(5), 2);
    EXPECT_EQ(Events(), "tick tick tick stop ");
}

// Work points that act on the timer from inside its own tick.
struct TTickAction {
    TZelMMTimer* timer = nullptr;
    fakes::TManualTimer* manual = nullptr;
    int calls = 0;
    void doRestart(TData& d, uint16_t) {
        ++calls;
        timer->doStart(d, 0);
    }
    void doFireAgain(TData&, uint16_t) {
        ++calls;
        if (calls == 1) manual->Fire();
    }
    void doStopOnThird(TData& d, uint16_t) {
        if (++calls == 3) timer->doStop(d, 1);
    }
};

TEST_F(MMTimerFixture, ATickDuringATickIsDropped) {
    TTickAction action{&watchdog, &Timer()};
    watchdog.onTimer = MakeLink<&TTickAction::doFireAgain>(0, &action);
    Start();
    EXPECT_TRUE(Timer().Fire());
    EXPECT_EQ(action.calls, 1);  // the nested tick reached nothing
    Timer().Fire();
    EXPECT_EQ(action.calls, 2);  // the busy flag was cleared again
}

TEST_F(MMTimerFixture, RestartFromOnStop) {
    TTickAction action{&watchdog, &Timer()};
    watchdog.onStop = MakeLink<&TTickAction::doRestart>(0, &action);
    watchdog.AutoStop = 1;
    Start();
    Timer().Fire();
    EXPECT_EQ(action.calls, 1);
    EXPECT_TRUE(Timer().Running());
    EXPECT_EQ(Timer().Starts(), 2);
}

TEST_F(MMTimerFixture, AStartFromInsideATickKeepsAnUnlimitedTimerRunning) {
    TTickAction action{&watchdog, &Timer()};
    watchdog.onTimer = MakeLink<&TTickAction::doRestart>(0, &action);
    watchdog.AutoStop = 0;
    Start();
    EXPECT_EQ(Timer().Fire(3), 3);
    EXPECT_TRUE(Timer().Running());
}

TEST_F(MMTimerFixture, DoStopFromInsideATick) {
    TTickAction action{&watchdog, &Timer()};
    watchdog.onTimer = MakeLink<&TTickAction::doStopOnThird>(0, &action);
    Start();
    EXPECT_EQ(Timer().Fire(10), 3);
    EXPECT_EQ(Events(), "stop ");
}

TEST(ManualTimers, RegistryForgetsDestroyedTimersAndRestoresTheBackend) {
    {
        fakes::TManualTimers timers;
        {
            TZelMMTimer a;
            TZelMMTimer b;
            ASSERT_EQ(timers.Created(), 2u);
            EXPECT_EQ(timers.Last(), timers.At(1));
            EXPECT_NE(timers.At(0), nullptr);
        }
        EXPECT_EQ(timers.At(0), nullptr);
        EXPECT_EQ(timers.Last(), nullptr);
        EXPECT_EQ(timers.At(7), nullptr);
    }
    // Outside the registry's scope the system's timer is back: it ticks by itself.
    DispatchOn on;
    struct TCount {
        std::atomic<int> ticks{0};
        void doTick(TData&, uint16_t) { ++ticks; }
    } count;
    TZelMMTimer real;
    real.Interval = 5;
    real.onTimer = MakeLink<&TCount::doTick>(0, &count);
    TData d;
    real.doStart(d, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (count.ticks.load() < 2 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    real.doStop(d, 1);
    EXPECT_GE(count.ticks.load(), 2);
}

// The element on the system's own timer: ticks come from another thread.
struct TThreadLog {
    std::atomic<int> ticks{0};
    std::atomic<int> stops{0};
    std::atomic<bool> onOtherThread{false};
    std::thread::id testThread = std::this_thread::get_id();
    void doTick(TData&, uint16_t) {
        ++ticks;
        if (std::this_thread::get_id() != testThread) onOtherThread = true;
    }
    void doStop(TData&, uint16_t) { ++stops; }
};

TEST(MMTimerSystem, AutoStopTwoOnTheSystemTimer) {
    DispatchOn on;
    TThreadLog log;
    TZelMMTimer timer;
    timer.Interval = 20;
    timer.Resolution = 1;
    timer.AutoStop = 2;
    timer.onTimer = MakeLink<&TThreadLog::doTick>(0, &log);
    timer.onStop = MakeLink<&TThreadLog::doStop>(0, &log);
    TData d;
    timer.doStart(d, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (log.stops.load() == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_EQ(log.stops.load(), 1);
    // Well beyond another interval: nothing follows the automatic stop.
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(log.ticks.load(), 2);
    EXPECT_EQ(log.stops.load(), 1);
    EXPECT_TRUE(log.onOtherThread.load());
    EXPECT_FALSE(timer.Running());
}

TEST(MMTimerSystem, DestroyingARunningTimerLeavesNoTickBehind) {
    DispatchOn on;
    // The log outlives the timers: a tick after a destruction would count
    // into it (and touch a destroyed element).
    TThreadLog log;
    for (int round = 0; round < 5; ++round) {
        TZelMMTimer timer;
        timer.Interval = 1;
        timer.onTimer = MakeLink<&TThreadLog::doTick>(0, &log);
        TData d;
        timer.doStart(d, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
    }
    const int seen = log.ticks.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(log.ticks.load(), seen);
}

}  // namespace
