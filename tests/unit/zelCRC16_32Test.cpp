#include "elements/zelCRC16_32.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "tests/unit/elementTestSupport.h"
#include "tests/unit/testSupport.h"

namespace {

using namespace std::string_literals;

struct CRCFixture : ::testing::Test {
    DispatchOn on;
    TZelCRC16_32 crc;
    TRecorder out;

    void SetUp() override { crc.onCRC = out.Link(); }
    void Configure(int kind, const std::string& polynom, const std::string& init, int hexInput = 0) {
        crc.Kind = uint8_t(kind);
        crc.Polynom = polynom;
        crc.Init = init;
        crc.HexInput = uint8_t(hexInput);
    }
    std::string Run(TData incoming) {
        out.own.clear();
        const TData after = Fire(MakeLink<&TZelCRC16_32::doCRC>(0, &crc), std::move(incoming));
        EXPECT_EQ(out.Count(), 1u);
        EXPECT_EQ(after.StrValue, out.Count() ? out.Value(0).StrValue : "");
        return out.Count() ? out.Value(0).StrValue : "<nothing>";
    }
    std::string Run(const std::string& text) { return Run(MakeStr(text)); }
};

TEST_F(CRCFixture, CheckValuesOfEveryKind) {
    Configure(0, "$A001", "$FFFF");
    EXPECT_EQ(Run("123456789"), "4B37");  // CRC-16/MODBUS
    crc.Kind = 1;
    EXPECT_EQ(Run("123456789"), "374B");
    crc.Kind = 2;
    EXPECT_EQ(Run("123456789"), "C8B4");
    Configure(3, "1021", "FFFF");
    EXPECT_EQ(Run("123456789"), "29B1");  // CRC-16/CCITT-FALSE
    Configure(4, "EDB88320", "FFFFFFFF");
    EXPECT_EQ(Run("123456789"), "CBF43926");  // CRC-32
}

TEST_F(CRCFixture, HexadecimalInput) {
    Configure(0, "$A001", "$FFFF", 1);
    EXPECT_EQ(Run("31 32 33 34 35 36 37 38 39"), "4B37");
    EXPECT_EQ(Run("313233343536373839"), "4B37");
    EXPECT_EQ(Run("$31$32 $33 34 35363738 39"), "4B37");
    EXPECT_EQ(Run("00"), "40BF");  // the single zero byte
    EXPECT_EQ(Run("0"), "40BF");
    // "A" is the byte 0x0A, "$41" the byte 0x41: compare with the bytes themselves.
    crc.HexInput = 0;
    const std::string lineFeed = Run("\n");
    const std::string letterA = Run("A");
    crc.HexInput = 1;
    EXPECT_EQ(Run("A"), lineFeed);
    EXPECT_EQ(Run("$41"), letterA);
    EXPECT_NE(lineFeed, letterA);
    // A piece that is not hexadecimal is the byte of its leading digits.
    crc.HexInput = 0;
    const std::string zeroByte = Run("\0"s);
    const std::string oneByte = Run("\x01"s);
    crc.HexInput = 1;
    EXPECT_EQ(zeroByte, "40BF");
    EXPECT_EQ(Run("G1"), zeroByte);
    EXPECT_EQ(Run("1G"), oneByte);
    // An odd number of digits leaves a last piece of one digit.
    crc.HexInput = 0;
    const std::string twoBytes = Run("1\x03"s);
    crc.HexInput = 1;
    EXPECT_EQ(Run("313"), twoBytes);
}

TEST_F(CRCFixture, WithoutHexInputEveryByteCounts) {
    Configure(0, "$A001", "$FFFF", 0);
    EXPECT_NE(Run("31 32"), Run("12"));
    EXPECT_EQ(Run("\0"s), "40BF");
    // Only the value 1 switches hexadecimal input on.
    const std::string asText = Run("00");
    EXPECT_NE(asText, "40BF");
    crc.HexInput = 2;
    EXPECT_EQ(Run("00"), asText);
}

TEST_F(CRCFixture, EmptyDataGivesTheStartValueUntouched) {
    Configure(0, "$A001", "FFFF");
    EXPECT_EQ(Run(""), "FFFF");
    crc.Init = "12AB";
    crc.SwapBytes = 1;
    EXPECT_EQ(Run(""), "AB12");
    crc.SwapBytes = 0;
    crc.Kind = 2;
    EXPECT_EQ(Run(""), "12AB");  // not complemented
    crc.Kind = 4;
    crc.Init = "FFFFFFFF";
    EXPECT_EQ(Run(""), "FFFFFFFF");
    crc.HexInput = 1;
    crc.Kind = 0;
    crc.Init = "$0042";
    EXPECT_EQ(Run("  $ "), "0042");  // nothing left once spaces and "$" are gone
}

TEST_F(CRCFixture, SwapBytesOnlyTouchesSixteenBitResults) {
    Configure(0, "$A001", "$FFFF");
    crc.SwapBytes = 1;
    EXPECT_EQ(Run("123456789"), "374B");
    Configure(4, "EDB88320", "FFFFFFFF");
    EXPECT_EQ(Run("123456789"), "CBF43926");
}

TEST_F(CRCFixture, UnknownKindsLeaveTheStartValue) {
    Configure(9, "$A001", "$1234");
    EXPECT_EQ(Run("123456789"), "1234");
    crc.Init = "$ABCDEF";  // printed with 4 digits
    EXPECT_EQ(Run("123456789"), "CDEF");
}

TEST_F(CRCFixture, RunningValueCarriedThroughTheInitPoint) {
    // The upload's way: one byte per call in hexadecimal, each call starting
    // from the text the previous one published.
    Configure(0, "$A001", "$FFFF", 1);
    TSource published(MakeStr("FFFF"));
    crc.InitPoint = published.Link();
    for (const char* byte : {"31", "32", "33", "34", "35", "36", "37", "38", "39"})
        published.value = MakeStr(Run(byte));
    EXPECT_EQ(published.value.StrValue, "4B37");
    EXPECT_EQ(published.reads, 9);
}

TEST_F(CRCFixture, ReadsDataThenPolynomThenInit) {
    // All points unlinked and no defaults: the incoming items in that order.
    Configure(0, "", "");
    EXPECT_EQ(Run(MakeChain({MakeStr("123456789"), MakeStr("$A001"), MakeStr("$FFFF")})), "4B37");
    EXPECT_EQ(Run(MakeChain({MakeStr("123456789"), MakeStr("1021"), MakeStr("FFFF")})),
              "1DBA");  // the bitwise reflected CRC with 1021
    // With the properties set the later items are not used.
    Configure(3, "1021", "FFFF");
    EXPECT_EQ(Run(MakeChain({MakeStr("123456789"), MakeStr("$A001"), MakeStr("0")})), "29B1");
    TSource polynom(MakeStr("$A001"));
    crc.PolynomPoint = polynom.Link();
    crc.Kind = 0;
    EXPECT_EQ(Run("123456789"), "4B37");
    TSource data(MakeStr("123456789"));
    crc.Data = data.Link();
    EXPECT_EQ(Run("ignored"), "4B37");
}

TEST_F(CRCFixture, EveryCallUsesTheTableOfItsOwnKindAndPolynomial) {
    Configure(0, "$A001", "$FFFF");
    EXPECT_EQ(Run("123456789"), "4B37");
    crc.Polynom = "8408";
    crc.Init = "0";
    EXPECT_EQ(Run("123456789"), "2189");  // CRC-16/KERMIT
    crc.Kind = 3;
    crc.Polynom = "1021";
    crc.Init = "FFFF";
    EXPECT_EQ(Run("123456789"), "29B1");
    crc.Kind = 0;
    crc.Polynom = "$A001";
    EXPECT_EQ(Run("123456789"), "4B37");
}

TEST(CRCThreads, ConcurrentCallsOnOneElementStayCorrect) {
    TZelCRC16_32 crc;
    std::atomic<int> wrong{0};
    auto work = [&](uint32_t polynom, const char* expected) {
        for (int i = 0; i < 3000; ++i)
            if (crc.Compute("123456789", 0xFFFF, polynom) != expected) ++wrong;
    };
    // Two polynomials: each call that finds the table of the other one
    // rebuilds it, or works on a table of its own while the other thread
    // holds it.
    std::thread a(work, 0xA001u, "4B37");
    std::thread b(work, 0x8408u, "6F91");  // CRC-16/X-25 core without its final XOR
    a.join();
    b.join();
    EXPECT_EQ(wrong.load(), 0);
}

TEST(ParseHex, LeadingDigitsAfterAnOptionalDollar) {
    EXPECT_EQ(ParseHex("FFFF"), 0xFFFFu);
    EXPECT_EQ(ParseHex("$FFFF"), 0xFFFFu);
    EXPECT_EQ(ParseHex("ffff"), 0xFFFFu);
    EXPECT_EQ(ParseHex("12x4"), 0x12u);
    EXPECT_EQ(ParseHex(""), 0u);
    EXPECT_EQ(ParseHex("$"), 0u);
    EXPECT_EQ(ParseHex("x1"), 0u);
    EXPECT_EQ(ParseHex("$$1"), 0u);
    EXPECT_EQ(ParseHex("EDB88320"), 0xEDB88320u);
    EXPECT_EQ(ParseHex("123456789"), 0x23456789u);  // 32-bit wrap-around
}

}  // namespace
