// Fires an event for each position of a numeric range.
#pragma once

#include "runtime/Share.h"

class TZelFor {
public:
    int32_t Start = 0;
    int32_t End = 0;
    int32_t Step = 1;
    bool IncludeEnd = false;
    bool UseIncoming = false;  // false: the incoming value is dropped, so the reads give the properties
    TPointLink EndPoint;
    TPointLink StartPoint;
    TPointLink onLoop;
    TPointLink onEnd;

    // Work point 0: reads Start, then End; fires onLoop with every position
    // from Start towards End in steps of Step (none for Step 0), then
    // forwards the first position past the range on onEnd.
    void doFor(TData& d, uint16_t index);
};
