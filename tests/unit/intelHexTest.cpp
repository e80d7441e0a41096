#include "image/intelHex.h"

#include "imageRecordsTest.h"

TEST(IntelHex, WrittenBytesReadBackAtTheirAddress) { ExpectRoundTrips(WriteIntelHex, ReadIntelHex); }

TEST(IntelHex, SegmentAddressesWrapWithinTheirSegment) {
    // Segment 0x1000 (base 0x10000), two bytes from offset 0xFFFF; the start
    // address record is read and left alone; CR LF line ends and lower case.
    const auto spans =
        ReadBack(ReadIntelHex, ":020000021000EC\r\n:02ffff00aabb9b\r\n:0400000300001000E9\r\n:00000001FF\r\n");
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[0].Address, 0x10000u);
    EXPECT_EQ(spans[0].Bytes, "\xBB");
    EXPECT_EQ(spans[1].Address, 0x1FFFFu);
    EXPECT_EQ(spans[1].Bytes, "\xAA");
}
