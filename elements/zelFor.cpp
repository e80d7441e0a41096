#include "zelFor.h"

void TZelFor::doFor(TData& d, uint16_t) {
    if (!UseIncoming) SetNull(d);
    // 64-bit positions: a range that ends at the edge of the 32-bit range
    // ends instead of wrapping round for ever.
    int64_t position = ReadInteger(d, StartPoint, Start);
    int64_t last = ReadInteger(d, EndPoint, End);
    if (Step > 0) {
        if (!IncludeEnd) --last;
        for (; position <= last; position += Step) CallEventInt(onLoop, static_cast<int32_t>(position));
    } else if (Step < 0) {
        if (!IncludeEnd) ++last;
        for (; position >= last; position += Step) CallEventInt(onLoop, static_cast<int32_t>(position));
    }
    ForwardInt(d, onEnd, static_cast<int32_t>(position));
}
