#include "zelCounter.h"

void TZelCounter::doNext(TData& d, uint16_t) {
    int32_t current = Count.load();
    int32_t next;
    do {
        // In 64 bits, so that a step beyond the 32-bit range still counts as
        // passing the end instead of overflowing.
        if (!Down) {
            const int64_t n = int64_t(current) + Step;
            next = n > Max ? Min : static_cast<int32_t>(n);
        } else {
            const int64_t n = int64_t(current) - Step;
            next = n < Min ? Max : static_cast<int32_t>(n);
        }
        // A reset on another thread between the load and the store is not
        // lost: the step is then taken again from the reset count.
    } while (!Count.compare_exchange_weak(current, next));
    ForwardInt(d, onCount, next);
}

void TZelCounter::doReset(TData&, uint16_t) { Count.store(Down ? Max : Min); }

void TZelCounter::getCount(TData& d, uint16_t) { SetInt(d, Count.load()); }
