// Routes an event to one output, or to all of them in order, according to
// values pulled through its data points.
#pragma once

#include <vector>

#include "Share.h"

class TZelCommutator {
public:
    uint8_t OutCount = 0;
    uint8_t InCount = 0;  // informational
    std::vector<TPointLink> onEvent;
    TPointLink Enabled;   // gate, default 1
    TPointLink InIndex;   // which input passes, default -1 (any)
    TPointLink OutIndex;  // which output receives, default -1 (all)

    void SetOutCount(uint16_t n);

    // Work point family: the index is the number of the input called.
    void doWork(TData& d, uint16_t index);
};
