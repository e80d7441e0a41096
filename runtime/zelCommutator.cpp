#include "zelCommutator.h"

void TZelCommutator::SetOutCount(uint16_t n) {
    if (n != 0) onEvent.assign(n, TPointLink());
    OutCount = static_cast<uint8_t>(n);
}

void TZelCommutator::doWork(TData& d, uint16_t index) {
    // Every read goes through a private null record, so the received value
    // feeds none of the data points, and each point is read once per call
    // before anything is sent (a read may have effects of its own).
    TData t;
    if (ReadInteger(t, Enabled, 1) == 0) return;
    const int32_t out = ReadInteger(t, OutIndex, -1);
    const int32_t in = ReadInteger(t, InIndex, -1);
    if (in >= 0 && in != index) return;
    const size_t count = OutCount < onEvent.size() ? OutCount : onEvent.size();
    if (out >= 0) {
        if (size_t(out) < count) {
            t = d;
            CallEvent(onEvent[size_t(out)], t);
        }
        return;
    }
    for (size_t k = 0; k < count; ++k) {
        t = d;
        CallEvent(onEvent[k], t);
    }
}
