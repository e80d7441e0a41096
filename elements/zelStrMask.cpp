#include "zelStrMask.h"

#include "platform/textCase.h"

namespace {

bool MatchesOne(char maskByte, char c) {
    if (maskByte == '#') return c >= '0' && c <= '9';
    if (maskByte == '?') return c != '\0';
    return maskByte == c;
}

}  // namespace

// Every wildcard but "*" takes exactly one byte, so when the rest of the
// mask fails it is enough to let the latest star take one byte more: an
// earlier star could only have taken less, and the later one covers that.
// One backtrack point, no memory, and at most text x mask steps however
// many stars a mask holds. The match is anchored at both ends by the real
// lengths, not by a zero byte standing for the end: replies may carry zero
// bytes, and a text "A\0" must not pass for "A" (nor a mask "A\0" for "A").
bool MatchMask(std::string_view text, std::string_view mask) {
    constexpr size_t none = std::string_view::npos;
    size_t i = 0, j = 0;
    size_t starMask = none, starText = 0;
    while (i < text.size()) {
        if (j < mask.size() && mask[j] == '*') {
            starMask = ++j;
            starText = i;
        } else if (j < mask.size() && MatchesOne(mask[j], text[i])) {
            ++i;
            ++j;
        } else if (starMask != none) {
            j = starMask;
            i = ++starText;
        } else {
            return false;
        }
    }
    while (j < mask.size() && mask[j] == '*') ++j;
    return j == mask.size();
}

void TZelStrMask::doCompare(TData& d, uint16_t) {
    std::string text = ReadString(d, Str, std::string());
    bool match;
    if (IgnoreCase == 1) {
        std::string a = text;
        std::string m = Mask.Get();
        platform::LowerAnsi(a);
        platform::LowerAnsi(m);
        match = MatchMask(a, m);
    } else {
        match = MatchMask(text, *Mask.Load());
    }
    ForwardStr(d, match ? onTrue : onFalse, std::move(text));
}

void TZelStrMask::doMask(TData& d, uint16_t) { Mask = ToString(d); }
