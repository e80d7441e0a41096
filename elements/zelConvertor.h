// Turns an integer into text: a one-byte character (Mode 4) or hexadecimal
// digits (Mode 6).
#pragma once

#include <string>

#include "runtime/Share.h"

class TZelConvertor {
public:
    int32_t Mode = 0;
    int32_t Digits = 0;  // Mode 6: least number of digits, from the low 4 bits (0 still gives one)
    TPointLink Data;
    TPointLink onResult;

    // Work point 0: reads Data (no default) and forwards the text. Modes
    // other than 4 and 6 give the decimal text of the number.
    void doConvert(TData& d, uint16_t index);
};

// n as an unsigned 32-bit number in capital hexadecimal digits, padded with
// zeros to at least minDigits (and at least one digit).
std::string FormatHex(uint32_t n, int minDigits);
