#include "base/alignLayout.h"

#include <gtest/gtest.h>

namespace {

struct TPlaced {
    int left, top, width, height;
    bool operator==(const TPlaced&) const = default;
};

TPlaced Placed(int alignment, int width, int height, align::TRoom& room) {
    align::TBounds b{-1, -1, -1, -1};
    EXPECT_TRUE(align::Place(alignment, width, height, room, b));
    return {b.Left, b.Top, b.Width, b.Height};
}

TEST(AlignLayout, EachSideTakesItsStripOfWhatTheEarlierOnesLeftAndTheClientTheRest) {
    align::TRoom room{0, 0, 100, 50};
    EXPECT_EQ(Placed(align::Left, 10, 99, room), (TPlaced{0, 0, 10, 50}));
    EXPECT_EQ(Placed(align::Top, 99, 5, room), (TPlaced{10, 0, 90, 5}));
    EXPECT_EQ(Placed(align::Right, 20, 99, room), (TPlaced{80, 5, 20, 45}));
    EXPECT_EQ(Placed(align::Bottom, 99, 7, room), (TPlaced{10, 43, 70, 7}));
    EXPECT_EQ(Placed(align::Client, 1, 1, room), (TPlaced{10, 5, 70, 38}));
    // The client child leaves the room to the next one.
    EXPECT_EQ(Placed(align::Client, 1, 1, room), (TPlaced{10, 5, 70, 38}));
}

TEST(AlignLayout, NothingPlacedWithoutASideAndTheClientNeverBelowOneByOne) {
    align::TRoom room{5, 5, 5, 5};
    align::TBounds b{1, 2, 3, 4};
    for (int alignment : {int(align::None), 6, -1}) {
        EXPECT_FALSE(align::Place(alignment, 10, 10, room, b)) << alignment;
        EXPECT_EQ(room.Left + room.Top + room.Right + room.Bottom, 20) << alignment;
        EXPECT_EQ(b.Width, 3) << alignment;
    }
    EXPECT_EQ(Placed(align::Client, 0, 0, room), (TPlaced{5, 5, 1, 1}));
}

}  // namespace
