// The device detection scheme fed arbitrary open results, port picks and
// reply chunks. A device counts as found only for a chunk whose first word
// (up to the first space) is the identification word in any letter case.
#include <string>

#include "platform/textCase.h"
#include "schemes/zelMultiElementEx_2659FA0.h"
#include "tests/fuzz/fuzzInput.h"
#include "tests/fuzz/fuzzSupport.h"
#include "tests/unit/schemeHarness.h"

namespace {
bool Identifies(const std::string& chunk) {
    const size_t space = chunk.find(' ');
    if (space == std::string::npos) return false;
    std::string word = chunk.substr(0, space);
    platform::LowerAnsi(word);
    return word == "quarnelvisk";
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzDispatchOn();
    TFuzzInput in(data, size);
    TSchemeHarness scheme{{"onSend", "onStatus", "onOpenPort", "onNotFound", "onFound"}, 0};
    scheme.Build(TClassMultiElementEx_2659FA0::Create);

    bool identified = false;
    for (int step = 0; step < 32 && !in.Empty(); ++step) {
        const uint8_t op = in.Byte() % 4;
        if (op == 0) {
            scheme.Fire(0, MakeInt(int32_t(in.Byte()) - 2));
            continue;
        }
        if (op == 1) {
            scheme.Fire(1, MakeChain({MakeStr(in.Text(8)), MakeInt(in.Byte())}));
            continue;
        }
        std::string chunk = in.Text(40);
        if (op == 3) chunk = "QUARNELVISK" + chunk;  // a head start towards the word
        const size_t found = scheme.CountOf("onFound");
        scheme.Fire(2, MakeStr(chunk));
        const bool good = Identifies(chunk);
        if (scheme.CountOf("onFound") != found) {
            if (!good) {
                std::fprintf(stderr, "found on chunk:");
                for (const char c : chunk) std::fprintf(stderr, " %02X", static_cast<unsigned char>(c));
                std::fprintf(stderr, "\n");
            }
            FUZZ_CHECK(good);
            FUZZ_CHECK(scheme.ValuesOf("onFound").back().StrValue == chunk.substr(0, chunk.find(' ')));
        }
        identified = identified || good;
        const int32_t flag = scheme.ReadInteger(0, -5);
        if (!identified) FUZZ_CHECK(flag == 0);
    }
    return 0;
}
