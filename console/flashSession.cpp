#include "flashSession.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>

#include "platform/portList.h"
#include "platform/replyFraming.h"
#include "platform/terminal.h"
#include "base/cp1251.h"
#include "base/bootloaderProtocol.h"
#include "console/portIdentity.h"
#include "console/unitRecord.h"
#include "console/wireTrace.h"
#include "console/zelConsoleFlash.h"
#include "elements/zelStream2Hex.h"

namespace {

// What the network has told the program so far. The network reports from
// the reader thread and the watchdog's timer thread; the program waits on
// the main thread.
class TSessionState {
public:
    void Set(std::atomic<bool> TSessionState::*flag) {
        {
            std::lock_guard<std::mutex> guard(lock_);
            (this->*flag).store(true);
        }
        changed_.notify_all();
    }
    // Waits until done() holds, an interrupt is asked for, or the deadline
    // passes; returns whether done() holds.
    // Keeps the first failure: it is the one to tell.
    void Failure(const TData& d) {
        std::lock_guard<std::mutex> guard(lock_);
        if (error_.Tag() == TypeNull) error_ = d;
    }
    TData FirstFailure() {
        std::lock_guard<std::mutex> guard(lock_);
        return error_;
    }

    template <class Done>
    bool WaitFor(Done done, std::chrono::steady_clock::time_point deadline) {
        std::unique_lock<std::mutex> guard(lock_);
        while (!done()) {
            if (platform::InterruptRequested() || std::chrono::steady_clock::now() >= deadline) return false;
            changed_.wait_for(guard, std::chrono::milliseconds(50));
        }
        return true;
    }

    std::atomic<bool> found{false};
    std::atomic<bool> notFound{false};
    std::atomic<bool> finished{false};
    // Of the read that identified the device: whether its reply was still
    // arriving, and the bytes read up to its end.
    bool identifiedUnended = false;
    uint64_t readAtIdentification = 0;

private:
    std::mutex lock_;
    std::condition_variable changed_;
    TData error_;
};

// Holds a session's texts until a device has identified itself, then lets
// them through; without a device they are dropped.
class THeldOutput {
public:
    explicit THeldOutput(TTextOutput to) : to_(std::move(to)) {}
    void Write(std::string_view text) {
        std::lock_guard<std::mutex> guard(lock_);
        if (released_)
            to_(text);
        else
            held_ += text;
    }
    void Release() {
        std::lock_guard<std::mutex> guard(lock_);
        if (!released_ && !held_.empty()) to_(held_);
        released_ = true;
        held_.clear();
    }
    void Drop() {
        std::lock_guard<std::mutex> guard(lock_);
        held_.clear();
    }

private:
    std::mutex lock_;
    TTextOutput to_;
    std::string held_;
    bool released_ = false;
};

// A caption of the window, its lines as the terminal shows them: without
// the blanks that centre them in the window.
void SayCaption(const TTextOutput& say, const std::string& caption) {
    size_t start = 0;
    while (start <= caption.size()) {
        size_t end = caption.find("\r\n", start);
        if (end == std::string::npos) end = caption.size();
        std::string line = caption.substr(start, end - start);
        line.erase(0, line.find_first_not_of(' ') == std::string::npos ? line.size() : line.find_first_not_of(' '));
        say(cp1251::ToUtf8(line) + "\n");
        start = end + 2;
    }
}

// Building a network touches the process's start-up queue, which is no
// place for two threads at once.
std::mutex& BuildLock() {
    static std::mutex lock;
    return lock;
}

// A reply handed on before the line went quiet names the device only if
// nothing follows it: a device of the family says nothing more until the
// first block comes. Waits for a rest as long as the framing may take to hand
// it on; returns how many bytes followed (0: the reply was whole).
uint64_t BytesAfterIdentification(TSessionState& state, const TZelComAsync& port) {
    if (!state.identifiedUnended) return 0;
    const auto until = std::chrono::steady_clock::now() + platform::GatherLongest + std::chrono::milliseconds(500);
    state.WaitFor([&] { return port.BytesRead() > state.readAtIdentification || !port.Opened(); }, until);
    return port.BytesRead() - state.readAtIdentification;
}

std::string Detail(const TData& error, const std::string& loss, const TZelComAsync& port) {
    if (!loss.empty()) return "the port went away: " + loss;
    if (error.Tag() == TypeInt) {
        const std::string came = port.UnfinishedReply();
        if (came.empty()) return "the device stopped answering (no reply for 3 watchdog ticks)";
        return "the device's reply stopped short: " + std::to_string(came.size()) + " of the " +
               std::to_string(port.UnfinishedOf()) + " bytes awaited came (" + BytesToHex(came) +
               " hexadecimal), then no more for 3 watchdog ticks";
    }
    std::string reply = ToString(error);
    // A flood of bytes is not for a terminal line: its start tells enough.
    constexpr size_t shown = 64;  // hex digits: 32 bytes
    if (reply.size() > shown) reply = std::to_string(reply.size() / 2) + " bytes, beginning " + reply.substr(0, shown);
    return reply.empty() ? "the device's reply was empty"
                         : "the device replied " + reply + " (hexadecimal), not the expected acknowledgement";
}

}  // namespace

