#include "runtime/textFormats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(ShareFormat, FormatRealExamples) {
    EXPECT_EQ(FormatReal(0.1), "0.1");
    EXPECT_EQ(FormatReal(100), "100");
    EXPECT_EQ(FormatReal(1e20), "100000000000000000000");
    EXPECT_EQ(FormatReal(-2.5), "-2.5");
    EXPECT_EQ(FormatReal(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(FormatReal(0.5), "0.5");
    EXPECT_EQ(FormatReal(1234.5), "1234.5");
    EXPECT_EQ(FormatReal(-0.001), "-0.001");
    EXPECT_EQ(FormatReal(0.0), "0");
    EXPECT_EQ(FormatReal(-0.0), "0");
    EXPECT_EQ(FormatReal(2.0 / 3.0), "0.666666666666667");
    EXPECT_EQ(FormatReal(123456789012345.0), "123456789012345");
    EXPECT_EQ(FormatReal(1e-5), "0.00001");
    EXPECT_EQ(FormatReal(1.5e-20), "0.000000000000000000015");
}

TEST(ShareFormat, FormatRealCarryIntoSixteenthDigit) {
    // Rounding 999999999999999.5 to fifteen digits carries over: the
    // rounded value has one more digit before the point.
    EXPECT_EQ(FormatReal(999999999999999.5), "1000000000000000");
    EXPECT_EQ(FormatReal(9.999999999999999), "10");
    EXPECT_EQ(FormatReal(-0.99999999999999999), "-1");
}

TEST(ShareFormat, FormatRealEndsOnEveryInput) {
    EXPECT_EQ(FormatReal(std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(FormatReal(-std::numeric_limits<double>::infinity()), "-INF");
    EXPECT_EQ(FormatReal(std::nan("")), "NAN");
    EXPECT_EQ(FormatReal(std::numeric_limits<double>::max()).size(), 309u);
    const std::string tiny = FormatReal(std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(tiny.substr(0, 6), "0.0000");
    EXPECT_EQ(tiny.substr(tiny.size() - 15), "494065645841247");
}

TEST(ShareFormat, FormatInteger) {
    EXPECT_EQ(FormatInteger(0), "0");
    EXPECT_EQ(FormatInteger(-7), "-7");
    EXPECT_EQ(FormatInteger(2147483647), "2147483647");
    EXPECT_EQ(FormatInteger(std::numeric_limits<int32_t>::min()), "-2147483648");
}

TEST(ShareFormat, ParseInteger) {
    EXPECT_EQ(ParseInteger(""), 0);
    EXPECT_EQ(ParseInteger("12abc"), 12);
    EXPECT_EQ(ParseInteger("abc"), 0);
    EXPECT_EQ(ParseInteger(" 5"), 0);
    EXPECT_EQ(ParseInteger("+7"), 7);
    EXPECT_EQ(ParseInteger("-12x"), -12);
    EXPECT_EQ(ParseInteger("--1"), 0);
    EXPECT_EQ(ParseInteger("-2147483648"), std::numeric_limits<int32_t>::min());
    // 32-bit wrap-around without overflow checks.
    EXPECT_EQ(ParseInteger("2147483648"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ParseInteger("4294967296"), 0);
    EXPECT_EQ(ParseInteger("4294967295"), -1);
    EXPECT_EQ(ParseInteger("99999999999999999999"), int32_t(uint32_t(1661992959u)));
}

TEST(ShareFormat, ParseReal) {
    EXPECT_EQ(ParseReal(""), 0.0);
    EXPECT_DOUBLE_EQ(ParseReal("1,5"), 15.0);
    EXPECT_DOUBLE_EQ(ParseReal("12abc3"), 123.0);
    EXPECT_DOUBLE_EQ(ParseReal("2.5e3"), 2500.0);
    EXPECT_DOUBLE_EQ(ParseReal("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(ParseReal("-.5"), -0.5);
    EXPECT_DOUBLE_EQ(ParseReal("25E-1"), 2.5);
    EXPECT_DOUBLE_EQ(ParseReal("+3"), 3.0);
    EXPECT_DOUBLE_EQ(ParseReal(" 4 2 "), 42.0);
    // Exponents beyond a double's range: zero stays zero, others saturate.
    EXPECT_EQ(ParseReal("0e999"), 0.0);
    EXPECT_EQ(ParseReal("1e99999999999"), HUGE_VAL);
    EXPECT_EQ(ParseReal("-1e4294967297"), -HUGE_VAL);
    EXPECT_EQ(ParseReal("1e-99999999999"), 0.0);
}

}  // namespace
