#include "elements/If_arg.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/memoryStream.h"

namespace {

using namespace std::string_literals;

// Which of the kinds 0 to 5 hold, as a string of six 0/1 flags.
std::string Kinds(const TData& x, const TData& y) {
    std::string out;
    for (int kind = 0; kind <= 5; ++kind) out += CompareData(x, y, kind) ? '1' : '0';
    return out;
}

TEST(CompareData, IntegersAgainstEveryType) {
    //                                   =<>≤≥≠
    EXPECT_EQ(Kinds(MakeInt(5), MakeInt(7)), "010101");
    EXPECT_EQ(Kinds(MakeInt(7), MakeInt(7)), "100110");
    EXPECT_EQ(Kinds(MakeInt(9), MakeInt(7)), "001011");
    EXPECT_EQ(Kinds(MakeInt(5), MakeStr("7")), "010101");
    EXPECT_EQ(Kinds(MakeInt(0), MakeStr("abc")), "100110");  // non-numeric text is 0
    EXPECT_EQ(Kinds(MakeInt(2), MakeReal(2.5)), "100110");   // 2.5 rounds to 2
    EXPECT_EQ(Kinds(MakeInt(0), TData()), "100110");         // null is 0
    EXPECT_EQ(Kinds(MakeInt(-1), MakeInt(1)), "010101");     // signed
    EXPECT_EQ(Kinds(MakeInt(INT32_MIN), MakeInt(INT32_MAX)), "010101");
}

TEST(CompareData, TextsAgainstEveryType) {
    EXPECT_EQ(Kinds(MakeStr("abc"), MakeStr("ABC")), "000111");  // ordering folds case, equality does not
    EXPECT_EQ(Kinds(MakeStr("abc"), MakeStr("abc")), "100110");
    EXPECT_EQ(Kinds(MakeStr("abc"), MakeStr("abd")), "010101");
    EXPECT_EQ(Kinds(MakeStr("b"), MakeStr("abc")), "001011");
    EXPECT_EQ(Kinds(MakeStr("0"), MakeInt(0)), "100110");
    EXPECT_EQ(Kinds(MakeStr("10"), MakeInt(9)), "010101");  // as text: "10" < "9"
    EXPECT_EQ(Kinds(MakeStr(""), TData()), "100110");
    // Only A to Z fold: Cyrillic bytes compare as bytes.
    EXPECT_EQ(Kinds(MakeStr("\xC0"), MakeStr("\xE0")), "010101");
}

TEST(CompareData, TextOrderingStopsAtAZeroByteButEqualityDoesNot) {
    EXPECT_EQ(Kinds(MakeStr("a\0b"s), MakeStr("a\0c"s)), "000111");
    EXPECT_EQ(Kinds(MakeStr("a\0b"s), MakeStr("a\0b"s)), "100110");
}

TEST(CompareData, RealsAgainstEveryType) {
    EXPECT_EQ(Kinds(MakeReal(2.5), MakeInt(2)), "001011");
    EXPECT_EQ(Kinds(MakeReal(2.5), MakeStr("2.5")), "100110");
    EXPECT_EQ(Kinds(MakeReal(-0.5), MakeReal(0.25)), "010101");
    EXPECT_EQ(Kinds(MakeReal(0.0), TData()), "100110");
}

TEST(CompareData, NullEqualsOnlyNullWhateverTheKind) {
    for (int kind = 0; kind <= 9; ++kind) {
        EXPECT_TRUE(CompareData(TData(), TData(), kind)) << kind;
        EXPECT_FALSE(CompareData(TData(), MakeInt(0), kind)) << kind;
        EXPECT_FALSE(CompareData(TData(), MakeStr(""), kind)) << kind;
    }
}

TEST(CompareData, OtherTypesAndUnknownKindsAreFalse) {
    TMemoryStream stream;
    TData s;
    SetStream(s, &stream);
    EXPECT_EQ(Kinds(s, s), "000000");
    TData noValue;
    noValue.DataType = TypeNoValue;
    EXPECT_EQ(Kinds(noValue, noValue), "000000");
    for (int kind : {6, 7, 255, -1}) {
        EXPECT_FALSE(CompareData(MakeInt(1), MakeInt(1), kind));
        EXPECT_FALSE(CompareData(MakeStr("a"), MakeStr("a"), kind));
        EXPECT_FALSE(CompareData(MakeReal(1), MakeReal(1), kind));
    }
}

TEST(CompareData, TheForwardFlagDoesNotChangeTheType) {
    TData x = MakeInt(3);
    x.DataType |= TypeForward;
    EXPECT_TRUE(CompareData(x, MakeInt(3), 0));
}

}  // namespace
