// FormatReal on every double: fifteen significant digits that the C library
// reads back to the same value within rounding, and that ParseReal reads
// back close to it; no exponent in the text.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/Share.h"
#include "tests/fuzz/fuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < sizeof(double)) return 0;
    double x;
    std::memcpy(&x, data, sizeof x);
    const std::string text = FormatReal(x);
    FUZZ_CHECK(!text.empty());
    if (std::isnan(x)) {
        FUZZ_CHECK(text == "NAN");
        return 0;
    }
    if (std::isinf(x)) {
        FUZZ_CHECK(text == (x < 0 ? "-INF" : "INF"));
        return 0;
    }
    FUZZ_CHECK(text.find_first_not_of("-0123456789.") == std::string::npos);
    FUZZ_CHECK(text.back() != '.');
    size_t significant = 0;
    bool leading = true;
    for (const char c : text) {
        if (c < '0' || c > '9') continue;
        if (c != '0') leading = false;
        if (!leading) ++significant;
    }
    // Big numbers are padded with zeros before the point; small ones drop
    // trailing zeros, so at most fifteen digits carry information.
    if (std::fabs(x) < 1e15) FUZZ_CHECK(significant <= 16);

    const double back = std::strtod(text.c_str(), nullptr);
    // Near the largest double the rounded text may lie beyond it.
    if (std::isinf(back))
        FUZZ_CHECK(std::fabs(x) > 1.7976931348623e308);
    else
        FUZZ_CHECK(std::fabs(back - x) <= 6e-15 * std::fabs(x) || std::fabs(x) < 1e-290);
    // ParseReal sums digit by digit, so it is held to a looser bound, and
    // only away from the ends of the range where its running factor loses
    // digits.
    if (std::fabs(x) > 1e-290 && std::fabs(x) < 1e290) {
        const double parsed = ParseReal(text);
        FUZZ_CHECK(std::fabs(parsed - x) <= 1e-12 * std::fabs(x));
    }
    return 0;
}
