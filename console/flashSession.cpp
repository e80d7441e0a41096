#include "flashSession.h"

#include <chrono>
#include <cstdio>
#include <mutex>

#include "base/bootloaderProtocol.h"
#include "base/cp1251.h"
#include "console/portIdentity.h"
#include "console/sessionState.h"
#include "console/sessionTexts.h"
#include "console/unitRecord.h"
#include "console/wireTrace.h"
#include "console/zelConsoleFlash.h"
#include "platform/portList.h"
#include "platform/terminal.h"

namespace {

// Building a network touches the process's start-up queue, which is no
// place for two threads at once.
std::mutex& BuildLock() {
    static std::mutex lock;
    return lock;
}

// The scheme's signals, as the session waits on them: the write button
// enabled (the device identified), nothing found, the failure, the end.
void ReportTo(TSessionState& state, TClassConsoleFlash& scheme) {
    const TZelComAsync& port = *scheme.Exchange.SerialPort;
    scheme.WriteButton->OnSignal = [&state, &port](const TData& d) {
        if (!IsNonZero(d) || state.found) return;
        // In the chain of the read that identified the device.
        state.identifiedUnended = port.LastReadUnended();
        state.readAtIdentification = port.BytesRead();
        state.Set(&TSessionState::found);
    };
    scheme.NotFound->OnSignal = [&state](const TData&) { state.Set(&TSessionState::notFound); };
    scheme.ErrorDetail->OnSignal = [&state](const TData& d) { state.Failure(d); };
    scheme.Finished->OnSignal = [&state](const TData&) { state.Set(&TSessionState::finished); };
}

// What the record says of the session before it runs.
TUnitRecord RecordOf(const TFlashRequest& request) {
    TUnitRecord record;
    record.Time = UtcNow();
    record.Port = request.Port;
    record.ImageFile = request.Image.File;
    record.ImageFormat = request.Image.Format;
    record.ImageBytes = request.Image.Bytes;
    record.ImageCrc = request.Image.Crc;
    record.ImageSha256 = request.Image.Sha256;
    record.Station = request.Station;
    return record;
}

// The adapter behind the port, as far as the system tells.
void AddAdapter(TUnitRecord& record, const std::string& schemeName) {
    const platform::TPortFacts adapter = platform::DescribePort(schemeName);
    record.UsbVendor = adapter.UsbVendor;
    record.UsbProduct = adapter.UsbProduct;
    record.Serial = adapter.Serial;
    record.Location = adapter.Location;
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
    unit.Record = RecordOf(request);
    TUnitRecord& record = unit.Record;
    TWireTrace trace;
    if (!request.Trace.empty() && !options.ProbeOnly) {
        trace.Begin(
            request.TraceFolder ? TraceFileName(request.Trace, request.Port, record.Time, options.Unit) : request.Trace,
            request.Port, options.Unit, request.Image.Bytes / protocol::BlockSize);
        // A station keeps the trace only of a look that found a unit.
        if (!options.QuietWithoutDevice) record.TraceFile = trace.Keep();
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
        if (trace.Begun()) {
            scheme.Exchange.SerialPort->WireWatch = [&trace](const TWireEvent& event) { trace.Wire(event); };
            scheme.UploadWatchdog().TickWatch = [&trace] { trace.WatchdogTick(); };
        }
        ReportTo(state, scheme);

        if (!options.SharedDispatch) EnableDispatch();
        RunStartup();
        building.unlock();
        scheme.PickPort(name);

        // The probe: identified, or the port did not open or went away, or
        // no answer in time.
        const auto probeEnd = TClock::now() + std::chrono::milliseconds(int64_t(request.ProbeTimeoutSeconds * 1000));
        const auto portFailed = [&] {
            return !scheme.Exchange.SerialPort->Opened() || !scheme.Exchange.SerialPort->LossReason().empty();
        };
        const bool probed =
            state.WaitFor([&] { return state.found.load() || (state.notFound.load() && portFailed()); }, probeEnd);
        unit.Identified = probed && state.found;
        const uint64_t ranOn = unit.Identified ? BytesAfterIdentification(state, *scheme.Exchange.SerialPort) : 0;
        if (ranOn != 0) {
            // Its status line names what is not a device.
            unit.Identified = false;
            held.Drop();
        }
        if (unit.Identified || !options.QuietWithoutDevice) held.Release();
        if (unit.Identified) record.TraceFile = trace.Keep();
        if (platform::InterruptRequested()) {
            result = FlashInterrupted;
        } else if (!unit.Identified) {
            say(std::string("На этом порту устройств не найдено."_w));
            record.Detail = "no device identified itself";
            // The window says no more; a technician at a terminal is told why.
            const TNoDevice why = WhyNoDevice(request.Port, ranOn, state.readAtIdentification, state.notFound,
                                              *scheme.Exchange.SerialPort);
            result = why.Exit;
            if (!why.Detail.empty()) tell(why.Detail);
        } else if (options.ProbeOnly) {
            result = FlashSucceeded;
        } else {
            scheme.ClickWrite();
            state.WaitFor([&] { return state.finished.load(); }, TClock::time_point::max());
            // A reply cut short is handed on once the watchdog has given up
            // on it: its bytes are for the detail, read before the close.
            const auto handedOn = TClock::now() + std::chrono::seconds(2);
            state.WaitFor([&] { return !scheme.Exchange.SerialPort->UnfinishedReplyPending() || portFailed(); },
                          handedOn);
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
        if (result == FlashInterrupted) {
            const TInterruption cut = InterruptionOf(unit.Identified && !options.ProbeOnly);
            out(std::string(cut.Said) + "\n");
            record.Detail = cut.Detail;
        } else if (unit.Identified && state.finished) {
            if (scheme.SuccessLabel->Shown()) {
                SayCaption(out, scheme.SuccessLabel->Caption);
                result = FlashSucceeded;
            } else {
                if (scheme.ErrorText->Shown()) SayCaption(out, scheme.ErrorText->Caption);
                if (scheme.CheckText->Shown()) SayCaption(out, scheme.CheckText->Caption);
                tell(FailureDetail(state.FirstFailure(), scheme.Exchange.SerialPort->LossReason(),
                                   *scheme.Exchange.SerialPort));
            }
        }
        record.BlocksAcknowledged = result == FlashSucceeded && !options.ProbeOnly
                                        ? int(record.ImageBytes / protocol::BlockSize)
                                        : std::max(0, scheme.UploadProgress->Position());
    }
    // A hang-up or termination request is told apart from Ctrl-C.
    record.Exit =
        result == FlashInterrupted && platform::InterruptSignal() != 0 ? 128 + platform::InterruptSignal() : result;
    record.Seconds = std::chrono::duration<double>(TClock::now() - started).count();
    // The adapter, for a record that will be written: not at every look of
    // a station's that finds no unit.
    if (unit.Identified || !options.QuietWithoutDevice) AddAdapter(record, name);
    trace.End(OutcomeName(record.Exit), record.Detail);
    unit.Exit = result;
    return unit;
}
