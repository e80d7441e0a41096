// The serial element on the Win32 backend under Wine, against a pty that
// the harness (serial-wine-pty.sh) maps as a COM port and that echoes every
// byte. The harness names the port in QV_SERIAL_PORT and the modem lines the
// preload library reports in QV_MODEM_LINES (TIOCM_* bits).
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "platform/portList.h"
#include "tests/fakes/serialElementTest.h"

using TLines = std::vector<std::string>;

namespace {

std::string Env(const char* name, const char* fallback) {
    const char* v = std::getenv(name);
    return v && *v ? v : fallback;
}

class WinePty : public SerialElementTest {
protected:
    WinePty() { name = Env("QV_SERIAL_PORT", "COM7"); }

    TLines List() {
        TSerialEventLog log(el, {"onRxChar"});
        TData d;
        el.doEnumPorts(d, 4);
        TLines names;
        for (const TData& v : log.ValuesOf("onPort")) names.push_back(v.StrValue);
        return names;
    }
    bool Listed(const TLines& names) const { return std::find(names.begin(), names.end(), name) != names.end(); }

    const int lines = std::atoi(Env("QV_MODEM_LINES", "288").c_str());
};

TEST_F(WinePty, RegistryListsThePort) {
    el.OnlyAvailable = false;
    const TLines all = List();
    EXPECT_TRUE(Listed(all));
    // The element's list is the registry's, in its order.
    TLines registry;
    ASSERT_TRUE(platform::ListSystemPorts([&](const std::string& n) { registry.push_back(n); }));
    EXPECT_EQ(all, registry);
    el.OnlyAvailable = true;
    EXPECT_TRUE(Listed(List()));
}

TEST_F(WinePty, OpenReportsTheModemLinesAndThePortNumber) {
    TSerialEventLog log(el, {"onRxChar"});
    Open();
    TLines expected = {"onBeforeOpen"};
    if (lines & 0x020) expected.push_back("onCTS 1");
    if (lines & 0x100) expected.push_back("onDSR 1");
    if (lines & 0x040) expected.push_back("onRLSD 1");
    expected.push_back("onOpen " + std::to_string(platform::ComPortNumber(name)));
    EXPECT_EQ(log.Entries(), expected);
    EXPECT_TRUE(el.ReaderRunning());
}

TEST_F(WinePty, OnlyAvailableLeavesOutThePortHeldOpen) {
    Open();
    ASSERT_TRUE(el.Opened());
    EXPECT_FALSE(Listed(List()));
    Close();
    EXPECT_TRUE(Listed(List()));
}

TEST_F(WinePty, EchoArrivesThroughOnRxCharAndDoRead) {
    TSerialEventLog log(el, {"onRxChar"});
    Open();
    ASSERT_TRUE(el.Opened());
    Write("VERS");
    ASSERT_TRUE(WaitForBytes(log, 4));
    // The echo's bytes come one by one, a character time apart: one chunk.
    EXPECT_EQ(log.Of("onRead"), (TLines{"onRead 'VERS'"}));
    // A block as the upload sends it: one write per byte.
    std::string block;
    for (int i = 0; i < 256; ++i) {
        block += char(i);
        Write(std::string(1, char(i)));
    }
    ASSERT_TRUE(WaitForBytes(log, 4 + block.size()));
    EXPECT_EQ(Received(log), "VERS" + block);
    const TLines writes = log.Of("onWrite");
    EXPECT_EQ(writes.size(), 257u);
    EXPECT_EQ(std::count(writes.begin(), writes.end(), "onWrite 1"), 256);
}

TEST_F(WinePty, AReplyOfKnownLengthIsOneChunkHoweverFarApartItsPartsCome) {
    TSerialEventLog log(el, {"onRxChar"});
    Open();
    ASSERT_TRUE(el.Opened());
    TData length = MakeInt(8);
    el.doAwait(length, 5);
    Write("QUAR");
    std::this_thread::sleep_for(std::chrono::milliseconds(150));  // far past any quiet time
    Write("NELV");
    ASSERT_TRUE(WaitForBytes(log, 8));
    EXPECT_EQ(log.Of("onRead"), (TLines{"onRead 'QUARNELV'"}));
}

TEST_F(WinePty, CloseWhileTheReaderWaitsThenReopen) {
    TSerialEventLog log(el, {"onRxChar"});
    for (int round = 0; round < 3; ++round) {
        Open();
        ASSERT_TRUE(el.Opened()) << round;
        Sleep(50);
        log.Clear();
        Close();
        EXPECT_EQ(log.Entries(), (TLines{"onBeforeClose", "onCTS 0", "onDSR 0", "onRLSD 0", "onClose"})) << round;
        EXPECT_FALSE(el.ReaderRunning());
    }
    Open();
    Write("again");
    ASSERT_TRUE(WaitForBytes(log, 5));
    EXPECT_EQ(Received(log), "again");
}

// The reader thread's chain makes a synchronous window call into this
// thread while this thread closes the port: the close must serve it.
std::atomic<bool> served{false};
LRESULT CALLBACK ServingProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_APP) {
        served = true;
        return 42;
    }
    return DefWindowProcA(hwnd, msg, w, l);
}

TEST_F(WinePty, CloseServesTheMessagesTheReaderChainSends) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ServingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QvSerialServing";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(window);

    struct TSender {
        HWND window;
        std::atomic<bool> sending{false};
        std::atomic<LRESULT> answer{0};
        std::atomic<bool> delivered{false};
        void doWork(TData&, uint16_t) {
            sending = true;
            DWORD_PTR result = 0;
            // Bounded, so that a broken close fails the test instead of
            // hanging it.
            delivered = SendMessageTimeoutA(window, WM_APP, 0, 0, SMTO_NORMAL, 20000, &result) != 0;
            answer = LRESULT(result);
        }
    } sender{window};
    el.onRead = MakeLink<&TSender::doWork>(0, &sender);
    Open();
    ASSERT_TRUE(el.Opened());
    served = false;
    Write("x");
    for (int i = 0; i < 1500 && !sender.sending; ++i) Sleep(10);
    ASSERT_TRUE(sender.sending);
    const DWORD start = GetTickCount();
    Close();
    EXPECT_LT(GetTickCount() - start, 15000u);
    EXPECT_TRUE(served);
    EXPECT_TRUE(sender.delivered);
    EXPECT_EQ(sender.answer, 42);
    EXPECT_FALSE(el.Opened());
    DestroyWindow(window);
}

}  // namespace
