// Texts of the system are Windows-1251 byte strings. Literals are written in
// UTF-8 and converted while compiling: "Устройство"_w is the Windows-1251
// text. A character without a Windows-1251 code stops the build.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace cp1251 {

// Unicode characters of the Windows-1251 codes 0x80 to 0xFF (0 where the
// code page leaves a code unused).
inline constexpr char16_t HighHalf[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0000, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

// Code of a Unicode character in Windows-1251, or -1 when it has none.
constexpr int FromUnicode(char32_t c) {
    if (c < 0x80) return int(c);
    for (int i = 0; i < 128; ++i)
        if (HighHalf[i] != 0 && HighHalf[i] == c) return 0x80 + i;
    return -1;
}

template <std::size_t N>
struct Utf8Literal {
    char text[N]{};
    consteval Utf8Literal(const char (&s)[N]) {
        for (std::size_t i = 0; i < N; ++i) text[i] = s[i];
    }
};

template <std::size_t N>
struct Converted {
    char bytes[N]{};
    std::size_t length = 0;
};

template <std::size_t N>
consteval Converted<N> Convert(const Utf8Literal<N>& in) {
    Converted<N> out;
    std::size_t i = 0;
    while (i + 1 < N) {  // the last byte is the literal's terminating zero
        const unsigned char b = static_cast<unsigned char>(in.text[i]);
        char32_t c = 0;
        int extra = 0;
        if (b < 0x80) {
            c = b;
        } else if ((b & 0xE0) == 0xC0) {
            c = b & 0x1F;
            extra = 1;
        } else if ((b & 0xF0) == 0xE0) {
            c = b & 0x0F;
            extra = 2;
        } else if ((b & 0xF8) == 0xF0) {
            c = b & 0x07;
            extra = 3;
        } else {
            throw "invalid UTF-8 in a text literal";
        }
        if (i + extra + 1 >= N) throw "truncated UTF-8 in a text literal";
        for (int k = 1; k <= extra; ++k) {
            const unsigned char cont = static_cast<unsigned char>(in.text[i + k]);
            if ((cont & 0xC0) != 0x80) throw "invalid UTF-8 in a text literal";
            c = (c << 6) | (cont & 0x3F);
        }
        i += extra + 1;
        const int code = FromUnicode(c);
        if (code < 0) throw "character without a Windows-1251 code";
        out.bytes[out.length++] = static_cast<char>(code);
    }
    return out;
}

template <Utf8Literal S>
inline constexpr auto Literal = Convert(S);

// Windows-1251 text to UTF-8, for terminals and logs of the console tools.
std::string ToUtf8(std::string_view text);
// The same for text that may hold what a device sent: control bytes (below
// 0x20, and 0x7F) appear in caret notation (ESC as ^[, DEL as ^?), so they
// cannot steer the terminal.
std::string ToUtf8Visible(std::string_view text);
// UTF-8 text to Windows-1251; characters without a code become '?'.
std::string FromUtf8(std::string_view text);

// The same for the UTF-16 of the wide window calls, which show the texts
// whatever code page the system runs with. A code the page leaves unused
// becomes U+FFFD one way, a character without a code '?' the other.
std::u16string ToUtf16(std::string_view text);
std::string FromUtf16(std::u16string_view text);

}  // namespace cp1251

template <cp1251::Utf8Literal S>
constexpr std::string_view operator""_w() {
    return std::string_view(cp1251::Literal<S>.bytes, cp1251::Literal<S>.length);
}
