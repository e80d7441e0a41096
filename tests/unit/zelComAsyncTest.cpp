#include "serial/zelComAsync.h"
#include "schemes/lineSettings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/fakes/serialEventLog.h"
#include "tests/fakes/serialFake.h"
#include "tests/unit/testSupport.h"

using namespace platform;
using TLines = std::vector<std::string>;

namespace {

// The property values the top-level schemes give the element.
void ConfigureAsMainScheme(TZelComAsync& c) { ApplyLineSettings(c); }

const TLines CloseEvents = {"onBeforeClose", "onCTS 0", "onDSR 0", "onRLSD 0", "onClose"};

TLines Concat(TLines a, const TLines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class ComAsync : public ::testing::Test {
protected:
    ComAsync() {
        fake.AddDevice("\\\\.\\COM3");
        ConfigureAsMainScheme(el);
    }
    ~ComAsync() override {
        TData none;
        el.doClose(none, 1);
    }

    void Open(const std::string& name) {
        TData d = MakeStr(name);
        el.doOpen(d, 0);
    }
    void Close() {
        TData d;
        el.doClose(d, 1);
    }
    void Write(TData d) { el.doWrite(d, 2); }
    void Read(TData d) { el.doRead(d, 3); }
    void Enum() {
        TData d;
        el.doEnumPorts(d, 4);
    }
    bool Called(const std::string& call) const {
        const TLines calls = fake.Calls();
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }

    DispatchOn on;
    TFakeSerialBackend fake;
    TZelComAsync el;
};

// ---- names -------------------------------------------------------------

TEST_F(ComAsync, RefusedNamesFailBeforeAnythingIsCreated) {
    for (const std::string name : {"COM", "COM0", "COM256", "LPT1", "COM1234", "", "CO3", "COMX"}) {
        TZelComAsync c;
        ConfigureAsMainScheme(c);
        TSerialEventLog log(c);
        fake.ClearCalls();
        c.Port = name;
        TData d;
        c.doOpen(d, 0);
        EXPECT_EQ(log.Entries(), (TLines{"onBeforeOpen", "onOpen 0"})) << name;
        EXPECT_TRUE(fake.Calls().empty()) << name;
        EXPECT_FALSE(c.Opened()) << name;
        EXPECT_EQ(c.PortName(), name);
        EXPECT_EQ(c.OpenFailure(), "\"" + name + "\" is not a port name of COM1 to COM255");
    }
}

TEST_F(ComAsync, NameIsOpenedAsWrittenAndCarriesItsNumber) {
    TSerialEventLog log(el);
    Open("com3");
    EXPECT_EQ(log.Entries(), (TLines{"onBeforeOpen", "onOpen 3"}));
    EXPECT_TRUE(Called("CreatePort \\\\.\\com3 overlapped"));
    EXPECT_TRUE(el.Opened());
    EXPECT_EQ(el.PortName(), "com3");
}

TEST_F(ComAsync, NumberEndsAtTheFirstNonDigit) {
    TSerialEventLog log(el);
    Open("COM12A");
    // The name passes the checks; no such device exists.
    EXPECT_EQ(log.Entries(), (TLines{"onBeforeOpen", "onOpen 0"}));
    EXPECT_TRUE(Called("CreatePort \\\\.\\COM12A overlapped"));

    log.Clear();
    fake.AddDevice("\\\\.\\COM12A");
    Open("COM12A");
    EXPECT_EQ(log.Entries(), (TLines{"onBeforeOpen", "onOpen 12"}));
}

TEST_F(ComAsync, PortNameComesFromThePointThePropertyOrTheIncomingValue) {
    TSerialEventLog log(el);
    el.Port = "COM3";
    Open("LPT1");  // the property wins over the incoming value
    EXPECT_EQ(log.Of("onOpen"), (TLines{"onOpen 3"}));
    Close();

    TData held = MakeStr("COM4");
    struct THolder {
        TData value;
        void getValue(TData& d, uint16_t) { d = value; }
    } holder{held};
    fake.AddDevice("\\\\.\\COM4");
    el.PortPoint = MakeLink<&THolder::getValue>(0, &holder);
    Open("COM3");
    EXPECT_EQ(log.Of("onOpen"), (TLines{"onOpen 3", "onOpen 4"}));
}

// ---- opening and closing -----------------------------------------------

TEST_F(ComAsync, OpenStepsInOrder) {
    Open("COM3");
    EXPECT_EQ(fake.Calls(),
              (TLines{"CreatePort \\\\.\\COM3 overlapped", "GetCommState", "PurgeComm 12", "SetupComm 4096 4096",
                      "SetCommState", "SetCommTimeouts", "SetCommMask 1", "StartThread"}));
    EXPECT_TRUE(el.ReaderRunning());
}

TEST_F(ComAsync, CreateFailureFiresNoCloseEvents) {
    fake.script.failCreate = true;
    TSerialEventLog log(el);
    Open("COM3");
    EXPECT_EQ(log.Entries(), (TLines{"onBeforeOpen", "onOpen 0"}));
    EXPECT_FALSE(el.Opened());
}

TEST_F(ComAsync, RefusedDeviceSettingsCloseThePortAndFailTheOpen) {
    struct TCase {
        const char* what;
        bool TFakeSerialScript::*flag;
        const char* lastCall;
        const char* failure;
    };
    const TCase cases[] = {
        {"device control block", &TFakeSerialScript::failSetCommState, "SetCommState", "it refused the line settings"},
        {"timeouts", &TFakeSerialScript::failTimeouts, "SetCommTimeouts", "it refused the timeouts"},
        {"event mask", &TFakeSerialScript::failMask, "SetCommMask 1", "it refused the event mask"},
        {"purge", &TFakeSerialScript::failPurge, "SetupComm 4096 4096", "its queues could not be cleared"},
        {"reader thread", &TFakeSerialScript::failThreadStart, "StartThread", "its reader thread could not be started"},
    };
    for (const TCase& c : cases) {
        TFakeSerialBackend own;
        own.AddDevice("\\\\.\\COM3");
        own.script.*(c.flag) = true;
        TZelComAsync e;
        ConfigureAsMainScheme(e);
        TSerialEventLog log(e);
        TData d = MakeStr("COM3");
        e.doOpen(d, 0);
        EXPECT_EQ(log.Entries(), Concat(Concat({"onBeforeOpen"}, CloseEvents), {"onOpen 0"})) << c.what;
        EXPECT_FALSE(e.Opened()) << c.what;
        EXPECT_EQ(e.OpenFailure(), c.failure);
        EXPECT_FALSE(e.ReaderRunning()) << c.what;
        ASSERT_TRUE(own.LastPort()) << c.what;
        EXPECT_TRUE(own.LastPort()->Closed()) << c.what;
        // The open stops at the failed step; the close purges and releases.
        const TLines calls = own.Calls();
        const auto failed = std::find(calls.begin(), calls.end(), c.lastCall);
        ASSERT_NE(failed, calls.end()) << c.what;
        EXPECT_EQ(TLines(failed + 1, calls.end()), (TLines{"DrainOutput 500", "PurgeComm 10", "Close"})) << c.what;
        // The element can be opened again once the device accepts.
        own.script = TFakeSerialScript{};
        log.Clear();
        TData again = MakeStr("COM3");
        e.doOpen(again, 0);
        EXPECT_EQ(log.Entries(), (TLines{"onBeforeOpen", "onOpen 3"})) << c.what;
        TData none;
        e.doClose(none, 1);
    }
}

TEST_F(ComAsync, LinesThatAreOnAtOpenAreReported) {
    fake.script.modemStatus = MsCtsOn;
    {
        TSerialEventLog log(el);
        Open("COM3");
        EXPECT_EQ(log.Entries(), (TLines{"onBeforeOpen", "onCTS 1", "onOpen 3"}));
        log.Clear();
        Close();
        EXPECT_EQ(log.Entries(), CloseEvents);
    }
    fake.script.modemStatus = MsCtsOn | MsDsrOn | MsRlsdOn | MsRingOn;
    {
        TSerialEventLog log(el);
        Open("COM3");
        EXPECT_EQ(log.Entries(), (TLines{"onBeforeOpen", "onCTS 1", "onDSR 1", "onRLSD 1", "onOpen 3"}));
        Close();
    }
    // A port without modem lines (a pty) answers no status at all.
    fake.script.failModemStatus = true;
    {
        TSerialEventLog log(el);
        Open("COM3");
        EXPECT_EQ(log.Entries(), (TLines{"onBeforeOpen", "onOpen 3"}));
    }
}

TEST_F(ComAsync, SecondOpenAndCloseWhenClosedFireNothing) {
    TSerialEventLog log(el);
    Close();
    EXPECT_TRUE(log.Entries().empty());
    Open("COM3");
    log.Clear();
    fake.ClearCalls();
    Open("COM3");
    EXPECT_TRUE(log.Entries().empty());
    EXPECT_TRUE(fake.Calls().empty());
    Close();
    EXPECT_EQ(log.Entries(), CloseEvents);
    log.Clear();
    Close();
    EXPECT_TRUE(log.Entries().empty());
}

TEST_F(ComAsync, CloseStopsTheReaderThenPurgesAndReleases) {
    Open("COM3");
    auto port = fake.LastPort();
    ASSERT_TRUE(port->WaitUntilWaiting());
    fake.ClearCalls();
    Close();
    // The written bytes leave before the close, so only the input is purged.
    EXPECT_EQ(fake.Calls(), (TLines{"SetCommMask 0", "DrainOutput 500", "PurgeComm 10", "Close"}));
    EXPECT_FALSE(el.ReaderRunning());
    EXPECT_FALSE(el.Opened());
    EXPECT_TRUE(port->Closed());

    el.FlushOnClose = true;
    Open("COM3");
    fake.ClearCalls();
    Close();
    EXPECT_EQ(fake.Calls(), (TLines{"SetCommMask 0", "DrainOutput 500", "FlushFileBuffers", "PurgeComm 10", "Close"}));

    // Output that does not leave in time is thrown away.
    el.FlushOnClose = false;
    fake.script.failDrain = true;
    Open("COM3");
    fake.ClearCalls();
    Close();
    EXPECT_EQ(fake.Calls(), (TLines{"SetCommMask 0", "DrainOutput 500", "PurgeComm 15", "Close"}));
}

TEST_F(ComAsync, DestructionClosesWithTheCloseEvents) {
    auto e = std::make_unique<TZelComAsync>();
    ConfigureAsMainScheme(*e);
    TSerialEventLog log(*e);
    TData d = MakeStr("COM3");
    e->doOpen(d, 0);
    auto port = fake.LastPort();
    log.Clear();
    e.reset();
    log.ForgetElement();
    EXPECT_EQ(log.Entries(), CloseEvents);
    EXPECT_TRUE(port->Closed());
}

TEST_F(ComAsync, NoReaderThreadWithAnEmptyMask) {
    el.EvRxChar = false;
    Open("COM3");
    EXPECT_TRUE(el.Opened());
    EXPECT_FALSE(el.ReaderRunning());
    EXPECT_FALSE(Called("StartThread"));
    fake.ClearCalls();
    Close();
    EXPECT_EQ(fake.Calls(), (TLines{"DrainOutput 500", "PurgeComm 10", "Close"}));
}

// ---- the records built at open -----------------------------------------

TEST_F(ComAsync, MainSchemeSettings) {
    fake.script.reportedDcb.EofChar = 0x1A;
    fake.script.reportedDcb.ErrorChar = 0x3F;
    fake.script.reportedDcb.wReserved1 = 7;
    fake.script.reportedDcb.Flags = 0xFFFFFFFF;
    Open("COM3");
    auto port = fake.LastPort();
    ASSERT_TRUE(port && port->DcbApplied());
    const TCommDcb dcb = port->AppliedDcb();
    EXPECT_EQ(dcb.DCBlength, 28u);
    EXPECT_EQ(dcb.BaudRate, 38462u);
    EXPECT_EQ(dcb.Flags, 0x4001u);
    EXPECT_EQ(dcb.XonLim, 1024);
    EXPECT_EQ(dcb.XoffLim, 1024);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, NoParity);
    EXPECT_EQ(dcb.StopBits, OneStopBit);
    EXPECT_EQ(dcb.XonChar, 17);
    EXPECT_EQ(dcb.XoffChar, 19);
    EXPECT_EQ(dcb.EvtChar, 0);
    // Fields the element does not set keep what the port reported.
    EXPECT_EQ(dcb.EofChar, 0x1A);
    EXPECT_EQ(dcb.ErrorChar, 0x3F);
    EXPECT_EQ(dcb.wReserved1, 7);
    EXPECT_EQ(port->Mask(), 0x0001u);
    EXPECT_EQ(el.EventMask(), 0x0001u);
    const TCommTimeouts t = port->AppliedTimeouts();
    EXPECT_EQ(t.ReadIntervalTimeout, 0xFFFFFFFFu);
    EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(t.ReadTotalTimeoutConstant, 0u);
    EXPECT_EQ(t.WriteTotalTimeoutMultiplier, 100u);
    EXPECT_EQ(t.WriteTotalTimeoutConstant, 1000u);
}

TEST_F(ComAsync, EveryFlagProperty) {
    el.DTR = 2;
    el.RTS = 3;
    el.DiscardNull = el.AbortOnError = el.ParityCheck = el.ErrorReplace = true;
    el.DsrSensitivity = el.OutxCtsFlow = el.OutxDsrFlow = el.TxContinueOnXoff = el.InX = el.OutX = true;
    el.ErrorChar = 0x17F;  // only the low byte counts
    el.EventChar = 0x10D;
    el.Parity = 2;
    el.StopBits = 2;
    el.DataBits = 0;
    el.InQueueSize = 1002;
    Open("COM3");
    const TCommDcb dcb = fake.LastPort()->AppliedDcb();
    EXPECT_EQ(dcb.Flags, 0x0001u | 0x0020 | 0x3000 | 0x0800 | 0x4000 | 0x0002 | 0x0040 | 0x0004 | 0x0008 | 0x0080 |
                             0x0200 | 0x0100 | 0x0400);
    EXPECT_EQ(dcb.ErrorChar, 0x7F);
    EXPECT_EQ(dcb.EvtChar, 0x0D);
    EXPECT_EQ(dcb.Parity, EvenParity);
    EXPECT_EQ(dcb.StopBits, TwoStopBits);
    EXPECT_EQ(dcb.ByteSize, 5);
    EXPECT_EQ(dcb.XonLim, 250);
    Close();

    // The error byte is replaced only together with the parity check.
    el.ParityCheck = false;
    fake.script.reportedDcb.ErrorChar = 0x21;
    Open("COM3");
    EXPECT_EQ(fake.LastPort()->AppliedDcb().Flags & 0x0402u, 0u);
    EXPECT_EQ(fake.LastPort()->AppliedDcb().ErrorChar, 0x21);
}

TEST_F(ComAsync, ModesOutsideTheirTablesBecomeDisable) {
    el.DTR = 3;
    el.RTS = -1;
    Open("COM3");
    EXPECT_EQ(fake.LastPort()->AppliedDcb().Flags & (DcbDtrMask | DcbRtsMask), 0u);
    Close();
    el.DTR = 1;
    el.RTS = 1;
    Open("COM3");
    EXPECT_EQ(fake.LastPort()->AppliedDcb().Flags & (DcbDtrMask | DcbRtsMask), uint32_t(DcbDtrEnable | DcbRtsEnable));
}

TEST_F(ComAsync, UnlinkedPointsTakeSuccessiveIncomingItems) {
    el.BaudRate = 0;
    TSerialEventLog log(el);
    // Port, then DTR, RTS and the speed, in this order.
    TData d = MakeChain({MakeStr("COM3"), MakeInt(1), MakeInt(2), MakeInt(9600)});
    el.doOpen(d, 0);
    EXPECT_EQ(log.Of("onOpen"), (TLines{"onOpen 3"}));
    const TCommDcb dcb = fake.LastPort()->AppliedDcb();
    EXPECT_EQ(dcb.Flags & (DcbDtrMask | DcbRtsMask), uint32_t(DcbDtrEnable | DcbRtsHandshake));
    EXPECT_EQ(dcb.BaudRate, 9600u);
}

TEST_F(ComAsync, EventMaskFromEveryWatchProperty) {
    el.EvRxFlag = el.EvTxEmpty = el.EvCTS = el.EvDSR = el.EvRLSD = el.EvBreak = el.EvErr = el.EvRing = el.EvRx80Full =
        true;
    Open("COM3");
    EXPECT_EQ(fake.LastPort()->Mask(), 0x05FFu);
}

// ---- writing and reading -----------------------------------------------

TEST_F(ComAsync, WriteSendsTheTextOfTheValue) {
    TSerialEventLog log(el);
    Open("COM3");
    auto port = fake.LastPort();
    log.Clear();
    Write(MakeInt(7));
    EXPECT_EQ(port->Written(), "7");
    Write(MakeStr(std::string("V\0S", 3)));
    Write(MakeReal(2.5));
    Write(MakeStr(""));
    TData null;
    Write(null);
    EXPECT_EQ(port->Written(), std::string("7V\0S2.5", 7));
    EXPECT_EQ(log.Entries(), (TLines{"onWrite 1", "onWrite 3", "onWrite 3", "onWrite 0", "onWrite 0"}));
}

TEST_F(ComAsync, WriteFailuresAndClosedPort) {
    TSerialEventLog log(el);
    Write(MakeStr("VERS"));
    EXPECT_TRUE(log.Entries().empty());
    EXPECT_FALSE(Called("Write 4"));

    Open("COM3");
    log.Clear();
    fake.script.writeFails = true;
    Write(MakeStr("VERS"));
    fake.script.writeFails = false;
    fake.script.writeNotStarted = true;
    Write(MakeStr("VERS"));
    fake.script.writeNotStarted = false;
    // A write that times out reports what went out.
    fake.script.writeLimit = 2;
    Write(MakeStr("VERS"));
    EXPECT_EQ(log.Entries(), (TLines{"onWrite 0", "onWrite 2"}));
    EXPECT_EQ(fake.LastPort()->Written(), "VE");
}

TEST_F(ComAsync, ReadDeliversWhatArrived) {
    el.EvRxChar = false;  // no reader thread takes the bytes first
    TSerialEventLog log(el);
    Read(MakeInt(4));
    EXPECT_TRUE(log.Entries().empty());
    Open("COM3");
    auto port = fake.LastPort();
    log.Clear();
    Read(MakeInt(0));
    port->Deliver(std::string("ab\0cd", 5));
    Read(MakeInt(3));
    Read(MakeStr("10"));
    // Zero bytes arrive like any other.
    EXPECT_EQ(log.Entries(), (TLines{"onRead ''", std::string("onRead 'ab\0'", 12), "onRead 'cd'"}));

    log.Clear();
    fake.script.readFails = true;
    port->Deliver("x");
    Read(MakeInt(1));
    fake.script.readFails = false;
    fake.script.readNotStarted = true;
    Read(MakeInt(1));
    fake.script.readNotStarted = false;
    EXPECT_EQ(log.Entries(), (TLines{"onRead ''"}));
}

TEST_F(ComAsync, ReadCountIsKeptWithinBounds) {
    el.EvRxChar = false;
    Open("COM3");
    fake.ClearCalls();
    Read(MakeInt(-5));
    Read(MakeInt(0x7FFFFFFF));
    EXPECT_EQ(fake.Calls(), (TLines{"Read 0", "Read " + std::to_string(TZelComAsync::MaxReadCount)}));
}

// ---- the reader thread -------------------------------------------------

TEST_F(ComAsync, BytesArrivingTogetherReachOnReadAsOneChunk) {
    // The main scheme's link: every byte-received event reads the queue.
    el.onRxChar = MakeLink<&TZelComAsync::doRead>(3, &el);
    TSerialEventLog log(el, {"onRxChar"});
    Open("COM3");
    auto port = fake.LastPort();
    ASSERT_TRUE(port->WaitUntilWaiting());
    port->Deliver("QUARNELV");
    ASSERT_TRUE(log.WaitFor("onRead", 1));
    EXPECT_EQ(log.Of("onRead"), (TLines{"onRead 'QUARNELV'"}));
    EXPECT_TRUE(Called("Read 8"));
    port->Deliver("IS");
    ASSERT_TRUE(log.WaitFor("onRead", 2));
    EXPECT_EQ(log.Of("onRead"), (TLines{"onRead 'QUARNELV'", "onRead 'IS'"}));
}

TEST_F(ComAsync, AwaitedLengthReachesThePortAndAReplyCutShortIsKept) {
    el.onRxChar = MakeLink<&TZelComAsync::doRead>(3, &el);
    TSerialEventLog log(el, {"onRxChar"});
    const auto await = [&](int32_t length) {
        TData d = MakeInt(length);
        el.doAwait(d, 5);
    };
    await(2);  // closed: nothing to tell
    Open("COM3");
    auto port = fake.LastPort();
    ASSERT_TRUE(port->WaitUntilWaiting());
    await(-1);
    await(1 << 20);
    await(2);
    await(0);  // nothing held: no reply was cut short
    EXPECT_FALSE(el.UnfinishedReplyPending());
    const TLines calls = fake.Calls();
    EXPECT_EQ(TLines(calls.end() - 4, calls.end()),
              (TLines{"SetReplyLength 0", "SetReplyLength 4096", "SetReplyLength 2", "SetReplyLength 0"}));
    // The port held a byte of an awaited acknowledgement: the read that
    // takes it keeps it, with the length it fell short of.
    await(2);
    fake.script.heldReply = 1;
    await(0);
    EXPECT_TRUE(el.UnfinishedReplyPending());
    port->Deliver("Q");
    ASSERT_TRUE(log.WaitFor("onRead", 1));
    EXPECT_FALSE(el.UnfinishedReplyPending());
    EXPECT_EQ(el.UnfinishedReply(), "Q");
    EXPECT_EQ(el.UnfinishedOf(), 2u);
    // A new open starts with nothing awaited and nothing kept.
    Close();
    Open("COM3");
    EXPECT_EQ(el.UnfinishedReply(), "");
}

TEST_F(ComAsync, EventsAreDispatchedInTheirFixedOrder) {
    el.EvRxFlag = el.EvTxEmpty = el.EvCTS = el.EvDSR = el.EvRLSD = el.EvBreak = el.EvErr = el.EvRing = el.EvRx80Full =
        true;
    TSerialEventLog log(el);
    Open("COM3");
    auto port = fake.LastPort();
    ASSERT_TRUE(port->WaitUntilWaiting());
    port->SetModemStatus(MsCtsOn | MsRlsdOn);
    log.Clear();
    port->Deliver("abc", 0x05FF);
    ASSERT_TRUE(log.WaitFor("onRx80Full", 1));
    EXPECT_EQ(log.Entries(), (TLines{"onRxChar 3", "onTxEmpty", "onBreak", "onRing", "onCTS 1", "onDSR 0", "onRxFlag",
                                     "onRLSD 1", "onError", "onRx80Full"}));
}

TEST_F(ComAsync, OnlyWatchedEventsFire) {
    el.EvCTS = true;
    TSerialEventLog log(el);
    Open("COM3");
    auto port = fake.LastPort();
    ASSERT_TRUE(port->WaitUntilWaiting());
    port->SetModemStatus(MsCtsOn);
    port->Raise(EvRing | EvBreak | EvCts);
    ASSERT_TRUE(log.WaitFor("onCTS", 1));
    port->SetModemStatus(0);
    port->Raise(EvCts);
    ASSERT_TRUE(log.WaitFor("onCTS", 2));
    EXPECT_EQ(log.Entries(), (TLines{"onBeforeOpen", "onOpen 3", "onCTS 1", "onCTS 0"}));
}

TEST_F(ComAsync, ErrorListHoldsTheErrorsOfTheLastErrorEvent) {
    el.AbortOnError = false;
    el.ParityCheck = false;
    el.EvErr = true;
    TSerialEventLog log(el);
    Open("COM3");
    auto port = fake.LastPort();
    EXPECT_TRUE(el.ErrorList().empty());
    port->Raise(EvErr, CeRxParity | CeOverrun);
    ASSERT_TRUE(log.WaitFor("onError", 1));
    EXPECT_EQ(el.ErrorList(), (TLines{"Receive Overrun Error"}));

    port->Raise(EvErr, 0xFFFF);
    ASSERT_TRUE(log.WaitFor("onError", 2));
    EXPECT_EQ(el.ErrorList(),
              (TLines{"Receive Framing Error", "Receive Overrun Error", "Receive Queue overflow", "TX Queue is full",
                      "Break Detected", "Port I/O Error", "Requested mode unsupported"}));
    Close();

    el.ParityCheck = true;
    Open("COM3");
    port = fake.LastPort();
    port->Raise(EvErr, CeRxParity | CeOverrun);
    ASSERT_TRUE(log.WaitFor("onError", 3));
    EXPECT_EQ(el.ErrorList(), (TLines{"Receive Parity Error", "Receive Overrun Error"}));
    Close();

    // With AbortOnError the list is left as it was.
    el.AbortOnError = true;
    Open("COM3");
    port = fake.LastPort();
    port->Raise(EvErr, CeFrame);
    ASSERT_TRUE(log.WaitFor("onError", 4));
    EXPECT_EQ(el.ErrorList(), (TLines{"Receive Parity Error", "Receive Overrun Error"}));
}

TEST_F(ComAsync, CloseWhileTheReaderWaitsAndNothingAfter) {
    TSerialEventLog log(el);
    Open("COM3");
    auto port = fake.LastPort();
    ASSERT_TRUE(port->WaitUntilWaiting());
    Close();
    EXPECT_FALSE(el.ReaderRunning());
    port->Deliver("late");
    port->Raise(EvRxChar);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(log.Entries(), Concat({"onBeforeOpen", "onOpen 3"}, CloseEvents));
    EXPECT_EQ(port->WaitsStarted(), 1);
}

TEST_F(ComAsync, NoReaderEventOnceTheCloseHasBegun) {
    el.EvTxEmpty = true;
    std::atomic<bool> closeBegun{false};
    std::atomic<bool> inHandler{false};
    struct TSlowHandler {
        std::atomic<bool>* inHandler;
        std::atomic<bool>* closeBegun;
        void doWork(TData&, uint16_t) {
            *inHandler = true;
            for (int i = 0; i < 1000 && !*closeBegun; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    } handler{&inHandler, &closeBegun};
    struct TMark {
        std::atomic<bool>* flag;
        void doWork(TData&, uint16_t) { *flag = true; }
    } mark{&closeBegun};
    el.onRxChar = MakeLink<&TSlowHandler::doWork>(0, &handler);
    TSerialEventLog log(el, {"onRxChar", "onBeforeClose"});
    el.onBeforeClose = MakeLink<&TMark::doWork>(0, &mark);
    Open("COM3");
    auto port = fake.LastPort();
    ASSERT_TRUE(port->WaitUntilWaiting());
    port->Raise(EvRxChar | EvTxEmpty);
    for (int i = 0; i < 2000 && !inHandler; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(inHandler);
    // The close waits for the handler under way, and the output-empty event
    // behind it never fires.
    Close();
    EXPECT_TRUE(log.Of("onTxEmpty").empty());
    EXPECT_FALSE(el.ReaderRunning());
}

TEST_F(ComAsync, CloseFromTheReaderThreadsOwnChain) {
    struct TCloser {
        TZelComAsync* el;
        std::atomic<bool> closedOpen{false};
        void doWork(TData& d, uint16_t) {
            el->doClose(d, 1);
            closedOpen = !el->Opened();
        }
    } closer{&el};
    el.onRxChar = MakeLink<&TCloser::doWork>(0, &closer);
    TSerialEventLog log(el, {"onRxChar"});
    Open("COM3");
    auto first = fake.LastPort();
    ASSERT_TRUE(first->WaitUntilWaiting());
    first->Deliver("x");
    ASSERT_TRUE(log.WaitFor("onClose", 1));
    // The element counts as closed once the close returns to the chain.
    for (int i = 0; i < 2000 && !closer.closedOpen; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(log.Entries(), Concat({"onBeforeOpen", "onOpen 3"}, CloseEvents));
    EXPECT_TRUE(closer.closedOpen);
    EXPECT_FALSE(el.Opened());
    EXPECT_TRUE(first->Closed());

    // The port opens again at once; the old reader has gone without another
    // wait.
    el.onRxChar = TPointLink{};
    Open("COM3");
    EXPECT_TRUE(el.Opened());
    auto second = fake.LastPort();
    EXPECT_NE(first, second);
    ASSERT_TRUE(second->WaitUntilWaiting());
    EXPECT_EQ(first->WaitsStarted(), 1);
}

TEST_F(ComAsync, CloseBetweenTwoWaitsDoesNotHang) {
    // The reader is held at the entry of its second wait until the close has
    // set the mask to 0: that wait must end at once instead of waiting for
    // ever for a mask change that has already happened.
    std::atomic<TFakeSerialPort*> held{nullptr};
    std::atomic<bool> atSecondWait{false};
    fake.OnWaitEntry = [&](int wait) {
        if (wait != 2) return;
        atSecondWait = true;
        for (int i = 0; i < 5000 && !(held && held.load()->Mask() == 0); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    el.EvTxEmpty = true;
    TSerialEventLog log(el, {"onRxChar"});
    Open("COM3");
    auto port = fake.LastPort();
    held = port.get();
    ASSERT_TRUE(port->WaitUntilWaiting());
    port->Raise(EvTxEmpty);
    ASSERT_TRUE(log.WaitFor("onTxEmpty", 1));
    // The close must come while the reader stands at that entry, not before
    // it got there (it would then not begin the second wait at all).
    for (int i = 0; i < 5000 && !atSecondWait; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(atSecondWait);
    std::thread closer([&] { Close(); });
    for (int i = 0; i < 5000 && el.Opened(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const bool closed = !el.Opened();
    if (!closed) port->Vanish();  // lets the hung close go, so the failure is reported
    closer.join();
    EXPECT_TRUE(closed);
    EXPECT_EQ(port->WaitsStarted(), 2);
}

TEST_F(ComAsync, CloseFromAnotherThread) {
    TSerialEventLog log(el);
    Open("COM3");
    ASSERT_TRUE(fake.LastPort()->WaitUntilWaiting());
    std::thread other([&] { Close(); });
    other.join();
    EXPECT_FALSE(el.Opened());
    EXPECT_EQ(log.Of("onClose"), (TLines{"onClose"}));
}

TEST_F(ComAsync, VanishedPortEndsTheReaderAndCanBeReopened) {
    TSerialEventLog log(el);
    Open("COM3");
    auto port = fake.LastPort();
    ASSERT_TRUE(port->WaitUntilWaiting());
    fake.ClearCalls();
    log.Clear();
    port->Vanish();
    // The reader thread gives up, leaves the port quiet and tells the loss
    // as a failed read.
    ASSERT_TRUE(log.WaitFor("onRead", 1));
    EXPECT_EQ(fake.Calls(), (TLines{"SetCommMask 0", "PurgeComm 12"}));
    EXPECT_EQ(log.Entries(), (TLines{"onRead ''"}));
    EXPECT_EQ(el.LossReason(), TFakeSerialPort::Loss);
    EXPECT_EQ(port->WaitsStarted(), 1);
    log.Clear();
    // Later failures are the same loss, not told again.
    Write(MakeStr("VERS"));
    Read(MakeInt(1));
    EXPECT_EQ(log.Entries(), (TLines{"onWrite 0", "onRead ''"}));
    log.Clear();
    Close();
    EXPECT_EQ(log.Entries(), CloseEvents);
    EXPECT_TRUE(port->Closed());
    EXPECT_EQ(el.LossReason(), TFakeSerialPort::Loss);
    log.Clear();
    Open("COM3");
    EXPECT_EQ(log.Entries(), (TLines{"onBeforeOpen", "onOpen 3"}));
    EXPECT_EQ(el.LossReason(), "");
    EXPECT_TRUE(fake.LastPort()->WaitUntilWaiting());
}

TEST_F(ComAsync, TransfersThatFindThePortGoneTellItOnce) {
    TSerialEventLog log(el, {"onRxChar"});
    Open("COM3");
    ASSERT_TRUE(fake.LastPort()->WaitUntilWaiting());
    log.Clear();
    // A failure that is no loss is only the transfer's own.
    fake.script.writeFails = true;
    Write(MakeStr("V"));
    fake.script.writeFails = false;
    EXPECT_EQ(log.Entries(), (TLines{"onWrite 0"}));
    EXPECT_EQ(el.LossReason(), "");

    // A write that finds the port gone: its count, then the loss.
    log.Clear();
    fake.script.writeLost = true;
    Write(MakeStr("ERS"));
    Write(MakeStr("ERS"));
    fake.script.writeLost = false;
    EXPECT_EQ(log.Entries(), (TLines{"onWrite 0", "onRead ''", "onWrite 0"}));
    EXPECT_EQ(el.LossReason(), TFakeSerialPort::Loss);

    // A read that finds it gone tells it with its own empty result.
    Close();
    Open("COM3");
    EXPECT_EQ(el.LossReason(), "");
    log.Clear();
    fake.script.readLost = true;
    Read(MakeInt(3));
    Read(MakeInt(3));
    fake.script.readLost = false;
    EXPECT_EQ(log.Entries(), (TLines{"onRead ''", "onRead ''"}));
    EXPECT_EQ(el.LossReason(), TFakeSerialPort::Loss);

    // A close ends the reader thread's wait without a loss.
    Close();
    Open("COM3");
    ASSERT_TRUE(fake.LastPort()->WaitUntilWaiting());
    log.Clear();
    Close();
    EXPECT_EQ(log.Of("onRead"), TLines{});
    EXPECT_EQ(el.LossReason(), "");
}

// ---- the port list -----------------------------------------------------

TEST_F(ComAsync, PortListWithOnlyAvailable) {
    fake.AddDevice("\\\\.\\COM1");
    fake.script.portList = {"COM1", "COM3", "COM7", "COM1"};
    TSerialEventLog log(el);
    Enum();
    EXPECT_EQ(log.Entries(), (TLines{"onPort 'COM1'", "onPort 'COM3'", "onPort 'COM1'"}));
    // Test opens are plain and closed at once.
    for (const auto& p : fake.Ports()) {
        EXPECT_FALSE(p->overlapped);
        EXPECT_TRUE(p->Closed());
    }

    // The port this element holds is not available.
    Open("COM3");
    log.Clear();
    Enum();
    EXPECT_EQ(log.Entries(), (TLines{"onPort 'COM1'", "onPort 'COM1'"}));
}

TEST_F(ComAsync, PortListWithoutOnlyAvailableAndWithoutList) {
    el.OnlyAvailable = false;
    fake.script.portList = {"COM9", "COM2"};
    TSerialEventLog log(el);
    Enum();
    EXPECT_EQ(log.Entries(), (TLines{"onPort 'COM9'", "onPort 'COM2'"}));
    EXPECT_TRUE(fake.Ports().empty());

    log.Clear();
    fake.script.listWorks = false;
    Enum();
    EXPECT_TRUE(log.Entries().empty());
}

}  // namespace
