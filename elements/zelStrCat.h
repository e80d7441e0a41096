// Joins two texts.
#pragma once

#include <string>

#include "runtime/Share.h"

class TZelStrCat {
public:
    std::string Str1;  // default of the Str1 point
    std::string Str2;  // default of the Str2 point
    TPointLink Str2Point;
    TPointLink Str1Point;
    TPointLink onStrCat;

    // Work point 0: reads Str1, then Str2, and forwards them joined.
    void doStrCat(TData& d, uint16_t index);
};
