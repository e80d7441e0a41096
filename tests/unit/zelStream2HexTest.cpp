#include "elements/zelStream2Hex.h"

#include <gtest/gtest.h>

#include "tests/unit/elementTestSupport.h"
#include "tests/unit/testSupport.h"

namespace {

using namespace std::string_literals;

struct Stream2HexFixture : ::testing::Test {
    DispatchOn on;
    TZelStream2Hex hex;
    TRecorder out;

    void SetUp() override { hex.onResult = out.Link(); }
    std::string Run(TData incoming) {
        out.own.clear();
        Fire(MakeLink<&TZelStream2Hex::doConvert>(0, &hex), std::move(incoming));
        EXPECT_EQ(out.Count(), 1u);
        return out.Count() ? out.Value(0).StrValue : "<nothing>";
    }
};

TEST_F(Stream2HexFixture, TwoCapitalDigitsPerByteHighNibbleFirst) {
    EXPECT_EQ(Run(MakeStr("\x00\xAB"s)), "00AB");
    EXPECT_EQ(Run(MakeStr("abc")), "616263");
    EXPECT_EQ(Run(MakeStr("")), "");
    EXPECT_EQ(Run(MakeStr("\x1F\x0A")), "1F0A");
    EXPECT_EQ(Run(MakeStr("\xFF\x10\x01")), "FF1001");
    EXPECT_EQ(Run(MakeStr("K7FZ")), "4B37465A");
}

TEST_F(Stream2HexFixture, NonTextValuesConvertTheirText) {
    EXPECT_EQ(Run(MakeInt(12)), "3132");
    EXPECT_EQ(Run(TData()), "");
    EXPECT_EQ(Run(MakeChain({MakeStr("A"), MakeStr("B")})), "41");
}

TEST_F(Stream2HexFixture, LinkedDataPoint) {
    TSource source(MakeStr("\x01"));
    hex.Data = source.Link();
    EXPECT_EQ(Run(MakeStr("ignored")), "01");
}

TEST(BytesToHex, EveryByteValue) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += char(b);
    const std::string text = BytesToHex(all);
    ASSERT_EQ(text.size(), 512u);
    static const char digits[] = "0123456789ABCDEF";
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(text[size_t(2 * b)], digits[b / 16]);
        EXPECT_EQ(text[size_t(2 * b + 1)], digits[b % 16]);
    }
}

}  // namespace
