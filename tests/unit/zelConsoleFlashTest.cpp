// The flasher's console scheme over the scripted serial backend, with the
// watchdog on a manual timer that the test never ticks: an adapter that goes
// away must end the exchange by itself, whichever operation finds it gone.
#include "console/zelConsoleFlash.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/resources.h"
#include "tests/fakes/manualTimer.h"
#include "tests/fakes/serialFake.h"
#include "tests/unit/testSupport.h"

namespace {

bool Eventually(const std::function<bool()>& done) {
    for (int i = 0; i < 10000 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return done();
}

// Two blocks, registered as STREAM0 before the scheme builds its image stream.
struct TShortImage {
    const std::string image = std::string(256, '\x11') + std::string(256, '\x22');
    TShortImage() {
        platform::RegisterLinkedResource("STREAM0", platform::ResourceTypeStream,
                                         reinterpret_cast<const unsigned char*>(image.data()), image.size());
    }
    ~TShortImage() { platform::UnregisterLinkedResource("STREAM0", platform::ResourceTypeStream); }
};

struct ConsoleFlash : ::testing::Test {
    DispatchOn on;
    TShortImage resource;
    fakes::TManualTimers timers;
    TFakeSerialBackend fake;
    TClassConsoleFlash scheme{false};
    std::atomic<bool> found{false}, finished{false};
    std::atomic<int> notFound{0};

    ConsoleFlash() {
        fake.AddDevice("\\\\.\\COM3");
        scheme.StatusEdit->Echo = false;
        scheme.WriteButton->OnSignal = [this](const TData& d) { found = found || IsNonZero(d); };
        scheme.NotFound->OnSignal = [this](const TData&) { ++notFound; };
        scheme.Finished->OnSignal = [this](const TData&) { finished = true; };
    }
    ~ConsoleFlash() override {
        scheme.Close();
        DisableDispatch();
        scheme.WaitQuiet();
    }
    std::shared_ptr<TFakeSerialPort> Identified() {
        scheme.PickPort("COM3");
        auto port = fake.LastPort();
        port->Deliver("QUARNELVISK MZK7 1.3");
        EXPECT_TRUE(Eventually([&] { return found.load(); }));
        return port;
    }
    void ExpectFailedByLoss() {
        EXPECT_TRUE(scheme.ErrorText->Shown());
        EXPECT_TRUE(scheme.CheckText->Shown());
        EXPECT_FALSE(scheme.SuccessLabel->Shown());
        EXPECT_EQ(scheme.Exchange.SerialPort->LossReason(), TFakeSerialPort::Loss);
        ASSERT_NE(timers.Last(), nullptr);
        EXPECT_EQ(timers.Last()->Starts(), 1);
    }
};

TEST_F(ConsoleFlash, PortGoneWhileAwaitingAnAcknowledgementFailsAtOnce) {
    auto port = Identified();
    scheme.ClickWrite();
    EXPECT_EQ(port->Written(), "VERS" + resource.image.substr(0, 256));
    EXPECT_FALSE(finished);
    port->Vanish();
    ASSERT_TRUE(Eventually([&] { return finished.load(); }));
    ExpectFailedByLoss();
}

TEST_F(ConsoleFlash, WriteThatFindsThePortGoneEndsTheBlock) {
    auto port = Identified();
    // Set while the reader thread waits with nothing to do.
    fake.script.writeLost = true;
    scheme.ClickWrite();
    // Told on this thread, inside the block: no further byte is tried.
    EXPECT_TRUE(finished);
    EXPECT_EQ(port->Written(), "VERS");
    const auto calls = fake.Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Write 1"), 1);
    ExpectFailedByLoss();
}

TEST_F(ConsoleFlash, ReadThatFindsThePortGoneDuringTheProbe) {
    scheme.PickPort("COM3");
    auto port = fake.LastPort();
    ASSERT_TRUE(port->WaitUntilWaiting());
    fake.script.readLost = true;
    port->Deliver("QUARNELVISK MZK7 1.3");
    // Back in its wait, the reader thread has told all it will.
    ASSERT_TRUE(Eventually([&] { return port->WaitsStarted() >= 2; }));
    EXPECT_FALSE(found);
    // The failed read tells the loss itself: the detection heard one empty reply.
    EXPECT_EQ(notFound, 1);
    EXPECT_EQ(scheme.Exchange.SerialPort->LossReason(), TFakeSerialPort::Loss);
}

// As in the window: a failure told after the success leaves the error texts
// hidden. The upload takes no reply once it has ended, so no wire can show
// this; the scheme's outcome links alone decide it.
TEST_F(ConsoleFlash, AFailureToldAfterTheSuccessLeavesTheErrorTextsHidden) {
    CallEventNull(scheme.Exchange.Uploader->onEvent[2]);         // onSuccess
    CallEventStr(scheme.Exchange.Uploader->onEvent[3], "1AB2");  // onError
    EXPECT_TRUE(finished);
    EXPECT_TRUE(scheme.SuccessLabel->Shown());
    EXPECT_FALSE(scheme.ErrorText->Shown());
    EXPECT_FALSE(scheme.CheckText->Shown());
}

}  // namespace
