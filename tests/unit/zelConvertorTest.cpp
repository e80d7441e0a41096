#include "elements/zelConvertor.h"

#include <gtest/gtest.h>

#include "tests/unit/elementTestSupport.h"
#include "tests/unit/testSupport.h"

namespace {

struct ConvertorFixture : ::testing::Test {
    DispatchOn on;
    TZelConvertor convertor;
    TRecorder out;

    void SetUp() override { convertor.onResult = out.Link(); }
    std::string Convert(int mode, int digits, TData incoming) {
        convertor.Mode = mode;
        convertor.Digits = digits;
        out.own.clear();
        Fire(MakeLink<&TZelConvertor::doConvert>(0, &convertor), std::move(incoming));
        EXPECT_EQ(out.Count(), 1u);
        return out.Count() ? out.Value(0).StrValue : "";
    }
};

TEST_F(ConvertorFixture, CodeToCharacter) {
    EXPECT_EQ(Convert(4, 1, MakeInt(65)), "A");
    EXPECT_EQ(Convert(4, 1, MakeInt(0)), std::string(1, '\0'));
    EXPECT_EQ(Convert(4, 1, MakeInt(256)), std::string(1, '\0'));
    EXPECT_EQ(Convert(4, 1, MakeInt(-1)), std::string(1, '\xFF'));
    EXPECT_EQ(Convert(4, 1, MakeInt(0x1FF)), std::string(1, '\xFF'));
    EXPECT_EQ(out.Value(0).Tag(), TypeStr);
}

TEST_F(ConvertorFixture, IntegerToHexadecimal) {
    EXPECT_EQ(Convert(6, 1, MakeInt(9)), "9");
    EXPECT_EQ(Convert(6, 1, MakeInt(171)), "AB");
    EXPECT_EQ(Convert(6, 1, MakeInt(255)), "FF");
    EXPECT_EQ(Convert(6, 4, MakeInt(10)), "000A");
    EXPECT_EQ(Convert(6, 0, MakeInt(0)), "0");
    EXPECT_EQ(Convert(6, 1, MakeInt(-1)), "FFFFFFFF");
    EXPECT_EQ(Convert(6, 1, MakeInt(INT32_MIN)), "80000000");
}

TEST_F(ConvertorFixture, DigitsUseTheLowFourBits) {
    EXPECT_EQ(Convert(6, -1, MakeInt(1)), "000000000000001");  // -1 gives 15 digits
    EXPECT_EQ(Convert(6, 15, MakeInt(1)), "000000000000001");
    EXPECT_EQ(Convert(6, 16, MakeInt(1)), "1");  // 16 has low bits 0
    EXPECT_EQ(Convert(6, 18, MakeInt(1)), "01");
    EXPECT_EQ(Convert(6, 2, MakeInt(0x12345)), "12345");  // never truncated
}

TEST_F(ConvertorFixture, TheNumberIsReadAsAnInteger) {
    EXPECT_EQ(Convert(6, 1, MakeStr("26")), "1A");
    EXPECT_EQ(Convert(6, 1, MakeStr("x")), "0");
    EXPECT_EQ(Convert(6, 1, MakeReal(2.5)), "2");
    EXPECT_EQ(Convert(6, 1, TData()), "0");
    TSource source(MakeInt(0x41));
    convertor.Data = source.Link();
    EXPECT_EQ(Convert(4, 1, MakeInt(0x42)), "A");
}

TEST_F(ConvertorFixture, OtherModesGiveTheDecimalText) {
    EXPECT_EQ(Convert(0, 0, MakeInt(-12)), "-12");
    EXPECT_EQ(Convert(5, 0, MakeInt(65)), "65");
}

}  // namespace
