#include "zelMultiStrPart.h"

void TZelMultiStrPart::SetCount(int32_t n) { Parts.assign(n > 0 ? size_t(n) : 0, std::string()); }

// The part ends at the earliest of the delimiter characters, and the whole
// length of Delimiter is dropped from there, whatever bytes follow.
std::string TZelMultiStrPart::CutPart(std::string& text) const {
    size_t p = text.size();
    for (const char c : Delimiter) {
        const size_t found = text.find(c);
        if (found < p) p = found;
    }
    std::string part = text.substr(0, p);
    const size_t rest = p + Delimiter.size();
    text = rest < text.size() ? text.substr(rest) : std::string();
    return part;
}

void TZelMultiStrPart::doSplit(TData& d, uint16_t) {
    for (std::string& part : Parts) part.clear();
    std::string text = ReadString(d, Str, std::string());
    if (Delimiter.empty() || text.find(Delimiter) == std::string::npos) {
        ForwardStr(d, onNoDelimiter, std::move(text));
        return;
    }
    for (int32_t i = 0; i < Skip; ++i) CutPart(text);
    for (std::string& part : Parts) part = CutPart(text);
    ForwardStr(d, onSplit, std::move(text));
}

void TZelMultiStrPart::Part(TData& d, uint16_t index) {
    SetStr(d, index < Parts.size() ? Parts[index] : std::string());
}
