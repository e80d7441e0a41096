#include "elements/zelIf_else.h"

#include <gtest/gtest.h>

#include "elements/zelCounter.h"
#include "tests/unit/elementTestSupport.h"
#include "tests/unit/testSupport.h"

namespace {

struct IfElseFixture : ::testing::Test {
    DispatchOn on;
    TZelIf_else check;
    std::vector<TRecorder::TEntry> log;
    TRecorder yes{"true", &log};
    TRecorder no{"false", &log};

    void SetUp() override {
        check.onTrue = yes.Link();
        check.onFalse = no.Link();
    }
    std::string Run(TData incoming) {
        log.clear();
        Fire(MakeLink<&TZelIf_else::doCompare>(0, &check), std::move(incoming));
        return log.size() == 1 ? log[0].label + ":" + ToString(log[0].value) : "fired " + std::to_string(log.size());
    }
};

TEST_F(IfElseFixture, SilenceCheckAgainstACounter) {
    TZelCounter counter;
    counter.Count = 3;
    check.Type = 0;
    check.Op1Point = MakeLink<&TZelCounter::getCount>(0, &counter);
    check.Op2 = MakeInt(3);
    EXPECT_EQ(Run(MakeStr("whatever")), "true:whatever");
    EXPECT_EQ(Run(MakeInt(17)), "true:17");
    counter.Count = 2;
    EXPECT_EQ(Run(MakeInt(3)), "false:3");
}

TEST_F(IfElseFixture, ReadsOp1ThenOp2FromTheIncomingItems) {
    check.Type = 1;  // <
    EXPECT_EQ(Run(MakeChain({MakeInt(2), MakeInt(5)})), "true:2");
    EXPECT_EQ(Run(MakeChain({MakeInt(5), MakeInt(2)})), "false:5");
    // A single value gives Op1; Op2 then reads a null, which is 0.
    EXPECT_EQ(Run(MakeInt(-1)), "true:-1");
}

TEST_F(IfElseFixture, NonNullDefaultsWin_ThePassedValueKeepsItsChain) {
    check.Type = 0;
    check.Op1 = MakeStr("x");
    check.Op2 = MakeStr("x");
    Run(MakeChain({MakeInt(1), MakeInt(2)}));
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].label, "true");
    ASSERT_TRUE(log[0].value.Next);
    EXPECT_EQ(log[0].value.Next->IntValue, 2);
}

TEST_F(IfElseFixture, LinkedOp2AnsweringNoValueFallsBackToItsDefault) {
    TData none;
    none.DataType = TypeNoValue;
    TSource source(none);
    check.Op2Point = source.Link();
    check.Op2 = MakeInt(4);
    check.Type = 4;  // >=
    EXPECT_EQ(Run(MakeInt(4)), "true:4");
    EXPECT_EQ(Run(MakeInt(3)), "false:3");
    EXPECT_EQ(source.reads, 2);
}

}  // namespace
