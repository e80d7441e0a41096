#include "base/cp1251.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1251, LiteralsAreConvertedWhileCompiling) {
    constexpr std::string_view text = "Устройство: ёЁ №"_w;
    static_assert(text.size() == 16);
    EXPECT_EQ(text, "\xD3\xF1\xF2\xF0\xEE\xE9\xF1\xF2\xE2\xEE: \xB8\xA8 \xB9");
    EXPECT_EQ("plain ASCII\r\n"_w, "plain ASCII\r\n");
    EXPECT_EQ("Ая"_w, "\xC0\xFF");
}

TEST(Cp1251, RoundTripThroughUtf8AndUtf16) {
    const std::string text(
        ""
        "Проверьте все соединения и попробуйте ещё раз."_w);
    EXPECT_EQ(cp1251::ToUtf8(text), "Проверьте все соединения и попробуйте ещё раз.");
    EXPECT_EQ(cp1251::FromUtf8("Проверьте все соединения и попробуйте ещё раз."), text);
    std::string all;
    for (int b = 0; b < 256; ++b)
        if (b != 0x98) all += char(b);
    EXPECT_EQ(cp1251::FromUtf8(cp1251::ToUtf8(all)), all);
    EXPECT_EQ(cp1251::FromUtf16(cp1251::ToUtf16(all)), all);
    EXPECT_EQ(cp1251::ToUtf16("\xC0\xFF\xB8 \xB9"), u"\u0410\u044F\u0451 \u2116");
    EXPECT_EQ(cp1251::ToUtf16(std::string("\x98\0", 2)), std::u16string(u"\uFFFD\0", 2));
    EXPECT_EQ(cp1251::FromUtf16(u"\u4E2D\uFFFD"), "??");
}

TEST(Cp1251, ControlBytesBecomeVisibleForTerminals) {
    EXPECT_EQ(cp1251::ToUtf8Visible(std::string("a\x1b[2J\x07\x7f\r\n\0\xC0", 11)), "a^[[2J^G^?^M^J^@А");
}

TEST(Cp1251, BadInputBecomesQuestionMarks) {
    EXPECT_EQ(cp1251::ToUtf8("\x98"), "?");
    EXPECT_EQ(cp1251::FromUtf8("\xD0"), "?");          // cut-off sequence
    EXPECT_EQ(cp1251::FromUtf8("\x80x"), "?x");        // stray continuation byte
    EXPECT_EQ(cp1251::FromUtf8("\xE4\xB8\xAD"), "?");  // no Windows-1251 code
}

}  // namespace
