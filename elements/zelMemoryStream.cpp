#include "zelMemoryStream.h"

void TZelMemoryStream::getStream(TData& d, uint16_t) { SetStream(d, Stream.get()); }
