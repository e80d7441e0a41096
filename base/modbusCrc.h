// CRC-16/MODBUS, the running check of the exchange: what the device computes
// over the image bytes it receives, bit by bit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "hexText.h"

inline uint16_t ModbusCrcStep(uint16_t crc, uint8_t byte) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? uint16_t((crc >> 1) ^ 0xA001) : uint16_t(crc >> 1);
    return crc;
}

// A CRC as the texts and records write it: four upper-case hexadecimal
// digits, high byte first ("C9DB").
inline std::string CrcText(uint16_t crc) {
    const char bytes[] = {char(crc >> 8), char(crc & 0xFF)};
    return BytesToHex(std::string_view(bytes, sizeof bytes));
}

inline uint16_t ModbusCrc(std::string_view bytes, uint16_t crc = 0xFFFF) {
    for (const char c : bytes) crc = ModbusCrcStep(crc, uint8_t(c));
    return crc;
}
