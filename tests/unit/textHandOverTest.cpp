#include "base/textHandOver.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(TextHandOver, ReadersSeeTheHandedTextUntilTheWindowHasIt) {
    TTextHandOver t;
    EXPECT_FALSE(t.ForReader());
    t.Know("window", false);
    EXPECT_FALSE(t.ForReader()) << "a copy the window does not keep current is no answer";
    t.Know("window", true);
    EXPECT_EQ(t.ForReader(), "window");

    // One message for any number of texts handed over before it is taken.
    EXPECT_TRUE(t.HandOver("first"));
    EXPECT_FALSE(t.HandOver("second"));
    EXPECT_EQ(t.ForReader(), "second");

    std::vector<std::string> applied;
    t.ApplyPending([&](const std::string& text) {
        applied.push_back(text);
        t.Know(text, true);
    });
    EXPECT_EQ(applied, std::vector<std::string>{"second"});
    EXPECT_EQ(t.ForReader(), "second");
    EXPECT_TRUE(t.HandOver("third")) << "applied: the next text posts again";
}

TEST(TextHandOver, TextHandedOverWhileApplyingIsAppliedInTurn) {
    TTextHandOver t;
    t.HandOver("one");
    std::vector<std::string> applied;
    t.ApplyPending([&](const std::string& text) {
        applied.push_back(text);
        // Another thread hands a text over meanwhile: it posts nothing.
        if (applied.size() == 1) {
            EXPECT_FALSE(t.HandOver("two"));
        }
    });
    EXPECT_EQ(applied, (std::vector<std::string>{"one", "two"}));
    EXPECT_FALSE(t.ForReader());
}

TEST(TextHandOver, DirectSetWinsOverAnEarlierHandOver) {
    TTextHandOver t;
    t.HandOver("late");
    t.Drop();
    int calls = 0;
    t.ApplyPending([&](const std::string&) { ++calls; });
    EXPECT_EQ(calls, 0);
    EXPECT_FALSE(t.ForReader());
}

}  // namespace