std::string SchemePortName(const std::string& port) {
    // A device path, or an identity whose path a station finds at every
    // probe, gets a free COM name.
    if (platform::ComPortNumber(port) != 0 || (port.find('/') == std::string::npos && !IsPortIdentity(port)))
        return port;
    std::string name = platform::RegisterFreePortPath(port);
    if (name.empty()) platform::WriteError("quarnelvisk-flash: no free COM name for " + port + "\n");
    return name;
}

int RunFlash(const TFlashRequest& request) {
    const std::string name = SchemePortName(request.Port);
    if (name.empty()) return FlashUsageError;
    const TUnitResult unit = FlashUnit(request, name, TUnitOptions{});
    if (request.Records) request.Records->Write(unit.Record);
    return unit.Exit;
}

TUnitResult FlashUnit(const TFlashRequest& request, const std::string& name, const TUnitOptions& options) {
    using TClock = std::chrono::steady_clock;
    THeldOutput held(options.Output ? options.Output
                                    : TTextOutput([](std::string_view t) { platform::WriteOutput(t); }));
    const TTextOutput out = [&held](std::string_view text) { held.Write(text); };
    const auto say = [&](const std::string& text1251) { out(cp1251::ToUtf8(text1251) + "\n"); };

    const auto started = TClock::now();
    TUnitResult unit;
    TUnitRecord& record = unit.Record;
    record.Time = UtcNow();
    record.Port = request.Port;
    record.ImageFile = request.Image.File;
    record.ImageFormat = request.Image.Format;
    record.ImageBytes = request.Image.Bytes;
    record.ImageCrc = request.Image.Crc;
    record.ImageSha256 = request.Image.Sha256;
    record.Station = request.Station;
    const platform::TPortFacts adapter = platform::DescribePort(name);
    record.UsbVendor = adapter.UsbVendor;
    record.UsbProduct = adapter.UsbProduct;
    record.Serial = adapter.Serial;
    record.Location = adapter.Location;
    TWireTrace trace;
    if (!request.Trace.empty() && !options.ProbeOnly) {
        const std::string path =
            request.TraceFolder ? TraceFileName(request.Trace, request.Port, record.Time, options.Unit) : request.Trace;
        std::string failure;
        if (trace.Open(path, failure))
            record.TraceFile = path;
        else
            platform::WriteError("quarnelvisk-flash: " + failure + "\n");
        trace.Begin(request.Port, options.Unit, request.Image.Bytes / protocol::BlockSize);
    }
    const auto tell = [&](const std::string& detail) {
        out("Detail: " + detail + ".\n");
        record.Detail = detail;
    };

    TSessionState state;
    int result = FlashFailed;
    {
        std::unique_lock<std::mutex> building(BuildLock());
        TClassConsoleFlash scheme(request.Terminal, out);
        scheme.UploadProgress->Columns = options.Columns;
        if (trace.IsOpen()) {
            scheme.SerialPort->WireWatch = [&trace](const TWireEvent& event) { trace.Wire(event); };
            scheme.UploadWatchdog().TickWatch = [&trace] { trace.WatchdogTick(); };
        }
        scheme.WriteButton->OnSignal = [&](const TData& d) {
            if (!IsNonZero(d) || state.found) return;
            // In the chain of the read that identified the device.
            state.identifiedUnended = scheme.SerialPort->LastReadUnended();
            state.readAtIdentification = scheme.SerialPort->BytesRead();
            state.Set(&TSessionState::found);
        };
        scheme.NotFound->OnSignal = [&](const TData&) { state.Set(&TSessionState::notFound); };
        scheme.ErrorDetail->OnSignal = [&](const TData& d) { state.Failure(d); };
        scheme.Finished->OnSignal = [&](const TData&) { state.Set(&TSessionState::finished); };

        if (!options.SharedDispatch) EnableDispatch();
        RunStartup();
        building.unlock();
        scheme.PickPort(name);

        // The probe: identified, or the port did not open or went away, or
        // no answer in time.
        const auto probeEnd = TClock::now() + std::chrono::milliseconds(int64_t(request.ProbeTimeoutSeconds * 1000));
        const auto portFailed = [&] {
            return !scheme.SerialPort->Opened() || !scheme.SerialPort->LossReason().empty();
        };
        const bool probed =
            state.WaitFor([&] { return state.found.load() || (state.notFound.load() && portFailed()); }, probeEnd);
        unit.Identified = probed && state.found;
        const uint64_t ranOn = unit.Identified ? BytesAfterIdentification(state, *scheme.SerialPort) : 0;
        if (ranOn != 0) {
            // Its status line names what is not a device.
            unit.Identified = false;
            held.Drop();
        }
        if (unit.Identified || !options.QuietWithoutDevice) held.Release();
        if (platform::InterruptRequested()) {
            result = FlashInterrupted;
        } else if (!unit.Identified) {
            say(std::string("На этом порту устройств не найдено."_w));
            record.Detail = "no device identified itself";
            // The window says no more; a technician at a terminal is told why.
            result = FlashNoDevice;
            if (ranOn != 0) {
                tell("the reply to VERS did not end: " + std::to_string(ranOn) + " more bytes followed its first " +
                     std::to_string(state.readAtIdentification) +
                     " bytes without a pause, and a device of the family answers in one short reply");
            } else if (state.notFound && !scheme.SerialPort->Opened()) {
                tell(request.Port + " could not be opened: " + scheme.SerialPort->OpenFailure());
                result = FlashPortUnavailable;
            } else if (const std::string loss = scheme.SerialPort->LossReason(); !loss.empty()) {
                tell(request.Port + " went away: " + loss);
            }
        } else if (options.ProbeOnly) {
            result = FlashSucceeded;
        } else {
            scheme.ClickWrite();
            state.WaitFor([&] { return state.finished.load(); }, TClock::time_point::max());
            // A reply cut short is handed on once the watchdog has given up
            // on it: its bytes are for the detail, read before the close.
            const auto handedOn = TClock::now() + std::chrono::seconds(2);
            state.WaitFor([&] { return !scheme.SerialPort->UnfinishedReplyPending() || portFailed(); }, handedOn);
            result = platform::InterruptRequested() && !state.finished ? FlashInterrupted : FlashFailed;
        }
        // As closing the window: the port closes (its reader thread ends),
        // then events stop.
        scheme.Close();
        if (!options.SharedDispatch) DisableDispatch();
        scheme.WaitQuiet();
        if (options.SharedDispatch) scheme.EndNestedSchemes();

        scheme.UploadProgress->Finish(result != FlashInterrupted && state.finished && scheme.SuccessLabel->Shown());
        if (unit.Identified) ParseStatusLine(scheme.StatusEdit->LastText(), record.DeviceName, record.DeviceVersion);
        if (result == FlashInterrupted && (!unit.Identified || options.ProbeOnly)) {
            out("Interrupted: the port is closed; no upload had begun.\n");
            record.Detail = "interrupted before a device answered";
        } else if (result == FlashInterrupted) {
            // The bootloader waits for the rest of its image and answers
            // nothing else until it starts again.
            out("Interrupted: the port is closed, the upload did not finish. Switch the unit off and on before "
                "flashing it again.\n");
            record.Detail = "interrupted before the upload finished";
        } else if (unit.Identified && state.finished) {
            if (scheme.SuccessLabel->Shown()) {
                SayCaption(out, scheme.SuccessLabel->Caption);
                result = FlashSucceeded;
            } else {
                if (scheme.ErrorText->Shown()) SayCaption(out, scheme.ErrorText->Caption);
                if (scheme.CheckText->Shown()) SayCaption(out, scheme.CheckText->Caption);
                tell(Detail(state.FirstFailure(), scheme.SerialPort->LossReason(), *scheme.SerialPort));
            }
        }
        record.BlocksAcknowledged = result == FlashSucceeded && !options.ProbeOnly
                                        ? int(record.ImageBytes / 256)
                                        : std::max(0, scheme.UploadProgress->Position());
    }
    // A hang-up or termination request is told apart from Ctrl-C.
    record.Exit =
        result == FlashInterrupted && platform::InterruptSignal() != 0 ? 128 + platform::InterruptSignal() : result;
    record.Seconds = std::chrono::duration<double>(TClock::now() - started).count();
    trace.End(OutcomeName(record.Exit), record.Detail);
    // A station's look for a unit that found none leaves no trace behind.
    if (!record.TraceFile.empty() && options.QuietWithoutDevice && !unit.Identified) {
        std::remove(record.TraceFile.c_str());
        record.TraceFile.clear();
    }
    unit.Exit = result;
    return unit;
}
