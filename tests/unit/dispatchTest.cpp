#include "runtime/dispatch.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/Share.h"
#include "tests/unit/elementTestSupport.h"
#include "tests/unit/testSupport.h"

namespace {

// A work point that records what it receives and can forward.
struct TProbe {
    std::vector<std::string> seen;
    TPointLink onOut;
    TData forwardValue;
    bool forward = false;

    void doIn(TData& d, uint16_t index) {
        seen.push_back(FormatInteger(index) + ":" + ToString(d));
        if (forward) ForwardData(d, onOut, forwardValue);
    }
    void doChange(TData& d, uint16_t) { SetStr(d, "changed"); }
};

TEST(ShareDispatch, ForwardingRunsFlatAndStopsAtUnlinkedLink) {
    DispatchOn on;
    TProbe first, second;
    first.forward = true;
    first.forwardValue = MakeInt(5);
    first.onOut = MakeLink<&TProbe::doIn>(9, &second);
    second.forward = true;
    second.forwardValue = MakeStr("end");  // second's onOut is unlinked

    TData d = MakeStr("start");
    CallEvent(MakeLink<&TProbe::doIn>(3, &first), d);
    EXPECT_EQ(first.seen, (std::vector<std::string>{"3:start"}));
    EXPECT_EQ(second.seen, (std::vector<std::string>{"9:5"}));
    // The caller's record keeps the last forwarded value, flag removed.
    EXPECT_EQ(d.DataType, TypeStr);
    EXPECT_EQ(d.StrValue, "end");
}

TEST(ShareDispatch, CopyLeavesCallerRecordAlone) {
    DispatchOn on;
    TProbe p;
    const TPointLink link = MakeLink<&TProbe::doChange>(0, &p);
    TData d = MakeStr("mine");
    CallEventCopy(link, d);
    EXPECT_EQ(d.StrValue, "mine");
    CallEvent(link, d);
    EXPECT_EQ(d.StrValue, "changed");
}

TEST(ShareDispatch, NothingRunsWhileDispatchIsOff) {
    DisableDispatch();
    TProbe p;
    const TPointLink link = MakeLink<&TProbe::doIn>(0, &p);
    CallEventInt(link, 1);
    CallEventStr(link, "x");
    CallEventNull(link);
    TData d = MakeInt(2);
    CallEvent(link, d);
    EXPECT_TRUE(p.seen.empty());
    EnableDispatch();
    CallEventInt(link, 1);
    DisableDispatch();
    EXPECT_EQ(p.seen.size(), 1u);
}

// ---- reading -------------------------------------------------------------

TEST(ShareRead, UnlinkedPointsTakeSuccessiveItems) {
    DispatchOn on;
    const TPointLink none;
    TData single = MakeInt(5);
    EXPECT_EQ(ReadInteger(single, none, 0), 5);
    EXPECT_EQ(ReadInteger(single, none, 0), 0);
    EXPECT_EQ(ReadString(single, none, ""), "");

    TData chain = MakeChain({MakeInt(1), MakeInt(2), MakeInt(3)});
    EXPECT_EQ(ReadInteger(chain, none, 0), 1);
    EXPECT_EQ(ReadString(chain, none, ""), "2");
    EXPECT_EQ(ToInteger(ReadData(chain, none, nullptr)), 3);
    EXPECT_EQ(chain.DataType, TypeNull);
    EXPECT_EQ(ToInteger(ReadData(chain, none, nullptr)), 0);
}

TEST(ShareRead, GivenDefaultsDoNotConsume) {
    DispatchOn on;
    const TPointLink none;
    TData d = MakeInt(5);
    EXPECT_EQ(ReadInteger(d, none, 9), 9);
    EXPECT_EQ(ReadString(d, none, "dflt"), "dflt");
    const TData def = MakeStr("D");
    EXPECT_EQ(ReadData(d, none, &def).StrValue, "D");
    EXPECT_EQ(ReadInteger(d, none, 0), 5);  // still there
}

TEST(ShareRead, NoValueAnswerBehavesAsUnlinked) {
    DispatchOn on;
    TSource source;
    source.value.DataType = TypeNoValue;
    const TPointLink point = source.Link();
    TData d = MakeInt(5);
    EXPECT_EQ(ReadInteger(d, point, 0), 5);
    EXPECT_EQ(source.reads, 1);
    TData e = MakeStr("x");
    EXPECT_EQ(ReadString(e, point, "def"), "def");
    const TData def = MakeInt(4);
    TData f = MakeInt(6);
    EXPECT_EQ(ToInteger(ReadData(f, point, &def)), 4);
    EXPECT_EQ(ToInteger(ReadData(f, point, nullptr)), 6);
}

TEST(ShareRead, LinkedPointAnswersWithoutConsuming) {
    DispatchOn on;
    TSource source;
    source.value = MakeChain({MakeStr("a"), MakeStr("b")});
    const TPointLink point = source.Link();
    TData d = MakeInt(5);
    TData single = ReadData(d, point, nullptr);
    EXPECT_EQ(single.StrValue, "a");
    EXPECT_FALSE(single.Next);
    TData whole = ReadDataChain(d, point, nullptr);
    ASSERT_TRUE(whole.Next);
    EXPECT_EQ(whole.Next->StrValue, "b");
    EXPECT_EQ(ToInteger(d), 5);
    EXPECT_EQ(ReadIntegerPoint(point), 0);
}

TEST(ShareRead, ReadDataChainTakesTheWholeIncomingValue) {
    DispatchOn on;
    const TPointLink none;
    TData chain = MakeChain({MakeInt(1), MakeInt(2)});
    TData whole = ReadDataChain(chain, none, nullptr);
    EXPECT_EQ(chain.DataType, TypeNull);
    EXPECT_FALSE(chain.Next);
    ASSERT_TRUE(whole.Next);
    EXPECT_EQ(whole.Next->IntValue, 2);
}

TEST(ShareRead, LinkedPointReadsNullWhileDispatchIsOff) {
    DisableDispatch();
    TSource source;
    source.value = MakeInt(8);
    const TPointLink point = source.Link();
    TData d = MakeInt(5);
    EXPECT_EQ(ReadInteger(d, point, 3), 0);  // the fresh null, not the default
    EXPECT_EQ(source.reads, 0);
    TData raw = MakeStr("kept");
    ReadRaw(raw, point);
    EXPECT_EQ(raw.StrValue, "kept");
}

TEST(ShareRead, ReadRawMarksUnlinkedPoints) {
    DispatchOn on;
    TData d = MakeInt(4);
    ReadRaw(d, TPointLink());
    EXPECT_EQ(d.DataType, TypeNoValue);
    EXPECT_EQ(d.IntValue, 4);
    TSource source;
    source.value = MakeStr("s");
    ReadRaw(d, source.Link());
    EXPECT_EQ(d.StrValue, "s");
}

TEST(ShareRead, TakeDataOfNullClearsItsChain) {
    TData d = MakeChain({TData(), MakeInt(2)});
    EXPECT_EQ(TakeData(d).DataType, TypeNull);
    EXPECT_FALSE(d.Next);
}

}  // namespace
