// The boundary object of a nested scheme: inner elements link whatever
// leaves the scheme, or is read from outside, to it; its link arrays lead
// to the inner points that the outside may call or read.
#pragma once

#include <atomic>
#include <vector>

#include "Share.h"

class TClassMultiBase;
class TZelMultiElementEx;

class TZelEditMultiEx {
public:
    TZelMultiElementEx* Container = nullptr;
    TClassMultiBase* Scheme = nullptr;
    std::vector<TPointLink> InEvents;  // inward events: links to inner work points
    std::vector<TPointLink> OutData;   // outward data: links to inner getters

    // Outward events and inward-data reads of this instance that are still
    // running. An instance with a running call must not be destroyed: its
    // code is on some thread's stack. Counted per instance, because the
    // reader thread and the timer thread may both be inside the same
    // container at once.
    std::atomic<int> RunningCalls{0};

    // Work point family: outward event k, fired by an inner element.
    void doEvent(TData& d, uint16_t k);
    // Getter family: inward data k, read by an inner element.
    void getData(TData& r, uint16_t k);
};
