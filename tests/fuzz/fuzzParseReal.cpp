// ParseReal on arbitrary text: no fault, and a plain decimal without
// exponent or stray characters reads as the C library reads it, to twelve
// digits.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "runtime/Share.h"
#include "tests/fuzz/fuzzInput.h"

namespace {
bool IsPlainDecimal(const std::string& s) {
    size_t i = s[0] == '-' ? 1 : 0;
    size_t digits = 0, points = 0;
    for (; i < s.size(); ++i) {
        if (s[i] >= '0' && s[i] <= '9')
            ++digits;
        else if (s[i] == '.' && points == 0)
            ++points;
        else
            return false;
    }
    return digits > 0 && digits <= 200;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double v = ParseReal(text);
    if (!text.empty() && IsPlainDecimal(text)) {
        const double expected = std::strtod(text.c_str(), nullptr);
        FUZZ_CHECK(std::isfinite(v));
        FUZZ_CHECK(std::fabs(v - expected) <= 1e-12 * std::fabs(expected) + 1e-300);
    }
    // Whatever was read prints and reads back without a fault.
    (void)FormatReal(v);
    return 0;
}
