#include "zelHub.h"

void TZelHub::SetOutCount(uint16_t n) {
    onEvent.assign(n, TPointLink());
    OutCount = static_cast<uint8_t>(n);
}

void TZelHub::doEvent(TData& d, uint16_t) {
    // A copy per output: an output's chain may overwrite or forward its
    // record, and later outputs must still see the value as it arrived.
    // The caller's record itself is never handed on.
    const size_t count = OutCount < onEvent.size() ? OutCount : onEvent.size();
    for (size_t i = 0; i < count; ++i) CallEventCopy(onEvent[i], d);
}
