#include "runtime/Share.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/unit/testSupport.h"

namespace {

TEST(ShareConvert, ToStringOfEveryKind) {
    EXPECT_EQ(ToString(MakeReal(0.5)), "0.5");
    EXPECT_EQ(ToString(MakeReal(1234.5)), "1234.5");
    EXPECT_EQ(ToString(MakeReal(-0.001)), "-0.001");
    EXPECT_EQ(ToString(MakeInt(-7)), "-7");
    EXPECT_EQ(ToString(MakeStr("abc")), "abc");
    EXPECT_EQ(ToString(TData()), "");
    TMemoryStream stream;
    TData s;
    SetStream(s, &stream);
    EXPECT_EQ(ToString(s), "");
}

TEST(ShareConvert, ToInteger) {
    EXPECT_EQ(ToInteger(MakeStr("  12")), 0);
    EXPECT_EQ(ToInteger(MakeStr("-12x")), -12);
    EXPECT_EQ(ToInteger(MakeReal(2.5)), 2);
    EXPECT_EQ(ToInteger(MakeReal(3.5)), 4);
    EXPECT_EQ(ToInteger(MakeReal(-2.5)), -2);
    EXPECT_EQ(ToInteger(MakeReal(-2.6)), -3);
    EXPECT_EQ(ToInteger(TData()), 0);
    // Outside the 32-bit range the result saturates; NaN gives 0.
    EXPECT_EQ(ToInteger(MakeReal(1e10)), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(ToInteger(MakeReal(-1e10)), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ToInteger(MakeReal(std::nan(""))), 0);
    EXPECT_EQ(ToInteger(MakeReal(-std::numeric_limits<double>::infinity())), std::numeric_limits<int32_t>::min());
}

TEST(ShareConvert, ToRealToIndexIsNonZero) {
    EXPECT_DOUBLE_EQ(ToReal(MakeInt(3)), 3.0);
    EXPECT_DOUBLE_EQ(ToReal(MakeStr("1.25")), 1.25);
    EXPECT_DOUBLE_EQ(ToReal(TData()), 0.0);

    EXPECT_EQ(ToIndex(MakeStr("0")), 0);
    EXPECT_EQ(ToIndex(MakeStr("x")), -1);
    EXPECT_EQ(ToIndex(MakeStr("")), -1);
    EXPECT_EQ(ToIndex(MakeStr("7")), 7);
    EXPECT_EQ(ToIndex(MakeStr("00")), 0);
    EXPECT_EQ(ToIndex(TData()), -1);
    EXPECT_EQ(ToIndex(MakeInt(0)), 0);
    EXPECT_EQ(ToIndex(MakeReal(1.5)), 2);

    EXPECT_TRUE(IsNonZero(MakeStr("0")));
    EXPECT_FALSE(IsNonZero(MakeInt(0)));
    EXPECT_TRUE(IsNonZero(TData()));
    EXPECT_TRUE(IsNonZero(MakeReal(0.0)));
    EXPECT_TRUE(IsInteger(MakeInt(0)));
    EXPECT_FALSE(IsInteger(MakeStr("1")));
}

TEST(ShareChain, CopyChainIsDeepAndStopsAtNull) {
    TData src = MakeChain({MakeInt(1), MakeInt(2), TData(), MakeInt(4)});
    TData dst;
    CopyChain(dst, src);
    ASSERT_TRUE(dst.Next);
    EXPECT_NE(dst.Next.get(), src.Next.get());
    EXPECT_EQ(dst.Next->IntValue, 2);
    ASSERT_TRUE(dst.Next->Next);
    EXPECT_EQ(dst.Next->Next->DataType, TypeNull);
    EXPECT_FALSE(dst.Next->Next->Next);  // the null item ends the chain
    FreeChain(dst);
    EXPECT_FALSE(dst.Next);
    EXPECT_EQ(dst.IntValue, 1);
}

TEST(ShareText, TypeNamesAndFonts) {
    EXPECT_EQ(TypeName(TypeNull), "NULL");
    EXPECT_EQ(TypeName(TypeStream), "Stream");
    EXPECT_EQ(TypeName(TypeNoValue), "Break");
    EXPECT_EQ(TypeName(23), "");
    const TFontRec f = MakeFont("MS Sans Serif", 8, 1, 0xFF00000F, 1);
    EXPECT_EQ(f.Name, "MS Sans Serif");
    EXPECT_EQ(f.Size, 8);
    EXPECT_EQ(f.Style, 1);
    EXPECT_EQ(f.Color, 0xFF00000Fu);
}

}  // namespace
