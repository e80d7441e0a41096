#include "elements/zelFor.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/unit/elementTestSupport.h"
#include "tests/unit/testSupport.h"

namespace {

struct ForFixture : ::testing::Test {
    DispatchOn on;
    TZelFor loop;
    std::vector<TRecorder::TEntry> log;
    TRecorder each{"loop", &log};
    TRecorder end{"end", &log};

    void SetUp() override {
        loop.onLoop = each.Link();
        loop.onEnd = end.Link();
    }
    void Range(int32_t start, int32_t stop, int32_t step, bool includeEnd) {
        loop.Start = start;
        loop.End = stop;
        loop.Step = step;
        loop.IncludeEnd = includeEnd;
    }
    // The positions fired, then the end value after "|".
    std::vector<int32_t> Run(TData incoming = MakeStr("dropped")) {
        log.clear();
        Fire(MakeLink<&TZelFor::doFor>(0, &loop), std::move(incoming));
        std::vector<int32_t> seen;
        for (const auto& entry : log) {
            if (entry.label == "end") seen.push_back(-1000000);
            seen.push_back(entry.value.IntValue);
        }
        return seen;
    }
    static std::vector<int32_t> Expect(std::vector<int32_t> positions, int32_t endValue) {
        positions.push_back(-1000000);
        positions.push_back(endValue);
        return positions;
    }
};

TEST_F(ForFixture, BlockOf256Positions) {
    Range(0, 255, 1, true);
    std::vector<int32_t> all;
    for (int i = 0; i <= 255; ++i) all.push_back(i);
    EXPECT_EQ(Run(), Expect(all, 256));
    Range(0, 255, 1, false);
    all.pop_back();
    EXPECT_EQ(Run(), Expect(all, 255));
}

TEST_F(ForFixture, NegativeSteps) {
    Range(5, 0, -2, true);
    EXPECT_EQ(Run(), Expect({5, 3, 1}, -1));
    Range(4, 0, -2, true);
    EXPECT_EQ(Run(), Expect({4, 2, 0}, -2));
    Range(4, 0, -2, false);
    EXPECT_EQ(Run(), Expect({4, 2}, 0));
    Range(0, 5, -1, true);
    EXPECT_EQ(Run(), Expect({}, 0));
}

TEST_F(ForFixture, EmptyRangesAndZeroStep) {
    Range(3, 1, 1, true);
    EXPECT_EQ(Run(), Expect({}, 3));
    Range(3, 3, 1, false);
    EXPECT_EQ(Run(), Expect({}, 3));
    Range(3, 3, 1, true);
    EXPECT_EQ(Run(), Expect({3}, 4));
    Range(0, 10, 0, true);
    EXPECT_EQ(Run(), Expect({}, 0));
}

TEST_F(ForFixture, RangesAtTheEdgeOfThe32BitRangeEnd) {
    Range(INT32_MAX - 2, INT32_MAX, 1, true);
    EXPECT_EQ(Run(), Expect({INT32_MAX - 2, INT32_MAX - 1, INT32_MAX}, INT32_MIN));
    Range(INT32_MIN + 1, INT32_MIN, -1, true);
    EXPECT_EQ(Run(), Expect({INT32_MIN + 1, INT32_MIN}, INT32_MAX));
    Range(INT32_MAX - 1, INT32_MAX, 1000, true);
    EXPECT_EQ(Run(), Expect({INT32_MAX - 1}, static_cast<int32_t>(int64_t(INT32_MAX) - 1 + 1000 - (int64_t(1) << 32))));
}

TEST_F(ForFixture, UseIncomingReadsStartThenEndFromTheValue) {
    Range(0, 0, 1, true);
    loop.UseIncoming = true;
    EXPECT_EQ(Run(MakeChain({MakeInt(2), MakeInt(4)})), Expect({2, 3, 4}, 5));
    // Without UseIncoming the value is dropped and the properties apply.
    loop.UseIncoming = false;
    Range(7, 8, 1, true);
    EXPECT_EQ(Run(MakeChain({MakeInt(2), MakeInt(4)})), Expect({7, 8}, 9));
}

TEST_F(ForFixture, LinkedStartAndEnd) {
    TSource start(MakeInt(10));
    TSource stop(MakeStr("12"));
    loop.StartPoint = start.Link();
    loop.EndPoint = stop.Link();
    Range(0, 255, 1, true);
    EXPECT_EQ(Run(), Expect({10, 11, 12}, 13));
    EXPECT_EQ(start.reads, 1);
    EXPECT_EQ(stop.reads, 1);
}

// Each position's whole chain runs before the next position is fired.
struct TNested {
    TZelFor* inner;
    void doRun(TData&, uint16_t) {
        TData d;
        CallEvent(MakeLink<&TZelFor::doFor>(0, inner), d);
    }
};

TEST_F(ForFixture, EachPositionIsHandledToTheEndBeforeTheNext) {
    TZelFor outer;
    TNested nested{&loop};
    outer.Start = 0;
    outer.End = 1;
    outer.Step = 1;
    outer.IncludeEnd = true;
    outer.onLoop = MakeLink<&TNested::doRun>(0, &nested);
    Range(0, 1, 1, true);
    log.clear();
    Fire(MakeLink<&TZelFor::doFor>(0, &outer));
    std::vector<std::string> labels;
    for (const auto& entry : log) labels.push_back(entry.label + std::to_string(entry.value.IntValue));
    EXPECT_EQ(labels, (std::vector<std::string>{"loop0", "loop1", "end2", "loop0", "loop1", "end2"}));
}

}  // namespace
