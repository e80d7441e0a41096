// The upload scheme made small for the fuzzers: blocks of 1 to 4 bytes and
// an image of 1 to 12 bytes, both drawn from the input. The reply handling
// knows the lengths only through the block loop's end and the image
// stream's end, so a short exchange takes every path that a whole one takes
// (a block acknowledged, the block that ends the image, its padding with
// zeros), in microseconds instead of the milliseconds that blocks of 256
// single-byte writes cost. The whole lengths are checked by the unit tests
// and the end-to-end cases.
//
// Also here: what the device expects, computed from the protocol alone
// (CRC-16/MODBUS bit by bit), for the targets' own models.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/bootloaderProtocol.h"
#include "base/modbusCrc.h"
#include "runtime/memoryStream.h"
#include "runtime/zelMultiElementEx.h"
#include "schemes/zelMultiElementEx_265A520.h"
#include "tests/fuzz/fuzzInput.h"

struct TUploadShape {
    size_t blockLength = 1;
    std::string image;

    size_t Blocks() const { return (image.size() + blockLength - 1) / blockLength; }
    // Block k (1 for the first) as the host sends it: past the image's end
    // the stream reads as zeros.
    std::string Block(size_t k) const {
        std::string bytes(blockLength, '\0');
        for (size_t i = 0; i < blockLength; ++i)
            if ((k - 1) * blockLength + i < image.size()) bytes[i] = image[(k - 1) * blockLength + i];
        return bytes;
    }
};

// Shapes the upload scheme built in container (its permanent instance).
inline TUploadShape ShapeUpload(TZelMultiElementEx& container, TFuzzInput& in) {
    auto* scheme = static_cast<TClassMultiElementEx_265A520*>(container.Current->Scheme);
    TUploadShape shape;
    shape.blockLength = 1 + in.Byte() % 4;
    const size_t length = 1 + in.Byte() % 12;
    const uint8_t seed = in.Byte();
    shape.image.resize(length);
    for (size_t i = 0; i < length; ++i) shape.image[i] = char(seed + i * 37);
    scheme->BlockLoop->End = int32_t(shape.blockLength) - 1;
    scheme->ImageStream->Stream = std::make_unique<TMemoryStream>(shape.image);
    return shape;
}
