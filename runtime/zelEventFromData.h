// A one-value store: written by an event, read through a getter that first
// fires an event of its own, so that the event's chain may still store a
// newer value before the reader sees it.
#pragma once

#include "Share.h"

class TZelEventFromData {
public:
    TData Stored;      // with its chain; null until the first store
    TPointLink Data;   // data point: where doData pulls the value from
    TPointLink onEvent;

    // Work point 0: stores the pulled value, or the whole received value.
    void doData(TData& d, uint16_t index);
    // Getter 0.
    void getValue(TData& r, uint16_t index);
};
