// Bytes as hexadecimal text, two upper-case digits a byte: how the texts,
// the records and the image files write bytes.
#pragma once

#include <string>
#include <string_view>

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
