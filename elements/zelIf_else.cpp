#include "zelIf_else.h"

#include "If_arg.h"

void TZelIf_else::doCompare(TData& d, uint16_t) {
    const TData received = d;  // the reads below may consume d
    const TData a = ReadData(d, Op1Point, &Op1);
    const TData b = ReadData(d, Op2Point, &Op2);
    ForwardData(d, CompareData(a, b, Type) ? onTrue : onFalse, received);
}
