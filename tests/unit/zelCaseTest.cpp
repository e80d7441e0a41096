#include "elements/zelCase.h"

#include <gtest/gtest.h>

#include "tests/unit/elementTestSupport.h"
#include "tests/unit/testSupport.h"

namespace {

struct CaseFixture : ::testing::Test {
    DispatchOn on;
    TZelCase element;
    std::vector<TRecorder::TEntry> log;
    TRecorder match{"case", &log};
    TRecorder next{"next", &log};

    void SetUp() override {
        element.onCaseEvent = match.Link();
        element.onNextCase = next.Link();
        element.Value = MakeInt(0);
    }
    std::string Run(TData incoming) {
        log.clear();
        Fire(MakeLink<&TZelCase::doCase>(0, &element), std::move(incoming));
        if (log.size() != 1) return "fired " + std::to_string(log.size());
        const TData& v = log[0].value;
        return log[0].label + ":" + std::string(TypeName(v.Tag())) + ":" + ToString(v);
    }
};

TEST_F(CaseFixture, PortOpenResult) {
    EXPECT_EQ(Run(MakeInt(0)), "case:NULL:");
    EXPECT_EQ(Run(MakeInt(3)), "next:Integer:3");
}

TEST_F(CaseFixture, TheIncomingTypeDecidesHowValueIsTaken) {
    EXPECT_EQ(Run(MakeStr("0")), "case:NULL:");  // text: compared with the text of Value
    EXPECT_EQ(Run(MakeStr("00")), "next:String:00");
    EXPECT_EQ(Run(TData()), "next:NULL:");  // null equals only a null Value
    element.Value = TData();
    EXPECT_EQ(Run(TData()), "case:NULL:");
    // An integer takes the null Value as 0.
    EXPECT_EQ(Run(MakeInt(0)), "case:NULL:");
    EXPECT_EQ(Run(MakeInt(1)), "next:Integer:1");
}

TEST_F(CaseFixture, MatchSendsACopyOfDataOut) {
    element.DataOut = MakeStr("found");
    EXPECT_EQ(Run(MakeInt(0)), "case:String:found");
    EXPECT_EQ(element.DataOut.StrValue, "found");
}

TEST_F(CaseFixture, OnlyTheFirstItemIsCompared_TheWholeValueGoesOn) {
    EXPECT_EQ(Run(MakeChain({MakeInt(0), MakeInt(5)})), "case:NULL:");
    Run(MakeChain({MakeInt(4), MakeInt(5)}));
    ASSERT_EQ(log.size(), 1u);
    ASSERT_TRUE(log[0].value.Next);
    EXPECT_EQ(log[0].value.IntValue, 4);
    EXPECT_EQ(log[0].value.Next->IntValue, 5);
}

}  // namespace
