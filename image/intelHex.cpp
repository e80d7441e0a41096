#include "intelHex.h"

#include <algorithm>
#include <optional>

#include "base/hexText.h"
#include "recordText.h"

namespace {

enum : uint8_t { Data = 0, EndOfFile = 1, SegmentAddress = 2, StartSegment = 3, LinearAddress = 4, StartLinear = 5 };

std::string Record(uint8_t type, uint16_t offset, std::string_view data) {
    std::string bytes = {char(data.size()), char(offset >> 8), char(offset & 0xFF), char(type)};
    bytes += data;
    uint8_t sum = 0;
    for (const char c : bytes) sum = uint8_t(sum + uint8_t(c));
    bytes += char(uint8_t(-sum));
    return ":" + BytesToHex(bytes) + "\n";
}

}  // namespace

TImageFault ReadIntelHex(std::string_view text, TImageSpans& spans) {
    TRecordLines lines(text);
    std::string_view line;
    std::string bytes;
    uint32_t upper = 0;      // the linear address's upper half, shifted
    uint32_t segment = 0;    // the segment base, already times 16
    bool segmented = false;  // which of the two the last address record set
    bool ended = false;
    while (lines.Next(line)) {
        if (line.empty()) continue;
        const std::string where = lines.Where();
        if (ended) return {where, {}, "a record after the end-of-file record"};
        if (line[0] != ':') return {where, {}, "not an Intel HEX record: it does not begin with ':'"};
        if (std::string bad = DecodeHexPairs(line.substr(1), bytes); !bad.empty()) return {where, {}, bad};
        if (bytes.size() < 5) return {where, {}, "a record too short for its length, address, type and checksum"};
        const size_t length = uint8_t(bytes[0]);
        if (bytes.size() != length + 5)
            return {where,
                    {},
                    "the length byte says " + std::to_string(length) + " data bytes, the record holds " +
                        std::to_string(bytes.size() - 5)};
        const uint16_t offset = uint16_t(BigEndianValue(std::string_view(bytes).substr(1, 2)));
        const uint8_t type = uint8_t(bytes[3]);
        // Where a data record's first byte goes, for the messages.
        std::optional<uint64_t> at;
        if (type == Data) at = segmented ? segment + offset : uint32_t(upper + offset);
        uint8_t sum = 0;
        for (size_t i = 0; i + 1 < bytes.size(); ++i) sum = uint8_t(sum + uint8_t(bytes[i]));
        if (uint8_t(sum + uint8_t(bytes.back())) != 0)
            return {where, at,
                    "the checksum is " + ByteText(bytes.back()) + ", the record's bytes need " +
                        ByteText(char(uint8_t(-sum)))};
        const std::string_view data = std::string_view(bytes).substr(4, length);
        const auto needs = [&](size_t wanted, const char* name) -> TImageFault {
            if (length == wanted) return {};
            return {where,
                    {},
                    std::string("a record of type ") + ByteText(char(type)) + " (" + name + ") carries " +
                        std::to_string(wanted) + " bytes, this one " + std::to_string(length)};
        };
        switch (type) {
            case Data:
                for (size_t i = 0; i < data.size(); ++i) {
                    // Segment addresses wrap within their 64 KiB, linear ones at 4 GiB.
                    const uint32_t address =
                        segmented ? segment + ((offset + i) & 0xFFFF) : uint32_t(upper + offset + i);
                    spans.AddByte(address, data[i], where);
                }
                break;
            case EndOfFile:
                if (TImageFault f = needs(0, "end of file")) return f;
                ended = true;
                break;
            case SegmentAddress:
                if (TImageFault f = needs(2, "extended segment address")) return f;
                segment = uint32_t(BigEndianValue(data)) << 4;
                segmented = true;
                break;
            case LinearAddress:
                if (TImageFault f = needs(2, "extended linear address")) return f;
                upper = uint32_t(BigEndianValue(data)) << 16;
                segmented = false;
                break;
            case StartSegment:
                if (TImageFault f = needs(4, "start segment address")) return f;
                break;
            case StartLinear:
                if (TImageFault f = needs(4, "start linear address")) return f;
                break;
            default: return {where, {}, "an unknown record type " + ByteText(char(type)) + " (Intel HEX has 00 to 05)"};
        }
    }
    if (!ended) return {{}, {}, "no end-of-file record (:00000001FF): the file may have been cut short"};
    return {};
}

std::string WriteIntelHex(uint32_t address, std::string_view bytes) {
    std::string text;
    uint64_t at = address;
    uint32_t upper = 0xFFFFFFFF;
    while (!bytes.empty()) {
        if (uint32_t(at >> 16) != upper) {
            upper = uint32_t(at >> 16);
            text += Record(LinearAddress, 0, std::string{char(upper >> 8), char(upper & 0xFF)});
        }
        const uint64_t room = 0x10000 - (at & 0xFFFF);
        const size_t length = size_t(std::min<uint64_t>({16, room, bytes.size()}));
        text += Record(Data, uint16_t(at & 0xFFFF), bytes.substr(0, length));
        bytes.remove_prefix(length);
        at += length;
    }
    return text + Record(EndOfFile, 0, {});
}
