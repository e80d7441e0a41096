// What Intel HEX and S-record files share: lines of hex digit pairs.
#pragma once

#include <string>
#include <string_view>

// The lines of a text image file numbered from 1, without their line ends
// and trailing blanks. A UTF-8 byte order mark before the first line, as
// some Windows editors write one, is skipped.
class TRecordLines {
public:
    explicit TRecordLines(std::string_view text);
    // False after the last line.
    bool Next(std::string_view& line);
    int Number() const { return number_; }
    std::string Where() const { return "line " + std::to_string(number_); }

private:
    std::string_view rest_;
    int number_ = 0;
};

// Decodes digits, two to a byte, into bytes; an empty text on success,
// else what is wrong with the digits.
std::string DecodeHexPairs(std::string_view digits, std::string& bytes);

// The bytes from first, most significant first, as a number.
unsigned long long BigEndianValue(std::string_view bytes);
