// A one-value store: written by an event, read through a getter that first
// fires an event of its own, so that the event's chain may still store a
// newer value before the reader sees it.
#pragma once

#include <memory>

#include "Share.h"
#include "base/published.h"

class TZelEventFromData {
public:
    TZelEventFromData();

    TPointLink Data;  // data point: where doData pulls the value from
    TPointLink onEvent;

    // Work point 0: stores the pulled value, or the whole received value.
    void doData(TData& d, uint16_t index);
    // Getter 0.
    void getValue(TData& r, uint16_t index);

    // The value last stored, with its chain; null until the first store.
    TData Stored() const;
    // Stores a copy of v, as doData would (the schemes' initial values).
    void SetStored(const TData& v);

private:
    // Replaced as a whole, never changed in place: the store is written and
    // read from different threads (the reader thread stores what the
    // watchdog's timer thread reads, the user-interface thread writes the
    // CRC that the reader thread reads).
    TPublished<const TData> stored_;
};
