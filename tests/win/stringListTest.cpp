#include "framework/stringList.h"

#include <gtest/gtest.h>

using fw::TStringList;

TEST(StringList, LinesEndAtCarriageReturnWithOptionalLineFeed) {
    TStringList list;
    list.SetText("a\r\nb\r\n");
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Item(0), "a");
    EXPECT_EQ(list.Item(1), "b");

    list.SetText("a\rb\rc");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Item(2), "c");
}

TEST(StringList, LineFeedAloneBelongsToTheLine) {
    TStringList list;
    list.SetText("a\nb");
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Item(0), "a\nb");
    list.SetText("a\r\n\nb");
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Item(1), "\nb");
}

TEST(StringList, EmptyLinesInsideAreKeptButNoFinalEmptyLine) {
    TStringList list;
    list.SetText("a\r\n\r\nb\r\n");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Item(1), "");
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
    list.SetText("\r\n");
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Item(0), "");
}

TEST(StringList, TextJoinsWithCrLfAfterEachItem) {
    TStringList list;
    EXPECT_EQ(list.GetText(), "");
    list.Add("x");
    list.Add("");
    list.Add("y");
    EXPECT_EQ(list.GetText(), "x\r\n\r\ny\r\n");
    TStringList again;
    again.SetText(list.GetText());
    ASSERT_EQ(again.Count(), 3);
    EXPECT_EQ(again.Item(2), "y");
}
