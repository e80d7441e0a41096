// A count that steps between Min and Max and wraps to the opposite end.
#pragma once

#include <atomic>

#include "runtime/Share.h"

class TZelCounter {
public:
    // Stepped on one thread while reset or read on another (the upload
    // watchdog), hence atomic.
    std::atomic<int32_t> Count{0};
    int32_t Min = 0;
    int32_t Max = 0;
    int32_t Step = 1;
    bool Down = false;
    TPointLink onCount;

    // Work point 0: steps the count (past Max it becomes Min; counting Down,
    // below Min it becomes Max) and forwards it on onCount.
    void doNext(TData& d, uint16_t index);
    // Work point 2: the count becomes Min (Max when counting Down); fires nothing.
    void doReset(TData& d, uint16_t index);
    // Getter Count (the index is ignored): the current count.
    void getCount(TData& d, uint16_t index);
};
