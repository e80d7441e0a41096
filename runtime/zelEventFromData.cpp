#include "zelEventFromData.h"

TZelEventFromData::TZelEventFromData() : stored_(std::make_shared<const TData>()) {}

void TZelEventFromData::doData(TData& d, uint16_t) { SetStored(ReadDataChain(d, Data, nullptr)); }

void TZelEventFromData::SetStored(const TData& v) {
    auto copy = std::make_shared<TData>();
    CopyChain(*copy, v);
    copy->DataType = copy->Tag();
    copy->ForwardLink = nullptr;
    stored_.Store(std::move(copy));
}

TData TZelEventFromData::Stored() const { return *stored_.Load(); }

void TZelEventFromData::getValue(TData& r, uint16_t) {
    CallEvent(onEvent, r);
    // Only the head: the chain items stay the element's.
    r = *stored_.Load();
    r.Next.reset();
}
