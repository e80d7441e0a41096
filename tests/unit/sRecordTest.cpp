#include "image/sRecord.h"

#include "imageRecordsTest.h"

TEST(SRecord, WrittenBytesReadBackAtTheirAddress) { ExpectRoundTrips(WriteSRecord, ReadSRecord); }

TEST(SRecord, SixteenAndTwentyFourBitAddressesWithAByteOrderMark) {
    const auto spans =
        ReadBack(ReadSRecord, "\xEF\xBB\xBFS00600004844521B\nS1051000AABB85\nS2060100000102F5\nS804000000FB\n");
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[0].Address, 0x1000u);
    EXPECT_EQ(spans[0].Bytes, "\xAA\xBB");
    EXPECT_EQ(spans[1].Address, 0x10000u);
    EXPECT_EQ(spans[1].Bytes, std::string("\x01\x02", 2));
}
