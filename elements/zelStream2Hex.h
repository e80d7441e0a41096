// Turns the bytes of a text into hexadecimal digits, two per byte.
#pragma once

#include <string>
#include <string_view>

#include "runtime/Share.h"

// Two capital hexadecimal digits per byte, high nibble first.
std::string BytesToHex(std::string_view bytes);

class TZelStream2Hex {
public:
    TPointLink Data;
    TPointLink onResult;

    // Work point 0: reads Data (default empty) and forwards its hexadecimal text.
    void doConvert(TData& d, uint16_t index);
};
