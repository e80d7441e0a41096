// What the image readers' tests share: a file read back into spans, and
// for the record formats, round trips through their writers.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "image/imageSpans.h"

// The spans a reader made of text, joined; a fault fails the test.
template <typename TReader>
std::vector<TImageSpan> ReadBack(TReader reader, std::string_view text) {
    TImageSpans spans;
    const TImageFault fault = reader(text, spans);
    EXPECT_FALSE(fault) << fault.Where << ": " << fault.What;
    std::vector<TImageSpan> merged;
    EXPECT_FALSE(spans.Merge(merged));
    return merged;
}

// Bytes that differ from their neighbours and from their position.
inline std::string Pattern(size_t size) {
    std::string bytes;
    for (size_t i = 0; i < size; ++i) bytes += char((i * 37 + 11) & 0xFF);
    return bytes;
}

// Written and read back at addresses where records split: the first, one
// across a 64 KiB boundary, a flash base and the top of 4 GiB.
template <typename TWriter, typename TReader>
void ExpectRoundTrips(TWriter writer, TReader reader) {
    for (const uint32_t address : {0u, 0xFFF8u, 0x08000000u, 0xFFFFFED4u})
        for (const size_t size : {size_t(1), size_t(17), size_t(300)}) {
            SCOPED_TRACE(AddressText(address) + " " + std::to_string(size));
            const std::string bytes = Pattern(size);
            const auto spans = ReadBack(reader, writer(address, bytes));
            ASSERT_EQ(spans.size(), 1u);
            EXPECT_EQ(spans[0].Address, address);
            EXPECT_EQ(spans[0].Bytes, bytes);
        }
}
