// ASCII letter case, fields of a text, and COM port names: Windows-1251
// bytes above 0x7F are never folded, so a Cyrillic letter only equals itself.
#pragma once

#include <string>
#include <string_view>
#include <vector>

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

// Whether text begins with start, ASCII letters compared without their case.
constexpr bool StartsWithAscii(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && SameTextAscii(text.substr(0, start.size()), start);
}

// The fields of text between separators: "a:b:" gives "a", "b" and "".
inline std::vector<std::string_view> SplitFields(std::string_view text, char separator) {
    std::vector<std::string_view> fields;
    for (size_t start = 0;;) {
        const size_t at = text.find(separator, start);
        fields.push_back(text.substr(start, at == std::string_view::npos ? at : at - start));
        if (at == std::string_view::npos) return fields;
        start = at + 1;
    }
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
