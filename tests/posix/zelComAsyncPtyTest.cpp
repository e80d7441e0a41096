// The serial element on the real POSIX backend, against a pseudo-terminal
// whose master side plays the device. Termios calls on a pty master act on
// its slave, which is how the test sees the line settings the element made.
#include <asm/termbits.h>
#include <sys/ioctl.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/portList.h"
#include "platform/serialPort.h"
#include "schemes/lineSettings.h"
#include "tests/fakes/serialElementTest.h"
#include "tests/posix/ptyPair.h"

using TLines = std::vector<std::string>;

namespace {

// CPU time of the whole process so far.
std::chrono::microseconds CpuTime() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return std::chrono::seconds(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           std::chrono::microseconds(u.ru_utime.tv_usec + u.ru_stime.tv_usec);
}

class ComAsyncPty : public SerialElementTest {
protected:
    ComAsyncPty() {
        // The system backend, whatever a test before may have installed.
        platform::SetSerialBackend(nullptr);
        name = platform::RegisterFreePortPath(pty.SlavePath());
        number = platform::ComPortNumber(name);
    }
    ~ComAsyncPty() override {
        Close();
        platform::UnregisterPortPath(name);
    }

    TPtyPair pty;
    int number = 0;
};

TEST_F(ComAsyncPty, OpensTheRegisteredPtyWithTheLineSettings) {
    ASSERT_TRUE(pty.Valid());
    ASSERT_NE(number, 0);
    TSerialEventLog log(el, {"onRxChar"});
    Open();
    // A pty has no modem lines, so no line event fires at open.
    EXPECT_EQ(log.Entries(), (TLines{"onBeforeOpen", "onOpen " + std::to_string(number)}));
    ASSERT_TRUE(el.Opened());

    termios2 t{};
    ASSERT_EQ(ioctl(pty.Master(), TCGETS2, &t), 0);
    EXPECT_EQ(t.c_ospeed, 38462u);
    EXPECT_EQ(t.c_cflag & CBAUD, tcflag_t(BOTHER));
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL | INLCR | ISTRIP), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
}

TEST_F(ComAsyncPty, WritesReachTheDevice) {
    TSerialEventLog log(el, {"onRxChar"});
    Open();
    Write("VERS");
    EXPECT_EQ(pty.Receive(4), "VERS");
    Write(std::string("\0\xFF\r\n", 4));
    EXPECT_EQ(pty.Receive(4), std::string("\0\xFF\r\n", 4));
    EXPECT_EQ(log.Of("onWrite"), (TLines{"onWrite 4", "onWrite 4"}));
}

TEST_F(ComAsyncPty, ReceivedBytesComeInChunksThroughOnRxCharAndDoRead) {
    TSerialEventLog log(el, {"onRxChar"});
    Open();
    const std::string reply = "QUARNELVISK MZK7 1.3\r\n";
    ASSERT_TRUE(pty.Send(reply));
    ASSERT_TRUE(WaitForBytes(log, reply.size()));
    EXPECT_EQ(Received(log), reply);
    // Every byte arrives exactly once, in order, whatever the chunking.
    std::string block;
    for (int i = 0; i < 256; ++i) block += char(i);
    ASSERT_TRUE(pty.Send(block));
    ASSERT_TRUE(WaitForBytes(log, reply.size() + block.size()));
    EXPECT_EQ(Received(log), reply + block);
    for (const TData& d : log.ValuesOf("onRead")) EXPECT_FALSE(d.StrValue.empty());
}

TEST_F(ComAsyncPty, RepliesAreFramedByTheirAwaitedLength) {
    TSerialEventLog log(el, {"onRxChar"});
    Open();
    const auto await = [&](int32_t length) {
        TData d = MakeInt(length);
        el.doAwait(d, 5);
    };
    // Halves further apart than any quiet time are still one reply.
    await(4);
    ASSERT_TRUE(pty.Send("4B"));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_TRUE(log.Of("onRead").empty());
    ASSERT_TRUE(pty.Send("7Z"));
    ASSERT_TRUE(WaitForBytes(log, 4));
    // Unknown, a reply sent in one go comes whole; the next is a chunk of
    // its own, as it was sent once the first had arrived.
    await(0);
    const std::string reply = "QUARNELVISK MZK7 1.3\r\n";
    ASSERT_TRUE(pty.Send(reply));
    ASSERT_TRUE(WaitForBytes(log, 4 + reply.size()));
    TLines chunks;
    for (const TData& d : log.ValuesOf("onRead")) chunks.push_back(d.StrValue);
    EXPECT_EQ(chunks, (TLines{"4B7Z", reply}));
}

