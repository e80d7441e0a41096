// The four routing elements: hub, data holder, store and commutator.
#include <gtest/gtest.h>

#include "runtime/zelCommutator.h"
#include "runtime/zelDoData.h"
#include "runtime/zelEventFromData.h"
#include "runtime/zelHub.h"
#include "tests/unit/elementTestSupport.h"
#include "tests/unit/testSupport.h"

namespace {

// A work point that overwrites its received record, as a forwarding
// element does.
struct TClobber {
    TPointLink onOut;
    void doIn(TData& d, uint16_t) { ForwardStr(d, onOut, "clobbered"); }
};

TEST(zelHub, OutputsRunInOrderWithTheValueAsItArrived) {
    DispatchOn on;
    std::vector<TRecorder::TEntry> log;
    TRecorder second("second", &log), third("third", &log);
    TClobber first;
    TZelHub hub;
    hub.SetOutCount(3);
    hub.onEvent[0] = MakeLink<&TClobber::doIn>(0, &first);
    hub.onEvent[1] = second.Link();
    hub.onEvent[2] = third.Link();
    TData d = MakeStr("original");
    CallEvent(MakeLink<&TZelHub::doEvent>(0, &hub), d);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].label, "second");
    EXPECT_EQ(log[0].value.StrValue, "original");
    EXPECT_EQ(log[1].label, "third");
    EXPECT_EQ(log[1].value.StrValue, "original");
    EXPECT_EQ(d.StrValue, "original");
}

TEST(zelHub, NoOutputsAndUnlinkedOutputsAreSkipped) {
    DispatchOn on;
    TZelHub hub;
    TData d = MakeInt(1);
    hub.doEvent(d, 0);  // OutCount 0: nothing at all
    TRecorder last;
    hub.SetOutCount(2);
    hub.onEvent[1] = last.Link();
    hub.doEvent(d, 5);
    EXPECT_EQ(last.Count(), 1u);
}

TEST(zelDoData, EmitsTheConstantWhateverItReceives) {
    DispatchOn on;
    TRecorder out;
    TZelDoData holder;
    holder.Data = MakeInt(1);
    holder.onEventData = out.Link();
    TData d = MakeStr("abc");
    CallEvent(MakeLink<&TZelDoData::doData>(0, &holder), d);
    ASSERT_EQ(out.Count(), 1u);
    EXPECT_EQ(out.Value(0).DataType, TypeInt);
    EXPECT_EQ(out.Value(0).IntValue, 1);
    // The caller's record holds the emitted value, flag removed.
    EXPECT_EQ(d.DataType, TypeInt);
}

TEST(zelDoData, NullConstantEmitsNull) {
    DispatchOn on;
    TRecorder out;
    TZelDoData holder;
    holder.onEventData = out.Link();
    TData d = MakeStr("abc");
    CallEvent(MakeLink<&TZelDoData::doData>(0, &holder), d);
    ASSERT_EQ(out.Count(), 1u);
    EXPECT_EQ(out.Value(0).DataType, TypeNull);
}

TEST(zelDoData, AnsweringPointReplacesTheConstantUnlessNoValue) {
    DispatchOn on;
    TRecorder out;
    TSource answer;
    TZelDoData holder;
    holder.Data = MakeInt(1);
    holder.DataPoint = answer.Link();
    holder.onEventData = out.Link();
    const TPointLink in = MakeLink<&TZelDoData::doData>(0, &holder);

    TData d;  // a null answer is an answer
    CallEvent(in, d);
    EXPECT_EQ(out.Value(0).DataType, TypeNull);

    answer.value = MakeStr("pulled");
    CallEvent(in, d);
    EXPECT_EQ(out.Value(1).StrValue, "pulled");

    answer.value.DataType = TypeNoValue;
    CallEvent(in, d);
    EXPECT_EQ(out.Value(2).IntValue, 1);
}

TEST(zelEventFromData, ReadBeforeStoreFiresThenAnswersNull) {
    DispatchOn on;
    TRecorder fired;
    TZelEventFromData store;
    store.onEvent = fired.Link();
    TData r = MakeStr("leftover");
    ReadRaw(r, MakeLink<&TZelEventFromData::getValue>(0, &store));
    EXPECT_EQ(fired.Count(), 1u);
    EXPECT_EQ(r.DataType, TypeNull);
}

