// TZelFormatStr on arbitrary templates and parameter texts, against a
// one-pass reading of the template: "%%" is a "%", "%" with a run of digits
// naming a parameter is that parameter's text, anything else stays. The
// zero and 0x01 bytes the element uses as place holders are left out of
// the comparison, and so are values holding a "%": the parameters are
// filled in one after the other, so a marker inside an inserted value is
// filled in by a later parameter, which a one-pass reading does not do.
#include <cstdio>
#include <string>
#include <vector>

#include "elements/zelFormatStr.h"
#include "tests/fuzz/fuzzInput.h"
#include "tests/fuzz/fuzzSupport.h"

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string OnePass(const std::string& format, const std::vector<std::string>& values) {
    std::string out;
    for (size_t i = 0; i < format.size();) {
        if (format[i] != '%') {
            out += format[i++];
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        size_t end = i + 1;
        while (end < format.size() && IsDigit(format[end])) ++end;
        const std::string digits = format.substr(i + 1, end - i - 1);
        size_t number = 0;
        const bool plain = !digits.empty() && digits[0] != '0' && digits.size() <= 4;
        if (plain) number = std::stoul(digits);
        if (plain && number >= 1 && number <= values.size()) {
            out += values[number - 1];
            i = end;
        } else {
            out += '%';
            ++i;
        }
    }
    return out;
}

bool HasMarks(const std::string& s) { return s.find('\0') != std::string::npos || s.find('\x01') != std::string::npos; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzDispatchOn();
    TFuzzInput in(data, size);
    const int32_t count = int32_t(in.Byte() % 14) - 1;
    const size_t linked = in.Byte() % 14;  // points beyond count, or fewer than it
    TFuzzSource source;
    for (size_t k = 0; k < 13; ++k) source.texts.push_back(in.Text(12));
    const std::string format = in.Rest();
    if (format.size() > 400) return 0;

    TFuzzSink sink;
    TZelFormatStr element;
    element.SetParamCount(count);
    FUZZ_CHECK(element.ParamCount == (count > 0 ? count : 0));
    for (size_t k = 0; k < element.Str.size() && k < linked; ++k) element.Str[k] = source.Link(uint16_t(k));
    element.Format = format;
    element.onFString = sink.Link();
    TData incoming;
    CallEvent(MakeLink<&TZelFormatStr::doString>(0, &element), incoming);
    FUZZ_CHECK(sink.values.size() == 1);

    std::vector<std::string> values;
    bool marks = HasMarks(format);
    for (int32_t k = 0; k < element.ParamCount; ++k) {
        values.push_back(size_t(k) < linked ? source.texts[size_t(k)] : std::string());
        marks = marks || HasMarks(values.back()) || values.back().find('%') != std::string::npos;
    }
    if (!marks && sink.values[0].StrValue != OnePass(format, values)) {
        std::fprintf(stderr, "format [%s] count %d\n", format.c_str(), int(element.ParamCount));
        for (const std::string& v : values) std::fprintf(stderr, "  value [%s]\n", v.c_str());
        std::fprintf(stderr, "got [%s]\nexpected [%s]\n", sink.values[0].StrValue.c_str(),
                     OnePass(format, values).c_str());
        FUZZ_CHECK(false);
    }
    return 0;
}
