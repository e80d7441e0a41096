#include "zelFormatStr.h"

#include <algorithm>

namespace {
// Stand-ins while the markers are replaced: a zero byte holds the place of
// "%%", and a 0x01 byte in front of each inserted value keeps a value that
// starts with a digit from lengthening the marker before it ("%2" followed
// by an inserted "0" must still read as "%2", not as "%20").
constexpr char PercentMark = '\0';
constexpr char ValueMark = '\x01';

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

void TZelFormatStr::SetParamCount(int32_t n) {
    if (n < 0) n = 0;
    Str.assign(size_t(n), TPointLink());
    ParamCount = n;
}

void TZelFormatStr::doString(TData& d, uint16_t) {
    result_ = ReplaceAll(Format, "%%", std::string_view(&PercentMark, 1));
    for (int32_t i = 1; i <= ParamCount; ++i) {
        pattern_.assign(1, '%');
        pattern_ += FormatInteger(i);
        // A point the array does not hold reads as an unlinked one.
        static const TPointLink unlinked;
        const TPointLink& point = size_t(i) <= Str.size() ? Str[size_t(i - 1)] : unlinked;
        const std::string value = ReadString(d, point, std::string());
        const size_t markerLength = pattern_.size();
        // "%1" is not a marker inside "%12".
        const auto notFollowedByDigit = [markerLength](const std::string& s, int pos) {
            const size_t after = size_t(pos - 1) + markerLength;
            return after >= s.size() || !IsDigit(s[after]);
        };
        std::string insertion(1, ValueMark);
        insertion += value;
        result_ = ReplaceAll(result_, pattern_, insertion, notFollowedByDigit);
    }
    result_.erase(std::remove(result_.begin(), result_.end(), ValueMark), result_.end());
    std::replace(result_.begin(), result_.end(), PercentMark, '%');
    ForwardStr(d, onFString, result_);
}
