#include "zelStrMask.h"

#include <vector>

#include "platform/textCase.h"

namespace {

// Both texts carry one appended zero byte, and a position past the end of
// either reads as a zero byte, so the match is anchored at both ends.
class TMatcher {
public:
    TMatcher(std::string_view a, std::string_view m) : a_(a), m_(m) {}

    bool Match(size_t i, size_t j) {
        while (j < m_.size() || i < a_.size()) {
            const char mc = At(m_, j);
            if (mc == '*') return MatchStar(i, j + 1);
            if (mc == '#') {
                const char c = At(a_, i);
                if (c < '0' || c > '9') break;
            } else if (mc == '?') {
                if (At(a_, i) == '\0') break;
            } else if (mc != At(a_, i)) {
                break;
            }
            ++i;
            ++j;
        }
        return j >= m_.size() && i >= a_.size();
    }

private:
    static char At(std::string_view s, size_t k) { return k < s.size() ? s[k] : '\0'; }

    // The rest of the mask from j against the text from i, i + 1, ... up to
    // the text's last byte, shortest first. A rest that failed from one
    // position fails again, so each pair is tried once: masks with many
    // stars cannot make a long reply take exponential time.
    bool MatchStar(size_t i, size_t j) {
        for (size_t k = i; k < a_.size(); ++k) {
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

bool MatchMask(std::string_view text, std::string_view mask) {
    std::string a(text);
    a.push_back('\0');
    std::string m(mask);
    m.push_back('\0');
    return TMatcher(a, m).Match(0, 0);
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
