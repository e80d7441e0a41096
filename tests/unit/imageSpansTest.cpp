#include "image/imageSpans.h"

#include <gtest/gtest.h>

TEST(ImageSpans, OverlapsAreJoinedWhenTheyAgreeAndRefusedWhenNot) {
    TImageSpans spans;
    spans.Add(0x110, "defg", "line 3");
    spans.Add(0x100, "abcd", "line 1");
    spans.Add(0x104, "e", "line 2");   // touches: joined
    spans.Add(0x112, "fg", "line 4");  // gives the same bytes again
    std::vector<TImageSpan> merged;
    ASSERT_FALSE(spans.Merge(merged));
    ASSERT_EQ(merged.size(), 2u);
    EXPECT_EQ(merged[0].Address, 0x100u);
    EXPECT_EQ(merged[0].Bytes, "abcde");
    EXPECT_EQ(merged[1].Bytes, "defg");

    spans.Add(0x102, "cX", "line 5");
    const TImageFault fault = spans.Merge(merged);
    EXPECT_EQ(fault.Where, "line 5");
    EXPECT_EQ(fault.Address, 0x103u);
    EXPECT_EQ(fault.What, "gives 0x58 where line 1 gave 0x64");
}
