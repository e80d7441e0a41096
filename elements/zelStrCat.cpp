#include "zelStrCat.h"

void TZelStrCat::doStrCat(TData& d, uint16_t) {
    // Str1 first: with both points unlinked and empty defaults, a chained
    // incoming value gives Str1 its first item and Str2 its second.
    std::string a = ReadString(d, Str1Point, Str1);
    const std::string b = ReadString(d, Str2Point, Str2);
    ForwardStr(d, onStrCat, std::move(a) + b);
}
