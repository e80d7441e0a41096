#include "imageSpans.h"

#include <algorithm>
#include <cstdio>

std::string AddressText(uint64_t address) {
    char text[24];
    if (address <= 0xFFFFFFFFu)
        std::snprintf(text, sizeof(text), "0x%08llX", static_cast<unsigned long long>(address));
    else
        std::snprintf(text, sizeof(text), "0x%016llX", static_cast<unsigned long long>(address));
    return text;
}

std::string ByteText(char byte) {
    char text[8];
    std::snprintf(text, sizeof(text), "0x%02X", unsigned(uint8_t(byte)));
    return text;
}

void TImageSpans::Add(uint64_t address, std::string bytes, std::string where) {
    if (bytes.empty()) return;
    spans_.push_back({address, std::move(bytes), std::move(where)});
}

void TImageSpans::AddByte(uint64_t address, char byte, const std::string& where) {
    if (!spans_.empty() && spans_.back().Where == where && spans_.back().End() == address) {
        spans_.back().Bytes += byte;
        return;
    }
    spans_.push_back({address, std::string(1, byte), where});
}

TImageFault TImageSpans::Merge(std::vector<TImageSpan>& merged) const {
    merged.clear();
    std::vector<const TImageSpan*> order;
    order.reserve(spans_.size());
    for (const TImageSpan& span : spans_) order.push_back(&span);
    // Stable: of two spans at one address the file's earlier one comes first.
    std::stable_sort(order.begin(), order.end(),
                     [](const TImageSpan* a, const TImageSpan* b) { return a->Address < b->Address; });
    for (const TImageSpan* span : order) {
        if (merged.empty() || span->Address > merged.back().End()) {
            merged.push_back(*span);
            continue;
        }
        // Sorted by start, so a span can only meet the last joined one.
        TImageSpan& last = merged.back();
        const uint64_t shared = std::min(last.End(), span->End()) - span->Address;
        const size_t offset = size_t(span->Address - last.Address);
        for (uint64_t i = 0; i < shared; ++i) {
            if (last.Bytes[offset + i] == span->Bytes[i]) continue;
            const uint64_t address = span->Address + i;
            // The earlier giver of that byte, for the message.
            std::string first = "another record";
            for (const TImageSpan* other : order) {
                if (other == span) break;
                if (other->Address <= address && address < other->End()) first = other->Where;
            }
            return {
                span->Where, address,
                "gives " + ByteText(span->Bytes[i]) + " where " + first + " gave " + ByteText(last.Bytes[offset + i])};
        }
        if (span->End() > last.End()) last.Bytes.append(span->Bytes, size_t(shared), std::string::npos);
    }
    return {};
}
