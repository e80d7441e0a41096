#include "elements/zelDataToFile.h"

#include <gtest/gtest.h>

#include "elements/zelMemoryStream.h"
#include "runtime/memoryStream.h"
#include "tests/unit/elementTestSupport.h"
#include "tests/unit/testSupport.h"

namespace {

struct DataToFileFixture : ::testing::Test {
    DispatchOn on;
    TZelMemoryStream image;
    TZelDataToFile reader;
    TRecorder out;

    void SetUp() override {
        reader.onGet = out.Link();
        reader.Stream = MakeLink<&TZelMemoryStream::getStream>(0, &image);
    }
    void Get() { Fire(MakeLink<&TZelDataToFile::doGet>(0, &reader), MakeStr("ignored")); }
};

TEST_F(DataToFileFixture, OneByteAPerCallThenZeros) {
    image.Stream = std::make_unique<TMemoryStream>(std::string("\xAB\x01"));
    for (int i = 0; i < 4; ++i) Get();
    ASSERT_EQ(out.Count(), 4u);
    EXPECT_EQ(out.Value(0).Tag(), TypeInt);
    EXPECT_EQ(out.Value(0).IntValue, 0xAB);
    EXPECT_EQ(out.Value(1).IntValue, 1);
    EXPECT_EQ(out.Value(2).IntValue, 0);
    EXPECT_EQ(out.Value(3).IntValue, 0);
    EXPECT_EQ(image.Stream->Position(), 2u);
}

TEST_F(DataToFileFixture, BytesAreUnsigned) {
    image.Stream = std::make_unique<TMemoryStream>(std::string("\xFF\x80\x00", 3));
    for (int i = 0; i < 3; ++i) Get();
    ASSERT_EQ(out.Count(), 3u);
    EXPECT_EQ(out.Value(0).IntValue, 255);
    EXPECT_EQ(out.Value(1).IntValue, 128);
    EXPECT_EQ(out.Value(2).IntValue, 0);
}

TEST_F(DataToFileFixture, ReadsGoOnFromTheStreamsPosition) {
    image.Stream = std::make_unique<TMemoryStream>(std::string("abc"));
    image.Stream->SetPosition(2);
    Get();
    ASSERT_EQ(out.Count(), 1u);
    EXPECT_EQ(out.Value(0).IntValue, 'c');
}

TEST_F(DataToFileFixture, NoStreamNoEvent) {
    reader.Stream = TPointLink();
    Get();
    EXPECT_EQ(out.Count(), 0u);
    TSource notAStream(MakeInt(5));
    reader.Stream = notAStream.Link();
    Get();
    EXPECT_EQ(out.Count(), 0u);
    EXPECT_EQ(notAStream.reads, 1);
}

TEST_F(DataToFileFixture, WalksTheWholeImage) {
    image.Stream = LoadResourceStream("STREAM0");
    const std::vector<uint8_t> bytes = image.Stream->Bytes();
    ASSERT_EQ(bytes.size(), 260096u);
    for (size_t i = 0; i < 300; ++i) Get();
    ASSERT_EQ(out.Count(), 300u);
    for (size_t i = 0; i < 300; ++i) ASSERT_EQ(out.Value(i).IntValue, bytes[i]) << i;
}

}  // namespace
