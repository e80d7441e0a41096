// The firmware upload scheme fed arbitrary reply chunks, starts and watchdog
// ticks in any order, hosted as the main window hosts it (the running CRC
// kept outside, read back through the inward data). Success may only follow
// a start, the whole image sent and the exact final acknowledgement: the two
// CRC bytes of what was sent, then "FZ". After the first outcome nothing
// more is sent.
#include <memory>
#include <string>
#include <vector>

#include "elements/zelCRC16_32.h"
#include "platform/resources.h"
#include "runtime/zelEventFromData.h"
#include "runtime/zelHub.h"
#include "schemes/zelMultiElementEx_265A520.h"
#include "tests/fakes/manualTimer.h"
#include "tests/fuzz/fuzzInput.h"
#include "tests/fuzz/fuzzSupport.h"
#include "tests/unit/uploadHost.h"

namespace {
// A short image: two blocks, the second one partly past the end.
const std::string& Image() {
    static const std::string image = [] {
        std::string bytes(300, '\0');
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 37 + 11);
        return bytes;
    }();
    return image;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    platform::RegisterLinkedResource("STREAM0", platform::ResourceTypeStream,
                                     reinterpret_cast<const unsigned char*>(Image().data()), Image().size());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzDispatchOn();
    TFuzzInput in(data, size);
    TUploadHost host;
    TSchemeHarness& scheme = host.scheme;
    const TZelEventFromData& crcStore = host.crcStore;
    fakes::TManualTimers& timers = host.timers;

    bool started = false;
    for (int step = 0; step < 64 && !in.Empty(); ++step) {
        const uint32_t crc = ParseHex(crcStore.Stored().StrValue) & 0xFFFF;
        const std::string ack{char(crc >> 8), char(crc & 0xFF)};
        std::string chunk;
        const uint8_t op = in.Byte() % 6;
        if (op == 0) {
            scheme.Fire(1, TData());
            started = true;
            continue;
        }
        if (op == 1) {
            if (fakes::TManualTimer* watchdog = timers.Last()) watchdog->Fire(in.Byte() % 8);
            continue;
        }
        if (op == 2) chunk = in.Text(8);
        if (op == 3) chunk = ack;
        if (op == 4) chunk = ack + "FZ";
        if (op == 5) chunk = ack.substr(0, in.Byte() % 3) + in.Text(4);  // a near miss
        const size_t successes = scheme.CountOf("onSuccess");
        const size_t sent = scheme.CountOf("onSend");
        const bool over = successes + scheme.CountOf("onError") > 0;
        scheme.Fire(0, MakeStr(chunk));
        if (scheme.CountOf("onSuccess") != successes) {
            FUZZ_CHECK(!over);
            FUZZ_CHECK(started);
            FUZZ_CHECK(chunk == ack + "FZ");
            FUZZ_CHECK(sent == 512);                           // both blocks, the second filled with zeros
            FUZZ_CHECK(scheme.CountOf("onSend") == sent + 1);  // "PUSK"
        }
        if (over) FUZZ_CHECK(scheme.CountOf("onSend") == sent);
    }
    scheme.log.clear();
    return 0;
}
