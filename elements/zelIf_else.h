// Branches on a comparison of two operands, passing on the value it got.
#pragma once

#include "runtime/Share.h"

class TZelIf_else {
public:
    uint8_t Type = 0;  // comparison kind, see CompareData
    TData Op1;         // default of the Op1 point
    TData Op2;         // default of the Op2 point
    TPointLink Op2Point;
    TPointLink Op1Point;
    TPointLink onTrue;
    TPointLink onFalse;

    // Work point 0: reads Op1, then Op2 (a null default takes the next item
    // of the incoming value) and forwards the incoming value as received on
    // onTrue or onFalse.
    void doCompare(TData& d, uint16_t index);
};
