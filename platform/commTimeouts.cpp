#include "commTimeouts.h"

namespace {
constexpr uint32_t Forever = 0xFFFFFFFF;
}

TReadWaits ReadWaits(const platform::TCommTimeouts& t, uint32_t count) {
    const uint32_t interval = t.ReadIntervalTimeout, multiplier = t.ReadTotalTimeoutMultiplier,
                   constant = t.ReadTotalTimeoutConstant;
    TReadWaits w;
    // Interval all ones with both totals 0: what is queued, at once.
    w.immediate = interval == Forever && multiplier == 0 && constant == 0;
    // Interval and multiplier all ones: wait up to the constant for the
    // first byte, then return with what is there.
    w.firstByte = interval == Forever && multiplier == Forever && constant != 0 && constant != Forever;
    w.totalLimit = !w.immediate && (w.firstByte || multiplier != 0 || constant != 0);
    w.totalMs = w.firstByte ? constant : uint64_t(multiplier) * count + constant;
    w.intervalLimit = !w.immediate && !w.firstByte && interval != 0 && interval != Forever;
    w.intervalMs = interval;
    return w;
}

TWriteWaits WriteWaits(const platform::TCommTimeouts& t, size_t count) {
    TWriteWaits w;
    w.limited = t.WriteTotalTimeoutMultiplier != 0 || t.WriteTotalTimeoutConstant != 0;
    w.totalMs = uint64_t(t.WriteTotalTimeoutMultiplier) * count + t.WriteTotalTimeoutConstant;
    return w;
}
