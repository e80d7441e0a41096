#include "zelEventFromData.h"

void TZelEventFromData::doData(TData& d, uint16_t) {
    const TData v = ReadDataChain(d, Data, nullptr);
    FreeChain(Stored);
    CopyChain(Stored, v);
}

void TZelEventFromData::getValue(TData& r, uint16_t) {
    CallEvent(onEvent, r);
    // Only the head: the chain items stay the element's.
    r = Stored;
    r.Next.reset();
    r.ForwardLink = nullptr;
}
