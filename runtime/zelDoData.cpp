#include "zelDoData.h"

void TZelDoData::doData(TData& d, uint16_t) {
    SetNull(d);
    const TData v = ReadData(d, DataPoint, &Data);
    ForwardData(d, onEventData, v);
}
