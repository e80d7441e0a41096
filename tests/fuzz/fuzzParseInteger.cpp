// ParseInteger on arbitrary text against a plain reading of the same rule:
// an optional sign, the leading decimal digits, 32-bit wrap-around.
#include <cstdint>
#include <string_view>

#include "runtime/Share.h"
#include "tests/fuzz/fuzzInput.h"

namespace {
int64_t Expected(std::string_view s) {
    size_t i = 0;
    bool negative = false;
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
        negative = s[0] == '-';
        i = 1;
    }
    uint64_t value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) value = (value * 10 + uint64_t(s[i] - '0')) % (1ull << 32);
    if (negative) value = ((1ull << 32) - value) % (1ull << 32);
    return value >= (1ull << 31) ? int64_t(value) - (1ll << 32) : int64_t(value);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    FUZZ_CHECK(int64_t(ParseInteger(text)) == Expected(text));
    // What FormatInteger prints reads back unchanged.
    const int32_t v = ParseInteger(text);
    FUZZ_CHECK(ParseInteger(FormatInteger(v)) == v);
    return 0;
}
