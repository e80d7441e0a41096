#include "platform/textCase.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "base/cp1251.h"

namespace {

std::string Lowered(std::string s) {
    platform::LowerAnsi(s);
    return s;
}

// Every capital of Windows-1251 with its small letter; every other byte is
// left alone.
std::map<unsigned char, unsigned char> ExpectedPairs() {
    std::map<unsigned char, unsigned char> pairs;
    for (int c = 'A'; c <= 'Z'; ++c) pairs[static_cast<unsigned char>(c)] = static_cast<unsigned char>(c + 32);
    const std::string capitals = std::string("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"_w) + std::string("ЁЂЃЄЅІЇЈЉЊЋЌЎЏҐ"_w);
    const std::string smalls = std::string("абвгдежзийклмнопрстуфхцчшщъыьэюя"_w) + std::string("ёђѓєѕіїјљњћќўџґ"_w);
    for (size_t i = 0; i < capitals.size(); ++i)
        pairs[static_cast<unsigned char>(capitals[i])] = static_cast<unsigned char>(smalls[i]);
    return pairs;
}

TEST(TextCase, LowersEveryByteAsTheCodePageDoes) {
    const auto pairs = ExpectedPairs();
    ASSERT_EQ(pairs.size(), 26u + 32u + 15u);
    for (int b = 1; b < 256; ++b) {
        const unsigned char byte = static_cast<unsigned char>(b);
        const auto found = pairs.find(byte);
        const unsigned char expected = found == pairs.end() ? byte : found->second;
        EXPECT_EQ(static_cast<unsigned char>(Lowered(std::string(1, char(byte)))[0]), expected) << "byte " << b;
    }
}

TEST(TextCase, CyrillicWords) {
    EXPECT_EQ(Lowered(std::string("Устройство: ЁЛКА Ґ"_w)), std::string("устройство: ёлка ґ"_w));
    EXPECT_EQ(Lowered("QUARNELVISK MZK7 1.3"), "quarnelvisk mzk7 1.3");
}

TEST(TextCase, StopsAtTheFirstZeroByte) {
    const std::string text("AB\0CD", 5);
    EXPECT_EQ(Lowered(text), std::string("ab\0CD", 5));
    EXPECT_EQ(Lowered(std::string("\0X", 2)), std::string("\0X", 2));
    EXPECT_EQ(Lowered(""), "");
}

}  // namespace