TEST_F(ComAsyncPty, CloseWhileTheReaderWaits) {
    TSerialEventLog log(el, {"onRxChar"});
    Open();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    log.Clear();
    Close();
    EXPECT_EQ(log.Entries(), (TLines{"onBeforeClose", "onCTS 0", "onDSR 0", "onRLSD 0", "onClose"}));
    EXPECT_FALSE(el.Opened());
    EXPECT_FALSE(el.ReaderRunning());
    // Nothing arrives after the close.
    pty.Send("late");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(log.Of("onRead").empty());
}

TEST_F(ComAsyncPty, WaitBegunAfterTheMaskWentToZeroReturns) {
    // A close can set the mask to 0 between two waits of the reader thread;
    // the wait that begins afterwards must not wait for ever.
    std::string failure;
    auto port =
        platform::SystemSerialBackend().CreatePort(std::string(platform::DevicePathPrefix) + name, true, failure);
    ASSERT_TRUE(port);
    ASSERT_TRUE(port->SetCommMask(platform::EvRxChar));
    ASSERT_TRUE(port->SetCommMask(0));
    std::atomic<bool> returned{false};
    uint32_t events = 0xFF;
    std::thread waiter([&] {
        port->WaitCommEvent(events);
        returned = true;
    });
    for (int i = 0; i < 1000 && !returned; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const bool inTime = returned;
    port->Close();  // releases a wait that hung
    waiter.join();
    EXPECT_TRUE(inTime);
    EXPECT_EQ(events, 0u);
}

TEST_F(ComAsyncPty, ReopenAfterClose) {
    TSerialEventLog log(el, {"onRxChar"});
    for (int round = 0; round < 3; ++round) {
        Open();
        ASSERT_TRUE(el.Opened()) << round;
        const std::string text = "round" + std::to_string(round);
        pty.Send(text);
        ASSERT_TRUE(WaitForBytes(log, text.size())) << round;
        EXPECT_EQ(Received(log), text);
        Close();
        log.Clear();
    }
}

TEST_F(ComAsyncPty, OnlyAvailableLeavesOutThePortHeldOpen) {
    TSerialEventLog log(el, {"onRxChar"});
    TData none;
    el.doEnumPorts(none, 4);
    const std::string listed = "onPort '" + name + "'";
    TLines entries = log.Entries();
    EXPECT_EQ(std::count(entries.begin(), entries.end(), listed), 1);
    Open();
    log.Clear();
    el.doEnumPorts(none, 4);
    entries = log.Entries();
    EXPECT_EQ(std::count(entries.begin(), entries.end(), listed), 0);
    el.OnlyAvailable = false;
    el.doEnumPorts(none, 4);
    entries = log.Entries();
    EXPECT_EQ(std::count(entries.begin(), entries.end(), listed), 1);
}

TEST_F(ComAsyncPty, SecondElementCannotOpenTheSamePort) {
    Open();
    TZelComAsync other;
    ApplyLineSettings(other);
    TSerialEventLog log(other);
    TData d = MakeStr(name);
    other.doOpen(d, 0);
    EXPECT_EQ(log.Entries(), (TLines{"onBeforeOpen", "onOpen 0"}));
}

TEST_F(ComAsyncPty, RefusedSettingsFailTheOpen) {
    el.Parity = 7;
    TSerialEventLog log(el, {"onRxChar"});
    Open();
    EXPECT_EQ(log.Entries(),
              (TLines{"onBeforeOpen", "onBeforeClose", "onCTS 0", "onDSR 0", "onRLSD 0", "onClose", "onOpen 0"}));
    // The port was released: it opens with sound settings.
    el.Parity = 0;
    log.Clear();
    Open();
    EXPECT_EQ(log.Of("onOpen"), (TLines{"onOpen " + std::to_string(number)}));
}

TEST_F(ComAsyncPty, UnknownNamesDoNotOpen) {
    TSerialEventLog log(el, {"onRxChar"});
    platform::UnregisterPortPath(name);
    Open();
    EXPECT_EQ(log.Of("onOpen"), (TLines{"onOpen 0"}));
    TData d = MakeStr("COM12A");
    el.doOpen(d, 0);
    EXPECT_EQ(log.Of("onOpen"), (TLines{"onOpen 0", "onOpen 0"}));
}

TEST_F(ComAsyncPty, WriteThatTimesOutReportsWhatWentOut) {
    el.WriteTotalTimeoutConstant = 200;
    el.WriteTotalTimeoutMultiplier = 0;
    TSerialEventLog log(el, {"onRxChar"});
    Open();
    // Nobody reads the master: the pty's buffer fills up.
    const std::string big(4 << 20, 'x');
    Write(big);
    const auto writes = log.ValuesOf("onWrite");
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_GT(writes[0].IntValue, 0);
    EXPECT_LT(writes[0].IntValue, int32_t(big.size()));
}

TEST_F(ComAsyncPty, HangUpEndsTheReaderAndTheNameOpensAgain) {
    TSerialEventLog log(el, {"onRxChar"});
    Open();
    ASSERT_TRUE(el.Opened());
    pty.Send("ab");
    ASSERT_TRUE(WaitForBytes(log, 2));
    EXPECT_EQ(el.LossReason(), "");
    pty.HangUp();
    // The loss is told at once, once, as a failed read; the reader thread
    // ends instead of spinning on the hung-up line.
    ASSERT_TRUE(log.WaitFor("onRead", 2));
    EXPECT_NE(el.LossReason(), "");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto before = CpuTime();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_LT(CpuTime() - before, std::chrono::milliseconds(250));
    EXPECT_EQ(log.Of("onRead"), (TLines{"onRead 'ab'", "onRead ''"}));

    log.Clear();
    Write("VERS");
    TData count = MakeInt(4);
    el.doRead(count, 3);
    EXPECT_EQ(log.Entries(), (TLines{"onWrite 0", "onRead ''"}));
    log.Clear();
    Close();
    EXPECT_EQ(log.Entries(), (TLines{"onBeforeClose", "onCTS 0", "onDSR 0", "onRLSD 0", "onClose"}));

    // A new device under the same name.
    TPtyPair second;
    ASSERT_TRUE(platform::RegisterPortPath(name, second.SlavePath()));
    log.Clear();
    Open();
    EXPECT_EQ(log.Of("onOpen"), (TLines{"onOpen " + std::to_string(number)}));
    EXPECT_EQ(el.LossReason(), "");
    second.Send("again");
    ASSERT_TRUE(WaitForBytes(log, 5));
    EXPECT_EQ(Received(log), "again");
    Close();
}

TEST_F(ComAsyncPty, TransfersOnAHungUpLineTellTheLossOnce) {
    // No reader thread: the transfers find the hang-up themselves.
    el.EvRxChar = false;
    TSerialEventLog log(el);
    Open();
    ASSERT_TRUE(el.Opened());
    pty.HangUp();
    log.Clear();
    Write("VERS");
    Write("VERS");
    EXPECT_EQ(log.Entries(), (TLines{"onWrite 0", "onRead ''", "onWrite 0"}));
    EXPECT_NE(el.LossReason(), "");
    Close();

    TPtyPair second;
    ASSERT_TRUE(platform::RegisterPortPath(name, second.SlavePath()));
    Open();
    ASSERT_TRUE(el.Opened());
    EXPECT_EQ(el.LossReason(), "");
    second.HangUp();
    log.Clear();
    TData count = MakeInt(4);
    el.doRead(count, 3);
    EXPECT_EQ(log.Entries(), (TLines{"onRead ''"}));
    EXPECT_NE(el.LossReason(), "");
}

TEST_F(ComAsyncPty, CloseFromTheReaderChainThenReopen) {
    struct TCloser {
        TZelComAsync* el;
        void doWork(TData& d, uint16_t) { el->doClose(d, 1); }
    } closer{&el};
    el.onRxChar = MakeLink<&TCloser::doWork>(0, &closer);
    TSerialEventLog log(el, {"onRxChar"});
    Open();
    pty.Send("x");
    ASSERT_TRUE(log.WaitFor("onClose", 1));
    for (int i = 0; i < 1000 && el.Opened(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_FALSE(el.Opened());
    el.onRxChar = MakeLink<&TZelComAsync::doRead>(3, &el);
    log.Clear();
    Open();
    EXPECT_EQ(log.Of("onOpen"), (TLines{"onOpen " + std::to_string(number)}));
    pty.Send("yz");
    ASSERT_TRUE(WaitForBytes(log, 2));
}

}  // namespace
