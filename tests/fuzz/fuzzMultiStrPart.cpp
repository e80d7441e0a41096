// TZelMultiStrPart on arbitrary delimiters, counts, skips and texts: exactly
// one event, parts free of delimiter characters and never longer together
// than the text, the whole text on onNoDelimiter.
#include <string>

#include "elements/zelMultiStrPart.h"
#include "tests/fuzz/fuzzInput.h"
#include "tests/fuzz/fuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzDispatchOn();
    TFuzzInput in(data, size);
    const int32_t count = int32_t(in.Byte() % 12) - 2;  // a few negative counts too
    const int32_t skip = int32_t(in.Byte() % 8) - 2;
    const std::string delimiter = in.Text(3);
    const std::string text = in.Rest();

    TFuzzSource source{{text}};
    TFuzzSink none, split;
    TZelMultiStrPart element;
    element.SetCount(count);
    FUZZ_CHECK(element.Count() == (count > 0 ? count : 0));
    element.Delimiter = delimiter;
    element.Skip = skip;
    element.Str = source.Link(0);
    element.onNoDelimiter = none.Link();
    element.onSplit = split.Link();

    // Twice: the second split must not see anything of the first.
    for (int round = 0; round < 2; ++round) {
        none.values.clear();
        split.values.clear();
        TData incoming;
        CallEvent(MakeLink<&TZelMultiStrPart::doSplit>(0, &element), incoming);
        FUZZ_CHECK(none.values.size() + split.values.size() == 1);
        size_t total = 0;
        for (int32_t k = 0; k < element.Count(); ++k) {
            TData part;
            element.Part(part, uint16_t(k));
            FUZZ_CHECK(part.StrValue == element.Parts[size_t(k)]);
            if (!delimiter.empty()) FUZZ_CHECK(part.StrValue.find_first_of(delimiter) == std::string::npos);
            total += part.StrValue.size();
        }
        TData beyond;
        element.Part(beyond, uint16_t(element.Count() + 3));
        FUZZ_CHECK(beyond.StrValue.empty());
        if (!none.values.empty()) {
            FUZZ_CHECK(none.values[0].StrValue == text);
            FUZZ_CHECK(total == 0);
            FUZZ_CHECK(delimiter.empty() || text.find(delimiter) == std::string::npos);
        } else {
            FUZZ_CHECK(text.find(delimiter) != std::string::npos);
            total += split.values[0].StrValue.size();
            FUZZ_CHECK(total <= text.size());
        }
    }
    return 0;
}
