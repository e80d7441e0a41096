#include "zelStrMask.h"

#include <vector>

#include "platform/textCase.h"

namespace {

// The match is anchored at both ends by the real lengths, not by a zero
// byte standing for the end: replies may carry zero bytes, and a text
// "A\0" must not pass for "A" (nor a mask "A\0" for the text "A").
class TMatcher {
public:
    TMatcher(std::string_view a, std::string_view m) : a_(a), m_(m) {}

    bool Match(size_t i, size_t j) {
        for (; j < m_.size(); ++i, ++j) {
            const char mc = m_[j];
            if (mc == '*') return MatchStar(i, j + 1);
            if (i >= a_.size()) return false;
            const char c = a_[i];
            if (mc == '#') {
                if (c < '0' || c > '9') return false;
            } else if (mc == '?') {
                if (c == '\0') return false;
            } else if (mc != c) {
                return false;
            }
        }
        return i >= a_.size();
    }

private:
    // The rest of the mask from j against the text from i, i + 1, ... up to
    // the text's end, shortest first. A rest that failed from one
    // position fails again, so each pair is tried once: masks with many
    // stars cannot make a long reply take exponential time.
    bool MatchStar(size_t i, size_t j) {
        for (size_t k = i; k <= a_.size(); ++k) {
            if (Failed(k, j)) continue;
            if (Match(k, j)) return true;
            MarkFailed(k, j);
        }
        return false;
    }

    bool Failed(size_t i, size_t j) const {
        const size_t key = i * (m_.size() + 1) + j;
        return key < failed_.size() && failed_[key];
    }
    void MarkFailed(size_t i, size_t j) {
        const size_t key = i * (m_.size() + 1) + j;
        if (failed_.empty()) failed_.assign((a_.size() + 1) * (m_.size() + 1), false);
        failed_[key] = true;
    }

    std::string_view a_;
    std::string_view m_;
    std::vector<bool> failed_;
};

}  // namespace

bool MatchMask(std::string_view text, std::string_view mask) { return TMatcher(text, mask).Match(0, 0); }

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
