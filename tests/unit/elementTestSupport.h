// Helpers for the processing-element tests.
#pragma once

#include <string>

#include "runtime/Share.h"

// A getter that answers a fixed value and counts how often it was asked.
struct TSource {
    TData value;
    int reads = 0;

    TSource() = default;
    explicit TSource(TData v) : value(std::move(v)) {}

    void get(TData& d, uint16_t) {
        ++reads;
        d = value;
    }
    TPointLink Link(uint16_t index = 0) { return MakeLink<&TSource::get>(index, this); }
};

// Calls a work point through the dispatcher, as an event from another
// element would, and gives back the caller's record afterwards.
inline TData Fire(const TPointLink& link, TData d = TData()) {
    CallEvent(link, d);
    return d;
}
