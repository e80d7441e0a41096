// The Windows timer stopped while its tick waits for the stopping thread:
// the upload's watchdog shows its error texts through synchronous window
// calls, and the user-interface thread may be stopping it at that moment.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/timer.h"

TEST(Win32Timer, StopServesTheWindowCallOfATickInProgress) {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    auto timer = platform::CreatePeriodicTimer();
    std::atomic<bool> inTick{false};
    std::atomic<int> answered{0};
    std::atomic<int> unanswered{0};
    timer->Start(5, 1, [&] {
        if (inTick.exchange(true)) return;
        // Give the test thread time to be inside Stop, then call into it.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        DWORD_PTR result = 0;
        if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result))
            ++answered;
        else
            ++unanswered;
    });
    while (!inTick.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const auto start = std::chrono::steady_clock::now();
    timer->Stop();
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(answered.load(), 1) << "the tick's call was not served while Stop waited";
    EXPECT_EQ(unanswered.load(), 0);
    EXPECT_LT(waited, std::chrono::seconds(5));
    EXPECT_FALSE(timer->Running());
    DestroyWindow(window);
}
