#include "zelCRC16_32.h"

#include "zelConvertor.h"

uint32_t ParseHex(std::string_view text) {
    size_t i = 0;
    if (i < text.size() && text[i] == '$') ++i;
    uint32_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        uint32_t digit;
        if (c >= '0' && c <= '9')
            digit = uint32_t(c - '0');
        else if (c >= 'A' && c <= 'F')
            digit = uint32_t(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f')
            digit = uint32_t(c - 'a' + 10);
        else
            break;
        value = value * 16u + digit;
    }
    return value;
}

namespace {
bool IsKnownKind(int kind) { return kind >= 0 && kind <= 4; }
uint32_t Swap16(uint32_t v) { return ((v & 0xFF) << 8) | ((v >> 8) & 0xFF); }
}  // namespace

void TZelCRC16_32::Build(TTable& table, int kind, uint32_t polynom) {
    table.kind = kind;
    table.polynom = polynom;
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t r = 0;
        if (kind == 4) {
            r = i;
            for (int step = 0; step < 8; ++step) r = (r & 1) ? (r >> 1) ^ polynom : r >> 1;
        } else if (kind == 3) {
            const uint32_t poly = polynom & 0xFFFF;
            uint32_t d = i << 8;
            for (int step = 0; step < 8; ++step) {
                r = ((r ^ d) & 0x8000) ? (r << 1) ^ poly : r << 1;
                d <<= 1;
            }
            r &= 0xFFFF;
        } else {
            const uint32_t poly = polynom & 0xFFFF;
            uint32_t d = i;
            for (int step = 0; step < 8; ++step) {
                r = ((r ^ d) & 1) ? (r >> 1) ^ poly : r >> 1;
                d >>= 1;
            }
        }
        table.entry[i] = r;
    }
}

std::string TZelCRC16_32::Compute(std::string_view bytes, uint32_t start, uint32_t polynom) {
    const int kind = Kind;
    uint32_t crc = kind == 4 ? start : start & 0xFFFF;
    if (IsKnownKind(kind) && !bytes.empty()) {
        TTable own;
        const bool useCache = !cacheInUse_.exchange(true, std::memory_order_acquire);
        TTable& table = useCache ? cached_ : own;
        if (table.kind != kind || table.polynom != polynom) Build(table, kind, polynom);

        if (kind == 3) {
            for (const char c : bytes) {
                const uint32_t b = static_cast<unsigned char>(c);
                crc = (table.entry[(b ^ (crc >> 8)) & 0xFF] ^ (crc << 8)) & 0xFFFF;
            }
        } else {
            for (const char c : bytes) {
                const uint32_t b = static_cast<unsigned char>(c);
                crc = table.entry[(crc ^ b) & 0xFF] ^ (crc >> 8);
            }
        }
        if (useCache) cacheInUse_.store(false, std::memory_order_release);

        if (kind == 1) crc = Swap16(crc);
        if (kind == 2) crc = Swap16(~crc & 0xFFFF);
        if (kind == 4) crc = ~crc;
    }
    if (kind == 4) return FormatHex(crc, 8);
    if (SwapBytes != 0) crc = Swap16(crc);
    return FormatHex(crc & 0xFFFF, 4);
}

void TZelCRC16_32::doCRC(TData& d, uint16_t) {
    std::string data = ReadString(d, Data, std::string());
    const std::string polynomText = ReadString(d, PolynomPoint, Polynom);
    const std::string initText = ReadString(d, InitPoint, Init);
    const uint32_t polynom = ParseHex(polynomText);
    const uint32_t start = ParseHex(initText);

    if (HexInput == 1) {
        // Spaces and "$" are dropped, then every two characters are one
        // byte (the last piece may be a single digit).
        std::string digits;
        digits.reserve(data.size());
        for (const char c : data)
            if (c != ' ' && c != '$') digits += c;
        std::string bytes;
        bytes.reserve(digits.size() / 2 + 1);
        for (size_t i = 0; i < digits.size(); i += 2)
            bytes += static_cast<char>(ParseHex(std::string_view(digits).substr(i, 2)) & 0xFF);
        data = std::move(bytes);
    }
    ForwardStr(d, onCRC, Compute(data, start, polynom));
}
