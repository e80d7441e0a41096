// Nested scheme containers: permanent and temporary instances, the
// boundary's points, self-deletion and start-up of late instances.
#include <gtest/gtest.h>

#include "runtime/zelEditMultiEx.h"
#include "runtime/zelMultiBase.h"
#include "runtime/zelMultiElementEx.h"
#include "tests/unit/testSupport.h"

namespace {

int schemesAlive = 0;
int schemesDestroyed = 0;
int startupRuns = 0;
// Inward event 1 of every instance lands here, and outlives the instances.
std::vector<TRecorder::TEntry> notifiedLog;

// An inner element: counts its calls, answers the count, fires outward.
struct TTally {
    int32_t count = 0;
    TPointLink onCounted;
    TPointLink Outside;  // data point read from the outer scheme
    TData lastOutside;
    void doCount(TData& d, uint16_t) {
        ++count;
        TData t;
        lastOutside = ReadData(t, Outside, nullptr);
        ForwardInt(d, onCounted, count);
    }
    void getCount(TData& r, uint16_t) { SetInt(r, count); }
};

// The inner scheme: inward events 0 (count) and 1 (notify), outward data 0
// (the count) and 1 (unlinked), outward event 0 (the new count), inward
// data 0.
class TTestScheme : public TClassMultiBase {
public:
    TTally* Tally;
    TRecorder* Notified;

