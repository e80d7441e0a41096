// The Windows timeout rules that the POSIX backend emulates.
#include "platform/commTimeouts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr uint32_t All = 0xFFFFFFFF;

// "immediate firstByte total:MS interval:MS" for what applies.
std::string Describe(const TReadWaits& w) {
    std::string text = std::string(w.immediate ? "immediate" : "") + (w.firstByte ? "first-byte" : "");
    if (w.totalLimit) text += " total:" + std::to_string(w.totalMs);
    if (w.intervalLimit) text += " interval:" + std::to_string(w.intervalMs);
    return text.empty() ? "forever" : text;
}

TEST(commTimeouts, ReadWaitsFollowTheDriversRules) {
    struct {
        uint32_t interval, multiplier, constant;
        std::string waits;
    } cases[] = {
        {All, 0, 0, "immediate"},                 // the schemes' setting: what is queued, at once
        {All, All, 500, "first-byte total:500"},  // up to 500 ms for the first byte
        {0, 0, 0, "forever"},                     // no timeout: all the bytes asked for
        {50, 10, 100, " total:140 interval:50"},  // 4 bytes: 10 each and 100, 50 between two
        {All, 0, 100, " total:100"},              // a total alone
        {All, All, All, " total:21474836475"},    // no first-byte rule: 4 x all ones + all ones
    };
    for (const auto& c : cases) {
        platform::TCommTimeouts t;
        t.ReadIntervalTimeout = c.interval;
        t.ReadTotalTimeoutMultiplier = c.multiplier;
        t.ReadTotalTimeoutConstant = c.constant;
        EXPECT_EQ(Describe(ReadWaits(t, 4)), c.waits) << c.interval << " " << c.multiplier << " " << c.constant;
    }
}

TEST(commTimeouts, WriteWaitsAreLimitedWhenEitherTotalIsSet) {
    platform::TCommTimeouts t;
    EXPECT_FALSE(WriteWaits(t, 3).limited);
    t.WriteTotalTimeoutMultiplier = 100;
    t.WriteTotalTimeoutConstant = 1000;
    EXPECT_TRUE(WriteWaits(t, 3).limited);
    EXPECT_EQ(WriteWaits(t, 3).totalMs, 1300u);  // the schemes' 1000 ms and 100 ms a byte
}

}  // namespace
