#include "zelStream2Hex.h"

void TZelStream2Hex::doConvert(TData& d, uint16_t) {
    ForwardStr(d, onResult, BytesToHex(ReadString(d, Data, std::string())));
}
