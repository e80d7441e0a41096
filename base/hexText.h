// Bytes as hexadecimal text, two upper-case digits a byte: how the texts,
// the records and the image files write bytes.
#pragma once

#include <string>
#include <string_view>

// Whether text is exactly count hexadecimal digits, of either case.
constexpr bool IsHexDigits(std::string_view text, size_t count) {
    if (text.size() != count) return false;
    for (const char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) return false;
    return true;
}

inline std::string BytesToHex(std::string_view bytes) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const unsigned char b = static_cast<unsigned char>(c);
        out += hex[b >> 4];
        out += hex[b & 0xF];
    }
    return out;
}
