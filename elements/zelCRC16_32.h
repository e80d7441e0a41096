// A 16-bit or 32-bit CRC of a text, or of hexadecimal text, from a given
// start value, printed in hexadecimal.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/Share.h"

// Kinds: 0 16-bit least significant bit first; 1 as 0 with the result's
// bytes swapped; 2 as 0, complemented and swapped; 3 16-bit most
// significant bit first; 4 32-bit least significant bit first, complemented.
// Kind 0 with polynomial A001 from FFFF is CRC-16/MODBUS, kind 4 with
// EDB88320 from FFFFFFFF the common CRC-32.
class TZelCRC16_32 {
public:
    uint8_t HexInput = 0;  // 1: the data is hexadecimal text, two digits per byte
    uint8_t Kind = 0;
    std::string Polynom;    // default of the Polynom point: hexadecimal, optional "$"
    std::string Init;       // default of the Init point: hexadecimal, optional "$"
    uint8_t SwapBytes = 0;  // swap the two bytes of a 16-bit result before printing
    TPointLink Data;
    TPointLink PolynomPoint;
    TPointLink InitPoint;
    TPointLink onCRC;

    // Work point 0: reads Data (default empty), then Polynom, then Init, and
    // forwards the CRC text on onCRC.
    void doCRC(TData& d, uint16_t index);

    // The CRC of bytes from start, as printed (the element's work without
    // the reads), for the given kind and polynomial.
    std::string Compute(std::string_view bytes, uint32_t start, uint32_t polynom);

private:
    struct TTable {
        int kind = -1;  // none built yet
        uint32_t polynom = 0;
        std::array<uint32_t, 256> entry{};
    };
    static void Build(TTable& table, int kind, uint32_t polynom);

    // The table of the last kind and polynomial; rebuilt only when they
    // change. A second thread that finds it in use works on a table of its
    // own instead of waiting.
    TTable cached_;
    std::atomic<bool> cacheInUse_{false};
};

// Value of the leading hexadecimal digits of text, after one optional "$";
// 0 when there are none. 32-bit wrap-around.
uint32_t ParseHex(std::string_view text);
