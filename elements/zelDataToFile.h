// Reads one item at a time from a stream pulled through a data point.
#pragma once

#include "runtime/Share.h"

class TZelDataToFile {
public:
    // The reader of one item; the byte reader is the only kind this system uses.
    using TItemReader = int32_t (*)(TMemoryStream& stream);

    TItemReader ItemReader = &ReadByteItem;
    TPointLink onGet;
    TPointLink Stream;

    // Work point 0: reads one item from the stream that Stream answers and
    // forwards it on onGet; without a stream nothing happens.
    void doGet(TData& d, uint16_t index);

    // One byte as 0 to 255; 0 at the end of the stream.
    static int32_t ReadByteItem(TMemoryStream& stream);
};
