// The bytes an image file gives, by address, before they are placed in the
// device's image area: a span for each record or segment, with where in the
// file it came from for the messages.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TImageSpan {
    uint64_t Address = 0;
    std::string Bytes;
    std::string Where;  // "line 12", "segment 2"
    uint64_t End() const { return Address + Bytes.size(); }
};

// Why a file cannot be taken: where in it, at which address, and what.
struct TImageFault {
    std::string Where;  // "line 12", "segment 1"; empty for the whole file
    std::optional<uint64_t> Address;
    std::string What;
    explicit operator bool() const { return !What.empty(); }
};

// "0x08004000": eight digits below 4 GiB, sixteen above.
std::string AddressText(uint64_t address);
// "0x3C".
std::string ByteText(char byte);

// The spans of one file in the order the file gives them.
class TImageSpans {
public:
    // Bytes that run past the top of a 64-bit address space are the
    // reader's to refuse; empty bytes are dropped.
    void Add(uint64_t address, std::string bytes, std::string where);
    // A byte at a time, as record formats give them: a byte whose address
    // follows the last one's joins its span.
    void AddByte(uint64_t address, char byte, const std::string& where);
    bool Empty() const { return spans_.empty(); }

    // In address order, touching and overlapping spans joined; a fault when
    // two spans give different bytes for one address (identical overlaps
    // are taken as one).
    TImageFault Merge(std::vector<TImageSpan>& merged) const;

private:
    std::vector<TImageSpan> spans_;
};
