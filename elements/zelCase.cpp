#include "zelCase.h"

#include "If_arg.h"

void TZelCase::doCase(TData& d, uint16_t) {
    TData received = d;  // TakeData advances d; the next case gets it whole
    const TData x = TakeData(d);
    if (CompareData(x, Value, CompareEqual))
        CallEventCopy(onCaseEvent, DataOut);
    else
        CallEvent(onNextCase, received);
}
