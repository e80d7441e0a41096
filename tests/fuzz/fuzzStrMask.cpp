// MatchMask and TZelStrMask on arbitrary masks and texts, against a table
// matcher that follows the wildcard rules directly: "*" any run, "?" one
// byte that is not zero, "#" one decimal digit, every other byte itself.
#include <cctype>
#include <string>
#include <vector>

#include "elements/zelStrMask.h"
#include "tests/fuzz/fuzzInput.h"
#include "tests/fuzz/fuzzSupport.h"

namespace {
bool TableMatch(const std::string& text, const std::string& mask) {
    const size_t n = text.size(), m = mask.size();
    // fits[j][i]: the first j mask bytes match the first i text bytes.
    std::vector<std::vector<char>> fits(m + 1, std::vector<char>(n + 1, 0));
    fits[0][0] = 1;
    for (size_t j = 1; j <= m; ++j) {
        const char mc = mask[j - 1];
        for (size_t i = 0; i <= n; ++i) {
            if (mc == '*') {
                fits[j][i] = fits[j - 1][i] || (i > 0 && fits[j][i - 1]);
                continue;
            }
            if (i == 0) continue;
            const char c = text[i - 1];
            bool one;
            if (mc == '?')
                one = c != '\0';
            else if (mc == '#')
                one = c >= '0' && c <= '9';
            else
                one = c == mc;
            fits[j][i] = one && fits[j - 1][i - 1];
        }
    }
    return fits[m][n] != 0;
}

bool IsAscii(const std::string& s) {
    for (const char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}
// Lower-casing stops at the first zero byte, as the ANSI lower-casing does.
std::string LowerAscii(std::string s) {
    for (char& c : s) {
        if (c == '\0') break;
        c = char(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzDispatchOn();
    TFuzzInput in(data, size);
    const uint8_t ignoreCase = in.Byte() & 1;
    const std::string mask = in.Text(64);
    const std::string text = in.Rest();
    if (text.size() > 512) return 0;

    const bool expected = TableMatch(text, mask);
    FUZZ_CHECK(MatchMask(text, mask) == expected);

    TFuzzSource source{{text}};
    TFuzzSink yes, no;
    TZelStrMask element;
    element.IgnoreCase = ignoreCase;
    element.Str = source.Link(0);
    element.onTrue = yes.Link();
    element.onFalse = no.Link();
    TData maskValue = MakeStr(mask);
    CallEvent(MakeLink<&TZelStrMask::doMask>(1, &element), maskValue);
    TData none;
    CallEvent(MakeLink<&TZelStrMask::doCompare>(0, &element), none);
    FUZZ_CHECK(yes.values.size() + no.values.size() == 1);
    const TData& out = yes.values.empty() ? no.values[0] : yes.values[0];
    FUZZ_CHECK(out.StrValue == text);  // the text goes on as read, not lowered
    if (ignoreCase == 0) FUZZ_CHECK(yes.values.size() == (expected ? 1u : 0u));
    if (ignoreCase == 1 && IsAscii(text) && IsAscii(mask))
        FUZZ_CHECK(yes.values.size() == (TableMatch(LowerAscii(text), LowerAscii(mask)) ? 1u : 0u));
    return 0;
}
