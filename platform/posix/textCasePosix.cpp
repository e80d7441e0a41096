// Windows-1251 lower-casing without the system: the small letter of every
// capital is found through the code page's own character table, so the
// pairs cannot drift from the table the text literals are converted with.
#include <array>

#include "../../base/cp1251.h"
#include "../textCase.h"

namespace platform::backend {

namespace {

// The Unicode small letter of the Cyrillic capitals Windows-1251 can hold;
// 0 for every other character.
constexpr char16_t SmallCyrillic(char16_t c) {
    if (c >= 0x0400 && c <= 0x040F) return char16_t(c + 0x50);  // Ѐ..Џ: Ё, Ђ, Є, І, Ї, Ј, Љ, ...
    if (c >= 0x0410 && c <= 0x042F) return char16_t(c + 0x20);  // А..Я
    if (c == 0x0490) return 0x0491;                             // Ґ
    return 0;
}

constexpr std::array<unsigned char, 256> MakeLowerTable() {
    std::array<unsigned char, 256> table{};
    for (int b = 0; b < 256; ++b) table[size_t(b)] = static_cast<unsigned char>(b);
    for (int b = 'A'; b <= 'Z'; ++b) table[size_t(b)] = static_cast<unsigned char>(b + 32);
    for (int b = 0x80; b < 0x100; ++b) {
        const char16_t small = SmallCyrillic(cp1251::HighHalf[b - 0x80]);
        if (small == 0) continue;
        const int code = cp1251::FromUnicode(small);
        if (code >= 0) table[size_t(b)] = static_cast<unsigned char>(code);
    }
    return table;
}

constexpr std::array<unsigned char, 256> LowerTable = MakeLowerTable();

}  // namespace

void LowerAnsiZ(char* text) {
    for (; *text != 0; ++text) *text = static_cast<char>(LowerTable[static_cast<unsigned char>(*text)]);
}

}  // namespace platform::backend
