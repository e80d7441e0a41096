// ToIndex on integers, reals and texts: texts that read as a zero without
// starting with "0" give -1 (not item 0), anything else its number.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "runtime/Share.h"
#include "tests/fuzz/fuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TFuzzInput in(data, size);
    const uint8_t kind = in.Byte() % 4;
    if (kind == 0) {
        const std::string raw = in.Take(4);
        int32_t i = 0;
        std::memcpy(&i, raw.data(), raw.size());
        FUZZ_CHECK(ToIndex(MakeInt(i)) == i);
    } else if (kind == 1) {
        const std::string raw = in.Take(8);
        double x = 0;
        std::memcpy(&x, raw.data(), raw.size());
        const int32_t index = ToIndex(MakeReal(x));
        FUZZ_CHECK(index == RoundToInteger(x));
        if (std::isfinite(x) && std::fabs(x) < 1e9) FUZZ_CHECK(std::fabs(double(index) - x) <= 0.5);
    } else if (kind == 2) {
        const std::string text = in.Rest();
        const int32_t index = ToIndex(MakeStr(text));
        // A text reads as its number; only a zero that does not start with
        // "0" (no digits, or a sign first) means "no index".
        const int32_t value = ParseInteger(text);
        if (text.empty() || (value == 0 && text[0] != '0'))
            FUZZ_CHECK(index == -1);
        else
            FUZZ_CHECK(index == value);
    } else {
        FUZZ_CHECK(ToIndex(TData()) == -1);
    }
    return 0;
}
