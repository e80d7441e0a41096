// Fans one event out to several outputs, strictly from output 0 upwards,
// each output getting its own copy of the value as it arrived. Schemes use
// the output order as their sequencing primitive.
#pragma once

#include <vector>

#include "Share.h"

class TZelHub {
public:
    uint8_t OutCount = 0;
    uint8_t InCount = 0;  // informational: all inputs behave alike
    std::vector<TPointLink> onEvent;

    void SetOutCount(uint16_t n);

    // Work point 0 (every input; the index is ignored).
    void doEvent(TData& d, uint16_t index);
};
