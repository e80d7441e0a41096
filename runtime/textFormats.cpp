#include "textFormats.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

std::string FormatInteger(int32_t i) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, i);
    return std::string(buffer, result.ptr);
}

namespace {

// A leading sign: whether it is a minus, with i past it.
bool TakeSign(std::string_view s, size_t& i) {
    const bool negative = i < s.size() && s[i] == '-';
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
    return negative;
}

}  // namespace

int32_t ParseInteger(std::string_view s) {
    size_t i = 0;
    const bool negative = TakeSign(s, i);
    // Unsigned arithmetic: the 32-bit wrap-around is defined behaviour.
    uint32_t value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) value = value * 10u + uint32_t(s[i] - '0');
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

namespace {

// The decimal exponent of a real's text: an optional sign and digits,
// saturating well beyond the range of a double.
int ParseExponent(std::string_view s) {
    constexpr int Limit = 100000;
    size_t i = 0;
    const bool negative = TakeSign(s, i);
    int value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) value = value >= Limit ? Limit : value * 10 + (s[i] - '0');
    return negative ? -value : value;
}

}  // namespace

double ParseReal(std::string_view s) {
    double value = 0.0;
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && s[i] == '-') {
        negative = true;
        ++i;
    }
    bool inFraction = false;
    double factor = 1.0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c >= '0' && c <= '9') {
            if (inFraction) {
                factor *= 0.1;
                value += (c - '0') * factor;
            } else {
                value = value * 10.0 + (c - '0');
            }
        } else if (c == '.') {
            if (inFraction) break;
            inFraction = true;
        } else if (c == 'E' || c == 'e') {
            // Zero stays zero whatever the exponent (0 times pow(10, 999),
            // an infinity, would be NaN); a huge exponent saturates instead
            // of wrapping, so it overflows to an infinity or underflows to 0.
            if (value != 0.0) value *= std::pow(10.0, double(ParseExponent(s.substr(i + 1))));
            break;
        }
        // every other character is skipped
    }
    return negative ? -value : value;
}

std::string FormatReal(double x) {
    if (std::isnan(x)) return "NAN";
    if (std::isinf(x)) return x < 0 ? "-INF" : "INF";
    if (x == 0.0) return "0";
    // Fifteen significant digits, correctly rounded (ties to even), then laid
    // out without exponent. A carry into a sixteenth digit shows up as a
    // larger exponent, so the result then has one more digit before the point.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(x), std::chars_format::scientific, 14);
    const std::string_view text(buffer, size_t(result.ptr - buffer));
    const size_t ePos = text.find('e');
    std::string digits;
    for (const char c : text.substr(0, ePos))
        if (c != '.') digits += c;
    int exponent = 0;
    std::from_chars(text.data() + ePos + 1 + (text[ePos + 1] == '+' ? 1 : 0), text.data() + text.size(), exponent);
    const int before = exponent + 1;  // digits standing before the point

    std::string out;
    if (before >= 15) {
        out = digits + std::string(size_t(before - 15), '0');
    } else {
        if (before >= 1) {
            out = digits.substr(0, size_t(before)) + "." + digits.substr(size_t(before));
        } else {
            out = "0." + std::string(size_t(-before), '0') + digits;
        }
        while (out.back() == '0') out.pop_back();
        if (out.back() == '.') out.pop_back();
    }
    return x < 0 ? "-" + out : out;
}

int32_t RoundToInteger(double x) {
    if (std::isnan(x)) return 0;
    const double r = std::nearbyint(x);  // the default rounding mode: halves to even
    if (r >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (r <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(r);
}