TEST(zelEventFromData, StoresTheWholeChainAndAnswersItsHead) {
    DispatchOn on;
    TZelEventFromData store;
    TData d = MakeChain({MakeInt(1), MakeInt(2)});
    CallEvent(MakeLink<&TZelEventFromData::doData>(0, &store), d);
    EXPECT_EQ(d.DataType, TypeNull);  // the received value was taken
    TData r;
    store.getValue(r, 0);
    EXPECT_EQ(r.IntValue, 1);
    EXPECT_FALSE(r.Next);
    const TData stored = store.Stored();
    ASSERT_TRUE(stored.Next);
    EXPECT_EQ(stored.Next->IntValue, 2);
}

// The store's own event can store a newer value before the reader sees it.
struct TRestore {
    TZelEventFromData* store;
    void doIn(TData&, uint16_t) {
        TData v = MakeStr("fresh");
        store->doData(v, 0);
    }
};

TEST(zelEventFromData, EventChainMayStoreBeforeTheReadAnswers) {
    DispatchOn on;
    TZelEventFromData store;
    TRestore restore{&store};
    store.onEvent = MakeLink<&TRestore::doIn>(0, &restore);
    TData old = MakeStr("old");
    store.doData(old, 0);
    TData r;
    store.getValue(r, 0);
    EXPECT_EQ(r.StrValue, "fresh");
}

TEST(zelCommutator, UnlinkedPointsBroadcastInOrder) {
    DispatchOn on;
    std::vector<TRecorder::TEntry> log;
    TRecorder a("a", &log), b("b", &log);
    TZelCommutator c;
    c.SetOutCount(2);
    c.onEvent[0] = a.Link();
    c.onEvent[1] = b.Link();
    TData d = MakeStr("x");
    c.doWork(d, 0);
    c.doWork(d, 7);
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].label, "a");
    EXPECT_EQ(log[1].label, "b");
    EXPECT_EQ(log[2].label, "a");
    EXPECT_EQ(d.StrValue, "x");
}

TEST(zelCommutator, OutIndexSelectsOneOutputOrNone) {
    DispatchOn on;
    TRecorder a, b;
    TSource out;
    TZelCommutator c;
    c.SetOutCount(2);
    c.onEvent[0] = a.Link();
    c.onEvent[1] = b.Link();
    c.OutIndex = out.Link();
    TData d = MakeStr("x");
    out.value = MakeInt(1);
    c.doWork(d, 0);
    EXPECT_EQ(a.Count(), 0u);
    EXPECT_EQ(b.Count(), 1u);
    out.value = MakeInt(2);
    c.doWork(d, 0);
    EXPECT_EQ(a.Count() + b.Count(), 1u);
    // A reader that answers nothing usable counts as 0, not as "all".
    out.value = TData();
    c.doWork(d, 0);
    EXPECT_EQ(a.Count(), 1u);
}

TEST(zelCommutator, DisabledGateReadsNothingElse) {
    DispatchOn on;
    TRecorder a;
    TSource enabled, out, in;
    enabled.value = MakeInt(0);
    TZelCommutator c;
    c.SetOutCount(1);
    c.onEvent[0] = a.Link();
    c.Enabled = enabled.Link();
    c.OutIndex = out.Link();
    c.InIndex = in.Link();
    TData d = MakeInt(3);
    c.doWork(d, 0);
    EXPECT_EQ(a.Count(), 0u);
    EXPECT_EQ(out.reads, 0);
    EXPECT_EQ(in.reads, 0);
    enabled.value = MakeInt(1);
    in.value = MakeInt(1);
    out.value = MakeInt(-1);
    c.doWork(d, 0);  // input 0 does not pass when InIndex is 1
    EXPECT_EQ(a.Count(), 0u);
    EXPECT_EQ(out.reads, 1);
    EXPECT_EQ(in.reads, 1);
    c.doWork(d, 1);
    EXPECT_EQ(a.Count(), 1u);
}

TEST(zelCommutator, SetOutCountZeroKeepsTheLinks) {
    DispatchOn on;
    TRecorder a;
    TZelCommutator c;
    c.SetOutCount(1);
    c.onEvent[0] = a.Link();
    c.SetOutCount(0);
    TData d = MakeInt(1);
    c.doWork(d, 0);
    EXPECT_EQ(a.Count(), 0u);
    c.SetOutCount(0);
    EXPECT_EQ(c.onEvent.size(), 1u);
}

}  // namespace
