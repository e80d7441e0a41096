// The firmware upload scheme fed arbitrary reply chunks, starts and watchdog
// ticks in any order, hosted as the main window hosts it (the running CRC
// kept outside, read back through the inward data), with short blocks and a
// short image drawn from the input (fuzzUpload.h). Success may only follow
// a start, the whole image sent and the exact final acknowledgement: the two
// CRC bytes of what was sent, then "FZ". After the first outcome nothing
// more is sent.
#include <string>

#include "runtime/zelEventFromData.h"
#include "schemes/zelMultiElementEx_265A520.h"
#include "tests/fakes/manualTimer.h"
#include "tests/fuzz/fuzzInput.h"
#include "tests/fuzz/fuzzSupport.h"
#include "tests/fuzz/fuzzUpload.h"
#include "tests/unit/uploadHost.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzDispatchOn();
    TFuzzInput in(data, size);
    TUploadHost host;
    TSchemeHarness& scheme = host.scheme;
    const TUploadShape shape = ShapeUpload(scheme.container, in);
    const TZelEventFromData& crcStore = host.crcStore;
    fakes::TManualTimers& timers = host.timers;

    // Counts of the log's labels, brought up to date after each step.
    size_t seen = 0, successes = 0, errors = 0, sent = 0;
    const auto count = [&] {
        for (; seen < scheme.log.size(); ++seen) {
            const std::string& label = scheme.log[seen].label;
            successes += label == "onSuccess";
            errors += label == "onError";
            sent += label == "onSend";
        }
    };
    bool started = false;
    for (int step = 0; step < 24 && !in.Empty(); ++step) {
        const uint32_t crc = ParseHex(crcStore.Stored().StrValue) & 0xFFFF;
        const std::string ack = protocol::Acknowledgement(uint16_t(crc));
        std::string chunk;
        const uint8_t op = in.Byte() % 6;
        if (op == 0) {
            scheme.Fire(1, TData());
            started = true;
            count();
            continue;
        }
        if (op == 1) {
            if (fakes::TManualTimer* watchdog = timers.Last()) watchdog->Fire(in.Byte() % 5);
            count();
            continue;
        }
        if (op == 2) chunk = in.Text(8);
        if (op == 3) chunk = ack;
        if (op == 4) chunk = protocol::FinalAcknowledgement(uint16_t(crc));
        if (op == 5) chunk = ack.substr(0, in.Byte() % 3) + in.Text(4);  // a near miss
        const size_t successesBefore = successes, sentBefore = sent;
        const bool over = successes + errors > 0;
        scheme.Fire(0, MakeStr(chunk));
        count();
        if (successes != successesBefore) {
            FUZZ_CHECK(!over);
            FUZZ_CHECK(started);
            FUZZ_CHECK(chunk == protocol::FinalAcknowledgement(uint16_t(crc)));
            FUZZ_CHECK(sentBefore == shape.Blocks() * shape.blockLength);  // every block, the last filled with zeros
            FUZZ_CHECK(sent == sentBefore + 1);                            // "PUSK"
        }
        if (over) FUZZ_CHECK(sent == sentBefore);
    }
    scheme.log.clear();
    return 0;
}
