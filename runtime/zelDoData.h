// Turns an event into a value: the answer of its Data point, or else its
// own constant.
#pragma once

#include "Share.h"

class TZelDoData {
public:
    TData Data;            // the constant, set by the scheme
    TPointLink DataPoint;  // data point: when it answers, its value replaces the constant
    TPointLink onEventData;

    // Work point 0: ignores the incoming value and emits exactly one value.
    void doData(TData& d, uint16_t index);
};
