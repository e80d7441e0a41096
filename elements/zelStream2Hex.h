// Turns the bytes of a text into hexadecimal digits, two per byte.
#pragma once

#include <string>
#include <string_view>

#include "base/hexText.h"
#include "runtime/Share.h"

class TZelStream2Hex {
public:
    TPointLink Data;
    TPointLink onResult;

    // Work point 0: reads Data (default empty) and forwards its hexadecimal text.
    void doConvert(TData& d, uint16_t index);
};
