// Owns a memory stream and lends it to readers through its getter.
#pragma once

#include <memory>

#include "runtime/Share.h"
#include "runtime/memoryStream.h"

class TZelMemoryStream {
public:
    // Empty until the scheme hands over its stream; assigning a new one
    // frees the one held so far.
    std::unique_ptr<TMemoryStream> Stream = std::make_unique<TMemoryStream>();

    // Getter Stream (the index is ignored): the held stream, still owned
    // here. Readers read from its position and move it.
    void getStream(TData& d, uint16_t index);
    // Getter 1: the bytes left from the position to the end, as an integer.
    void getLeft(TData& d, uint16_t index);
};
