#include "platform/threadWait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(threadWait, WaitServingSentMessagesEndsWhenDoneOrAtTheLimit) {
    std::atomic<bool> done{false};
    platform::TThread worker;
    ASSERT_TRUE(worker.Start(
        [&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            done = true;
        },
        false));
    EXPECT_TRUE(platform::WaitServingSentMessages([&] { return done.load(); }, std::chrono::seconds(30)));
    worker.Join();
    EXPECT_FALSE(platform::WaitServingSentMessages([] { return false; }, std::chrono::milliseconds(30)));
    // No limit at all still ends when done.
    EXPECT_TRUE(platform::WaitServingSentMessages([] { return true; }, std::chrono::milliseconds::max()));
}
