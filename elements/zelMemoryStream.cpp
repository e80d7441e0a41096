#include "zelMemoryStream.h"

#include <cstdint>

void TZelMemoryStream::getStream(TData& d, uint16_t) { SetStream(d, Stream.get()); }

void TZelMemoryStream::getLeft(TData& d, uint16_t) {
    const size_t left = Stream ? Stream->Size() - Stream->Position() : 0;
    SetInt(d, left > size_t(INT32_MAX) ? INT32_MAX : int32_t(left));
}
