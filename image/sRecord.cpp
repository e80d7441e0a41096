#include "sRecord.h"

#include <algorithm>
#include <optional>

#include "base/hexText.h"
#include "recordText.h"

namespace {

// The width of the address field of each record type, S0 to S9; 0 for S4,
// which is reserved.
constexpr size_t AddressBytes[10] = {2, 2, 3, 4, 0, 2, 3, 4, 3, 2};

std::string Record(int type, uint32_t address, std::string_view data) {
    const size_t width = AddressBytes[type];
    std::string bytes(1, char(width + data.size() + 1));
    for (size_t i = width; i-- > 0;) bytes += char(address >> (8 * i));
    bytes += data;
    uint8_t sum = 0;
    for (const char c : bytes) sum = uint8_t(sum + uint8_t(c));
    bytes += char(uint8_t(~sum));
    return "S" + std::to_string(type) + BytesToHex(bytes) + "\n";
}

}  // namespace

TImageFault ReadSRecord(std::string_view text, TImageSpans& spans) {
    TRecordLines lines(text);
    std::string_view line;
    std::string bytes;
    unsigned long long dataRecords = 0;
    bool ended = false;
    while (lines.Next(line)) {
        if (line.empty()) continue;
        const std::string where = lines.Where();
        if (ended) return {where, {}, "a record after the termination record"};
        if (line.size() < 2 || line[0] != 'S' || line[1] < '0' || line[1] > '9')
            return {where, {}, "not an S-record: it does not begin with S and a digit"};
        const int type = line[1] - '0';
        if (type == 4) return {where, {}, "an unknown record type S4 (reserved)"};
        if (std::string bad = DecodeHexPairs(line.substr(2), bytes); !bad.empty()) return {where, {}, bad};
        const size_t width = AddressBytes[type];
        if (bytes.size() < width + 2) return {where, {}, "a record too short for its count, address and checksum"};
        const size_t count = uint8_t(bytes[0]);
        if (count != bytes.size() - 1)
            return {where,
                    {},
                    "the count byte says " + std::to_string(count) + " bytes follow it, the record holds " +
                        std::to_string(bytes.size() - 1)};
        const unsigned long long address = BigEndianValue(std::string_view(bytes).substr(1, width));
        const std::string_view data = std::string_view(bytes).substr(1 + width, bytes.size() - width - 2);
        const bool isData = type >= 1 && type <= 3;
        std::optional<uint64_t> at;
        if (isData) at = address;
        uint8_t sum = 0;
        for (size_t i = 0; i + 1 < bytes.size(); ++i) sum = uint8_t(sum + uint8_t(bytes[i]));
        if (uint8_t(~sum) != uint8_t(bytes.back()))
            return {where, at,
                    "the checksum is " + ByteText(bytes.back()) + ", the record's bytes need " +
                        ByteText(char(uint8_t(~sum)))};
        if (isData) {
            if (address + data.size() > 0x100000000ull)
                return {where, at, "the record's bytes run past the top of the 32-bit address space"};
            spans.Add(address, std::string(data), where);
            ++dataRecords;
        } else if (type == 5 || type == 6) {
            if (!data.empty()) return {where, {}, "a count record carries no data"};
            if (address != dataRecords)
                return {where,
                        {},
                        "the count record says " + std::to_string(address) + " data records, " +
                            std::to_string(dataRecords) + " came before it"};
        } else if (type >= 7) {
            if (!data.empty()) return {where, {}, "a termination record carries no data"};
            ended = true;
        }
    }
    if (!ended) return {{}, {}, "no termination record (S7, S8 or S9): the file may have been cut short"};
    return {};
}

std::string WriteSRecord(uint32_t address, std::string_view bytes) {
    std::string text = Record(0, 0, "quarnelvisk");
    uint64_t at = address;
    size_t records = 0;
    while (!bytes.empty()) {
        const size_t length = std::min<size_t>(16, bytes.size());
        text += Record(3, uint32_t(at), bytes.substr(0, length));
        bytes.remove_prefix(length);
        at += length;
        ++records;
    }
    if (records <= 0xFFFF) text += Record(5, uint32_t(records), {});
    return text + Record(7, address, {});
}
