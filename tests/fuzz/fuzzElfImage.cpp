// ReadElfImage on any bytes: no read outside the input, spans that fit the
// address space, and a writer that gives the same image back.
#include <cstdint>
#include <string>
#include <vector>

#include "image/elfImage.h"
#include "tests/fuzz/fuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input's size, so that a read past it is caught.
    const std::string file(reinterpret_cast<const char*>(data), size);
    TImageSpans spans;
    const TImageFault fault = ReadElfImage(file, spans);
    if (fault) {
        FUZZ_CHECK(fault.Address.has_value() == (fault.Where.rfind("segment ", 0) == 0));
        return 0;
    }
    std::vector<TImageSpan> merged;
    if (const TImageFault clash = spans.Merge(merged)) {
        FUZZ_CHECK(clash.Where.rfind("segment ", 0) == 0 && clash.Address.has_value());
        return 0;
    }
    // Not bounded by the input's size: two program headers may give the same
    // file bytes at two addresses.
    for (size_t i = 0; i < merged.size(); ++i) {
        const TImageSpan& span = merged[i];
        FUZZ_CHECK(!span.Bytes.empty() && span.Address <= UINT64_MAX - span.Bytes.size());
        if (i > 0) FUZZ_CHECK(merged[i - 1].End() < span.Address);
    }

    // Written back in the input's class and byte order: the same image.
    TImageSpans again;
    FUZZ_CHECK(!ReadElfImage(WriteElfImage(merged, file[4] == 2, file[5] == 2), again));
    std::vector<TImageSpan> mergedAgain;
    FUZZ_CHECK(!again.Merge(mergedAgain));
    FUZZ_CHECK(mergedAgain.size() == merged.size());
    for (size_t i = 0; i < merged.size(); ++i)
        FUZZ_CHECK(mergedAgain[i].Address == merged[i].Address && mergedAgain[i].Bytes == merged[i].Bytes);
    return 0;
}
