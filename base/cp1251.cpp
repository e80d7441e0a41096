#include "cp1251.h"

namespace cp1251 {

namespace {
void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}
}  // namespace

std::string ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (const char ch : text) {
        const unsigned char b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            out += ch;
        } else {
            const char16_t c = HighHalf[b - 0x80];
            AppendUtf8(out, c != 0 ? c : u'?');
        }
    }
    return out;
}

std::string ToUtf8Visible(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (const char ch : text) {
        const unsigned char b = static_cast<unsigned char>(ch);
        if (b < 0x20 || b == 0x7F) {
            shown += '^';
            shown += char(b ^ 0x40);
        } else {
            shown += ch;
        }
    }
    return ToUtf8(shown);
}

std::string FromUtf8(std::string_view text) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        char32_t c = b;
        size_t extra = 0;
        if (b >= 0xF0) {
            c = b & 0x07;
            extra = 3;
        } else if (b >= 0xE0) {
            c = b & 0x0F;
            extra = 2;
        } else if (b >= 0xC0) {
            c = b & 0x1F;
            extra = 1;
        } else if (b >= 0x80) {
            out += '?';
            ++i;
            continue;
        }
        if (i + extra >= text.size()) {  // a sequence cut off at the end
            out += '?';
            break;
        }
        for (size_t k = 1; k <= extra; ++k) c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += extra + 1;
        const int code = FromUnicode(c);
        out += code < 0 ? '?' : char(code);
    }
    return out;
}

std::u16string ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const unsigned char b = static_cast<unsigned char>(ch);
        const char16_t c = b < 0x80 ? char16_t(b) : HighHalf[b - 0x80];
        out += c != 0 || b == 0 ? c : u'\uFFFD';
    }
    return out;
}

std::string FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char16_t c : text) {
        const int code = FromUnicode(c);
        out += code < 0 ? '?' : char(code);
    }
    return out;
}

}  // namespace cp1251
