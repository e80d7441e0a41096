// ASCII letter case and COM port names: Windows-1251 bytes above 0x7F are
// never folded, so a Cyrillic letter only equals itself.
#pragma once

#include <string>
#include <string_view>

constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

inline std::string AsciiUpperText(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = AsciiUpper(c);
    return upper;
}

// Equal when ASCII letters are compared without their case.
constexpr bool SameTextAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    return true;
}

// "COM" in any letter case followed by digits: Number is the value of the
// digits up to the first other character (0 when there is none, or when the
// name does not begin with "COM"; at most nine digits count); Exact when the
// digits run to the end of the name and do not begin with a zero.
struct TComPortName {
    int Number = 0;
    bool Exact = false;
};

constexpr TComPortName ParseComPortName(std::string_view name) {
    TComPortName parsed;
    if (name.size() < 3 || !SameTextAscii(name.substr(0, 3), "COM")) return parsed;
    size_t i = 3;
    for (; i < name.size() && i < 12 && name[i] >= '0' && name[i] <= '9'; ++i)
        parsed.Number = parsed.Number * 10 + (name[i] - '0');
    parsed.Exact = i > 3 && i == name.size() && name[3] != '0';
    return parsed;
}
