// TZelCRC16_32 on hexadecimal text of every kind, polynomial and start value,
// against a CRC computed bit by bit from the same bytes.
#include <cstdio>
#include <string>

#include "elements/zelCRC16_32.h"
#include "tests/fuzz/fuzzInput.h"
#include "tests/fuzz/fuzzSupport.h"

namespace {
int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Spaces and "$" dropped, then pairs; a pair counts its leading hex digits.
std::string Bytes(const std::string& text) {
    std::string digits;
    for (const char c : text)
        if (c != ' ' && c != '$') digits += c;
    std::string out;
    for (size_t i = 0; i < digits.size(); i += 2) {
        int value = 0;
        for (size_t k = i; k < i + 2 && k < digits.size() && HexDigit(digits[k]) >= 0; ++k)
            value = value * 16 + HexDigit(digits[k]);
        out += char(value);
    }
    return out;
}

uint32_t Swap16(uint32_t v) { return ((v & 0xFF) << 8) | ((v >> 8) & 0xFF); }

std::string Expected(const std::string& bytes, int kind, uint32_t start, uint32_t polynom, bool swap) {
    char text[16];
    if (kind == 4) {
        uint32_t crc = start;
        for (const char c : bytes) {
            crc ^= static_cast<unsigned char>(c);
            for (int b = 0; b < 8; ++b) crc = (crc & 1) ? (crc >> 1) ^ polynom : crc >> 1;
        }
        if (!bytes.empty()) crc = ~crc;
        std::snprintf(text, sizeof text, "%08X", crc);
        return text;
    }
    const uint32_t poly = polynom & 0xFFFF;
    uint32_t crc = start & 0xFFFF;
    if (kind <= 3) {
        for (const char c : bytes) {
            const uint32_t byte = static_cast<unsigned char>(c);
            if (kind == 3) {
                crc ^= byte << 8;
                for (int b = 0; b < 8; ++b) crc = ((crc & 0x8000) ? (crc << 1) ^ poly : crc << 1) & 0xFFFF;
            } else {
                crc ^= byte;
                for (int b = 0; b < 8; ++b) crc = (crc & 1) ? (crc >> 1) ^ poly : crc >> 1;
            }
        }
        if (!bytes.empty() && kind == 1) crc = Swap16(crc);
        if (!bytes.empty() && kind == 2) crc = Swap16(~crc & 0xFFFF);
    }
    if (swap) crc = Swap16(crc);
    std::snprintf(text, sizeof text, "%04X", crc & 0xFFFF);
    return text;
}

std::string HexText(uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "$%X", v);
    return text;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzDispatchOn();
    TFuzzInput in(data, size);
    const uint8_t flags = in.Byte();
    const int kind = flags % 6;  // 5: a kind the element does not know
    const bool swap = (flags & 0x80) != 0;
    uint32_t polynom = 0, start = 0;
    for (int k = 0; k < 4; ++k) polynom = polynom << 8 | in.Byte();
    for (int k = 0; k < 4; ++k) start = start << 8 | in.Byte();
    const std::string hex = in.Rest();

    TFuzzSource source{{hex, HexText(polynom), HexText(start)}};
    TFuzzSink sink;
    TZelCRC16_32 element;
    element.HexInput = 1;
    element.Kind = uint8_t(kind);
    element.SwapBytes = swap ? 1 : 0;
    element.Data = source.Link(0);
    element.PolynomPoint = source.Link(1);
    element.InitPoint = source.Link(2);
    element.onCRC = sink.Link();
    TData incoming;
    CallEvent(MakeLink<&TZelCRC16_32::doCRC>(0, &element), incoming);
    FUZZ_CHECK(sink.values.size() == 1);
    const std::string expected = Expected(Bytes(hex), kind, start, polynom, swap && kind != 4);
    if (sink.values[0].StrValue != expected)
        std::fprintf(stderr, "kind %d: got %s, expected %s\n", kind, sink.values[0].StrValue.c_str(), expected.c_str());
    FUZZ_CHECK(sink.values[0].StrValue == expected);
    return 0;
}
