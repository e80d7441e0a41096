#include "recordText.h"

#include "imageSpans.h"

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

}  // namespace

TRecordLines::TRecordLines(std::string_view text) : rest_(text) {
    if (rest_.substr(0, 3) == "\xEF\xBB\xBF") rest_.remove_prefix(3);
}

bool TRecordLines::Next(std::string_view& line) {
    if (rest_.empty()) return false;
    const size_t end = rest_.find('\n');
    line = rest_.substr(0, end);
    rest_ = end == std::string_view::npos ? std::string_view() : rest_.substr(end + 1);
    while (!line.empty() && Blank(line.back())) line.remove_suffix(1);
    ++number_;
    return true;
}

std::string DecodeHexPairs(std::string_view digits, std::string& bytes) {
    bytes.clear();
    if (digits.size() % 2 != 0) return "an odd number of hex digits";
    bytes.reserve(digits.size() / 2);
    for (size_t i = 0; i < digits.size(); i += 2) {
        const int high = HexDigit(digits[i]), low = HexDigit(digits[i + 1]);
        if (high < 0 || low < 0) {
            const size_t bad = high < 0 ? i : i + 1;
            const unsigned char c = static_cast<unsigned char>(digits[bad]);
            return c >= 0x20 && c < 0x7F ? "'" + std::string(1, char(c)) + "' where a hex digit belongs"
                                         : "a byte " + ByteText(char(c)) + " where a hex digit belongs";
        }
        bytes += char(high * 16 + low);
    }
    return {};
}

unsigned long long BigEndianValue(std::string_view bytes) {
    unsigned long long value = 0;
    for (const char c : bytes) value = (value << 8) | static_cast<unsigned char>(c);
    return value;
}
