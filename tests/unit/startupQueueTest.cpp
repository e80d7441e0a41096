#include "runtime/startupQueue.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/Share.h"

namespace {

std::vector<int> startupOrder;
void StartupA(void* p) {
    startupOrder.push_back(*static_cast<int*>(p));
    static int late = 3;
    if (startupOrder.size() == 1) AddStartup(StartupA, &late);
}

TEST(ShareStartup, RunsInOrderIncludingRoutinesAddedWhileRunning) {
    ResetStartup();
    startupOrder.clear();
    int one = 1, two = 2;
    AddStartup(StartupA, &one);
    AddStartup(StartupA, &two);
    EXPECT_FALSE(StartupDone);
    RunStartup();
    EXPECT_EQ(startupOrder, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(StartupDone);
    RunStartup();
    EXPECT_EQ(startupOrder.size(), 3u);
    ResetStartup();
}

}  // namespace
