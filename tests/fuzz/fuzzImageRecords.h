// What the record format fuzzers share: the reader on any text, and bytes at
// an address the input chose, written and read back, coming back the same.
#pragma once

#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "image/imageSpans.h"

template <typename TWriter, typename TReader>
int FuzzImageRecords(const uint8_t* data, size_t size, TWriter writer, TReader reader) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    TImageSpans spans;
    std::vector<TImageSpan> merged;
    if (!reader(input, spans)) (void)spans.Merge(merged);

    if (size < 4) return 0;
    const std::string bytes = input.substr(4);
    uint64_t address = uint64_t(data[0]) << 24 | uint64_t(data[1]) << 16 | uint64_t(data[2]) << 8 | data[3];
    address = std::min(address, (uint64_t(1) << 32) - bytes.size());
    TImageSpans back;
    if (reader(writer(uint32_t(address), bytes), back) || back.Merge(merged)) std::abort();
    if (bytes.empty() ? !merged.empty()
                      : merged.size() != 1 || merged[0].Address != address || merged[0].Bytes != bytes)
        std::abort();
    return 0;
}
