// A whole session of the flasher's console scheme, serial element included,
// over the scripted serial backend: the port opens and "VERS" goes out, then
// the input plays the device (any reply chunks, the right acknowledgement,
// the identification), the user ("Записать") and the watchdog (manual ticks)
// in any order, words after "PUSK" included. Short blocks and a short image
// are drawn from the input (fuzzUpload.h). The reader thread is the fuzzer's
// own: each chunk is handed to the element as its reader would, by onRxChar
// with the queue count.
//
// Checked after every step against a small model of the exchange written
// from the protocol: the device is identified by a chunk whose first word is
// "QUARNELVISK" in any letter case; after "Записать" each block is answered
// by the two CRC-16/MODBUS bytes of everything sent so far, in one chunk, and
// the block that ends the image by those bytes followed by "FZ"; anything
// else awaiting an acknowledgement, or three watchdog ticks without one, is
// a failure; success sends "PUSK", and after the outcome nothing is sent or
// shown any more. The bytes on the line, the found signal and the outcome
// texts must be the model's.
#include <cctype>
#include <string>

#include "console/zelConsoleFlash.h"
#include "tests/fakes/manualTimer.h"
#include "tests/fakes/serialFake.h"
#include "tests/fuzz/fuzzInput.h"
#include "tests/fuzz/fuzzSupport.h"
#include "tests/fuzz/fuzzUpload.h"

namespace {

// No reader thread: the fuzzer calls the element's reader event itself.
class TNoThreadBackend final : public TFakeSerialBackend {
public:
    bool StartThread(platform::TThread&, std::function<void()>) override { return true; }
};

class TExchangeModel {
public:
    enum TPhase { Probe, Identified, Uploading, Succeeded, Failed };

    explicit TExchangeModel(TUploadShape s) : shape(std::move(s)) {}

    void Chunk(const std::string& chunk) {
        if (phase == Probe && Identifies(chunk)) phase = Identified;
        if (phase != Uploading) return;
        silent = 0;
        const std::string expected =
            block == shape.Blocks() ? protocol::FinalAcknowledgement(crc) : protocol::Acknowledgement(crc);
        if (chunk != expected) {
            phase = Failed;
        } else if (block == shape.Blocks()) {
            phase = Succeeded;
            line += protocol::StartCommand;
        } else {
            SendBlock();
        }
    }
    void Click() {
        if (phase != Identified) return;
        phase = Uploading;
        SendBlock();
    }
    void Tick() {
        if (phase == Uploading && ++silent == 3) phase = Failed;
    }

    TPhase phase = Probe;
    std::string line{protocol::VersionRequest};  // what the host must have written

private:
    static bool Identifies(const std::string& chunk) {
        const size_t space = chunk.find(' ');
        if (space != 11) return false;
        for (size_t i = 0; i < 11; ++i)
            if (std::toupper(static_cast<unsigned char>(chunk[i])) != "QUARNELVISK"[i]) return false;
        return true;
    }
    void SendBlock() {
        const std::string bytes = shape.Block(++block);
        crc = ModbusCrc(bytes, crc);
        line += bytes;
    }

    const TUploadShape shape;
    size_t block = 0;
    uint16_t crc = 0xFFFF;
    int silent = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzDispatchOn();
    TFuzzInput in(data, size);
    fakes::TManualTimers timers;
    TNoThreadBackend backend;
    backend.AddDevice("\\\\.\\COM3");
    TClassConsoleFlash scheme(false);
    scheme.StatusEdit->Echo = false;
    int found = 0, outcomes = 0;
    scheme.WriteButton->OnSignal = [&](const TData& d) { found += IsNonZero(d) ? 1 : 0; };
    scheme.Finished->OnSignal = [&](const TData&) { ++outcomes; };
    fakes::TManualTimer* watchdog = timers.Last();
    FUZZ_CHECK(watchdog != nullptr);

    TExchangeModel model(ShapeUpload(*scheme.Exchange.Uploader, in));
    scheme.PickPort("COM3");
    const std::shared_ptr<TFakeSerialPort> port = backend.LastPort();
    FUZZ_CHECK(port != nullptr);

    // Past about 100 ticks the silence counter wraps and would count again.
    int ticks = 0;
    for (int step = 0; step < 24 && !in.Empty(); ++step) {
        const uint8_t op = in.Byte() % 8;
        if (op == 0) {
            model.Click();
            // As the program: "Записать" only once the device was found.
            if (found > 0) scheme.ClickWrite();
        } else if (op == 1) {
            const int n = in.Byte() % 5;
            for (int i = 0; i < n && ticks < 90; ++i, ++ticks) {
                model.Tick();
                watchdog->Fire();
            }
        } else {
            // What the device answers: anything, the right acknowledgement
            // (plain, final, or a near miss of it), or an identification.
            const uint16_t crc = uint16_t(ParseHex(scheme.CRCStore->Stored().StrValue));
            const std::string ack = protocol::Acknowledgement(crc);
            std::string chunk;
            switch (op) {
                case 2: chunk = in.Text(8); break;
                case 3: chunk = ack; break;
                case 4: chunk = protocol::FinalAcknowledgement(crc); break;
                case 5: chunk = ack.substr(0, in.Byte() % 3) + in.Text(3); break;
                case 6: chunk = std::string(protocol::IdentificationWord) + in.Text(12); break;
                default: chunk = in.Text(2) + (in.Byte() & 1 ? "quarnelvisk MZK7 1.3" : "QUARNELVISK MZK7 1.3"); break;
            }
            model.Chunk(chunk);
            port->Deliver(chunk);
            CallEventInt(scheme.Exchange.SerialPort->onRxChar, int32_t(port->Queued()));
        }
        FUZZ_CHECK(port->Written() == model.line);
        FUZZ_CHECK((found > 0) == (model.phase != TExchangeModel::Probe));
        FUZZ_CHECK(scheme.SuccessLabel->Shown() == (model.phase == TExchangeModel::Succeeded));
        FUZZ_CHECK(scheme.ErrorText->Shown() == (model.phase == TExchangeModel::Failed));
        FUZZ_CHECK(outcomes == (model.phase >= TExchangeModel::Succeeded ? 1 : 0));
    }
    scheme.Close();
    return 0;
}
