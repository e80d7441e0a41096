#include "elements/zelCounter.h"

#include <gtest/gtest.h>

#include <thread>

#include "tests/unit/elementTestSupport.h"
#include "tests/unit/testSupport.h"

namespace {

struct CounterFixture : ::testing::Test {
    DispatchOn on;
    TZelCounter counter;
    TRecorder out;

    void SetUp() override { counter.onCount = out.Link(); }
    int Next() {
        out.own.clear();
        Fire(MakeLink<&TZelCounter::doNext>(0, &counter), MakeStr("ignored"));
        EXPECT_EQ(out.Count(), 1u);
        return out.Count() ? out.Value(0).IntValue : -999;
    }
    void Reset() { Fire(MakeLink<&TZelCounter::doReset>(2, &counter), MakeInt(55)); }
    int Read() {
        TData d;
        return ReadInteger(d, MakeLink<&TZelCounter::getCount>(0, &counter), -999);
    }
};

TEST_F(CounterFixture, WrapsUpwardsToMin) {
    counter.Min = 0;
    counter.Max = 100;
    counter.Step = 1;
    counter.Count = 100;
    EXPECT_EQ(Next(), 0);
    EXPECT_EQ(Next(), 1);
    EXPECT_EQ(counter.Count, 1);
}

TEST_F(CounterFixture, WrapsDownwardsToMax) {
    counter.Min = 0;
    counter.Max = 100;
    counter.Down = true;
    counter.Count = 0;
    EXPECT_EQ(Next(), 100);
    EXPECT_EQ(Next(), 99);
    counter.Count = 40;
    Reset();
    EXPECT_EQ(counter.Count, 100);
    EXPECT_EQ(out.Count(), 1u) << "doReset fires nothing";
}

TEST_F(CounterFixture, AStepPastTheEndLandsOnTheOppositeEndItself) {
    counter.Min = 0;
    counter.Max = 1;
    EXPECT_EQ(Next(), 1);
    EXPECT_EQ(Next(), 0);
    EXPECT_EQ(Next(), 1);
    EXPECT_EQ(Next(), 0);
    counter.Min = 10;
    counter.Max = 20;
    counter.Step = 7;
    counter.Count = 18;
    EXPECT_EQ(Next(), 10);
    counter.Down = true;
    EXPECT_EQ(Next(), 20);
    EXPECT_EQ(Next(), 13);
    EXPECT_EQ(Next(), 20);
}

TEST_F(CounterFixture, ResetGoesToMinWhenCountingUp) {
    counter.Min = 3;
    counter.Max = 9;
    counter.Count = 7;
    Reset();
    EXPECT_EQ(counter.Count, 3);
    EXPECT_EQ(out.Count(), 0u);
}

TEST_F(CounterFixture, GetterAnswersTheCurrentCount) {
    counter.Max = 1015;
    EXPECT_EQ(Read(), 0);
    Next();
    Next();
    EXPECT_EQ(Read(), 2);
}

TEST_F(CounterFixture, StepsBeyondThe32BitRangeCountAsPassingTheEnd) {
    counter.Min = -5;
    counter.Max = INT32_MAX;
    counter.Step = 10;
    counter.Count = INT32_MAX - 3;
    EXPECT_EQ(Next(), -5);
    counter.Min = INT32_MIN;
    counter.Max = 5;
    counter.Down = true;
    counter.Count = INT32_MIN + 3;
    EXPECT_EQ(Next(), 5);
}

TEST(CounterThreads, StepsFromTwoThreadsAreNeverLost) {
    TZelCounter counter;
    counter.Min = 0;
    counter.Max = INT32_MAX;
    constexpr int perThread = 20000;
    auto work = [&counter] {
        for (int i = 0; i < perThread; ++i) {
            TData d;
            counter.doNext(d, 0);
        }
    };
    std::thread a(work);
    std::thread b(work);
    a.join();
    b.join();
    EXPECT_EQ(counter.Count, 2 * perThread);
}

}  // namespace
