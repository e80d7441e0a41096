// Branches on equality with a fixed value.
#pragma once

#include "runtime/Share.h"

class TZelCase {
public:
    TData DataOut;  // sent on a match
    TData Value;    // compared with
    TPointLink onCaseEvent;
    TPointLink onNextCase;

    // Work point 0: takes the first item of the incoming value; if it equals
    // Value, fires onCaseEvent with a copy of DataOut, otherwise onNextCase
    // with the incoming value as it arrived.
    void doCase(TData& d, uint16_t index);
};