    TTestScheme(TZelMultiElementEx* container, void* owner, void* parent) : TClassMultiBase(container, owner, parent) {
        ++schemesAlive;
        auto* boundary = new TZelEditMultiEx();
        boundary->InEvents.resize(2);
        boundary->OutData.resize(2);
        Tally = new TTally();
        Notified = new TRecorder("notified", &notifiedLog);
        AddStartup([](void*) { ++startupRuns; }, this);
        Boundary = boundary;
        boundary->Scheme = this;
        boundary->Container = container;
        boundary->InEvents[0] = MakeLink<&TTally::doCount>(0, Tally);
        boundary->InEvents[1] = Notified->Link();
        boundary->OutData[0] = MakeLink<&TTally::getCount>(0, Tally);
        Tally->onCounted = MakeLink<&TZelEditMultiEx::doEvent>(0, boundary);
        Tally->Outside = MakeLink<&TZelEditMultiEx::getData>(0, boundary);
    }
    ~TTestScheme() override {
        delete Notified;
        delete Tally;
        delete Boundary;
        --schemesAlive;
        ++schemesDestroyed;
    }
};

TZelEditMultiEx* CreateTestScheme(TZelMultiElementEx* container, void* parent, void* owner) {
    return (new TTestScheme(container, owner, parent))->Boundary;
}

TTestScheme& SchemeOf(TZelEditMultiEx* boundary) { return *static_cast<TTestScheme*>(boundary->Scheme); }

struct ContainerTest : ::testing::Test {
    void SetUp() override {
        schemesAlive = schemesDestroyed = startupRuns = 0;
        notifiedLog.clear();
        ResetStartup();
    }
    void TearDown() override { ResetStartup(); }
};

TEST_F(ContainerTest, ModeZeroBuildsOnePermanentInstanceThatKeepsState) {
    DispatchOn on;
    TZelMultiElementEx container(nullptr);
    container.onEvent.resize(1);
    container.InData.resize(1);
    TRecorder outward;
    container.onEvent[0] = outward.Link();
    container.SetCreator(CreateTestScheme);
    ASSERT_EQ(schemesAlive, 1);
    ASSERT_EQ(container.Instances.size(), 1u);
    EXPECT_EQ(container.Current, container.Instances[0]);

    TData d;
    container.doWork(d, 0);
    container.doWork(d, 0);
    EXPECT_EQ(schemesAlive, 1);
    ASSERT_EQ(outward.Count(), 2u);
    EXPECT_EQ(outward.Value(1).IntValue, 2);
    TData r;
    container.getValue(r, 0);
    EXPECT_EQ(r.IntValue, 2);
}

TEST_F(ContainerTest, OtherModesBuildATemporaryInstancePerAccess) {
    DispatchOn on;
    TZelMultiElementEx container(nullptr);
    container.Mode = 1;
    container.onEvent.resize(1);
    TRecorder outward;
    container.onEvent[0] = outward.Link();
    container.SetCreator(CreateTestScheme);
    EXPECT_EQ(schemesAlive, 0);
    EXPECT_TRUE(container.Instances.empty());
    TData d;
    container.doWork(d, 0);
    container.doWork(d, 0);
    ASSERT_EQ(outward.Count(), 2u);
    EXPECT_EQ(outward.Value(1).IntValue, 1);  // no state survives
    EXPECT_EQ(schemesAlive, 0);
    EXPECT_EQ(schemesDestroyed, 2);
    TData r;
    container.getValue(r, 0);
    EXPECT_EQ(r.IntValue, 0);
    EXPECT_EQ(schemesDestroyed, 3);
}

TEST_F(ContainerTest, UnlinkedOutwardDataLetsTheReaderUseItsDefault) {
    DispatchOn on;
    TZelMultiElementEx container(nullptr);
    container.SetCreator(CreateTestScheme);
    const TPointLink unlinkedInside = MakeLink<&TZelMultiElementEx::getValue>(1, &container);
    const TPointLink beyondTheArray = MakeLink<&TZelMultiElementEx::getValue>(9, &container);
    TData incoming;
    EXPECT_EQ(ReadInteger(incoming, unlinkedInside, 42), 42);
    EXPECT_EQ(ReadString(incoming, beyondTheArray, "dflt"), "dflt");
}

TEST_F(ContainerTest, InwardDataReachesTheOuterScheme) {
    DispatchOn on;
    TZelMultiElementEx container(nullptr);
    container.onEvent.resize(1);
    container.InData.resize(1);
    struct TOuter {
        void getText(TData& r, uint16_t) { SetStr(r, "outer"); }
    } outer;
    container.InData[0] = MakeLink<&TOuter::getText>(0, &outer);
    container.SetCreator(CreateTestScheme);
    TData d;
    container.doWork(d, 0);
    EXPECT_EQ(SchemeOf(container.Current).Tally->lastOutside.StrValue, "outer");
}

// The outer scheme's reaction to the outward event: delete instance 0.
struct TDeleter {
    TZelMultiElementEx* container;
    void doDelete(TData&, uint16_t) {
        TData which = MakeInt(0);
        container->DeleteInstance(which, 1);
    }
};

TEST_F(ContainerTest, SelfDeletionIsRefusedWithAMessage) {
    DispatchOn on;
    MessageCapture boxes;
    TZelMultiElementEx container(nullptr);
    container.onEvent.resize(1);
    TDeleter deleter{&container};
    container.onEvent[0] = MakeLink<&TDeleter::doDelete>(0, &deleter);
    container.SetCreator(CreateTestScheme);
    TData d;
    container.doWork(d, 0);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Self destruction is not allowed !!!");
    EXPECT_EQ(boxes.captions[0], "String-Debug");
    EXPECT_EQ(schemesAlive, 1);
    ASSERT_NE(container.Current, nullptr);
    EXPECT_EQ(SchemeOf(container.Current).Tally->count, 1);

    // Outside of a running call the same request goes through, notifying
    // the instance first.
    TData which = MakeInt(0);
    container.DeleteInstance(which, 1);
    ASSERT_EQ(notifiedLog.size(), 1u);
    EXPECT_EQ(notifiedLog[0].value.IntValue, 0);
    EXPECT_EQ(schemesAlive, 0);
    EXPECT_EQ(container.Current, nullptr);
    EXPECT_TRUE(container.Instances.empty());
    TData outside = MakeInt(5);
    container.DeleteInstance(outside, 0);  // out of range: ignored
    EXPECT_EQ(schemesDestroyed, 1);
}

// Programs wait on Running before they destroy a network that another
// thread may still be in.
struct TRunningProbe {
    TZelMultiElementEx* container;
    bool seen = false;
    void doLook(TData&, uint16_t) { seen = container->Running(); }
};

TEST_F(ContainerTest, RunningWhileAChainIsInAnInstanceAndItsOutwardEvents) {
    DispatchOn on;
    TZelMultiElementEx container(nullptr);
    container.onEvent.resize(1);
    TRunningProbe probe{&container};
    container.onEvent[0] = MakeLink<&TRunningProbe::doLook>(0, &probe);
    EXPECT_FALSE(container.Running()) << "no instance yet";
    container.SetCreator(CreateTestScheme);
    EXPECT_FALSE(container.Running());
    TData d;
    container.doWork(d, 0);
    EXPECT_TRUE(probe.seen) << "the outward event is part of the running chain";
    EXPECT_FALSE(container.Running()) << "the chain has returned";
}

TEST_F(ContainerTest, LateInstancesRunTheirStartupAtOnce) {
    DispatchOn on;
    {
        TZelMultiElementEx early(nullptr);
        early.SetCreator(CreateTestScheme);
        EXPECT_EQ(startupRuns, 0);  // left to the program's start-up run
        RunStartup();
        EXPECT_EQ(startupRuns, 1);
    }
    TZelMultiElementEx late(nullptr);
    late.SetCreator(CreateTestScheme);
    EXPECT_EQ(startupRuns, 2);
    EXPECT_TRUE(StartupDone);
}

TEST_F(ContainerTest, DestructionDestroysTheSchemeOnceWithoutNotifying) {
    DispatchOn on;
    {
        TZelMultiElementEx container(nullptr);
        container.SetCreator(CreateTestScheme);
    }
    EXPECT_TRUE(notifiedLog.empty());
    EXPECT_EQ(schemesDestroyed, 1);
    EXPECT_EQ(schemesAlive, 0);
}

TEST_F(ContainerTest, BoundaryIgnoresNumbersBeyondItsArrays) {
    DispatchOn on;
    TZelMultiElementEx container(nullptr);
    container.SetCreator(CreateTestScheme);  // no outward events, no inward data
    TData d;
    container.doWork(d, 0);  // the tally's outward event has nowhere to go
    container.doWork(d, 7);
    EXPECT_EQ(SchemeOf(container.Current).Tally->count, 1);
    // The unanswered inward read falls back to the (null) incoming value.
    EXPECT_EQ(SchemeOf(container.Current).Tally->lastOutside.DataType, TypeNull);
}

}  // namespace
