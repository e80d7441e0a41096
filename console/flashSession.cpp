#include "flashSession.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/portList.h"
#include "platform/terminal.h"
#include "base/cp1251.h"
#include "base/modbusCrc.h"
#include "console/unitRecord.h"
#include "console/zelConsoleFlash.h"
#include "platform/resources.h"

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

private:
    std::mutex lock_;
    std::condition_variable changed_;
    TData error_;
};

void Say(const std::string& text1251) { platform::WriteOutput(cp1251::ToUtf8(text1251) + "\n"); }

// A caption of the window, its lines as the terminal shows them: without
// the blanks that centre them in the window.
void SayCaption(const std::string& caption) {
    size_t start = 0;
    while (start <= caption.size()) {
        size_t end = caption.find("\r\n", start);
        if (end == std::string::npos) end = caption.size();
        std::string line = caption.substr(start, end - start);
        line.erase(0, line.find_first_not_of(' ') == std::string::npos ? line.size() : line.find_first_not_of(' '));
        Say(line);
        start = end + 2;
    }
}

std::string Detail(const TData& error, const std::string& loss) {
    if (!loss.empty()) return "the port went away: " + loss;
    if (error.Tag() == TypeInt) return "the device stopped answering (no reply for 3 watchdog ticks)";
    const std::string reply = ToString(error);
    return reply.empty() ? "the device's reply was empty"
                         : "the device replied " + reply + " (hexadecimal), not the expected acknowledgement";
}

}  // namespace

int ListPortsToOutput() {
    EnableDispatch();
    {
        TClassConsoleFlash scheme(false);
        scheme.ListPorts();
        DisableDispatch();
    }
    return FlashSucceeded;
}

int RunFlash(const TFlashRequest& request) {
    using TClock = std::chrono::steady_clock;
    std::string name = request.Port;
    if (platform::ComPortNumber(name) == 0 && name.find('/') != std::string::npos) {
        name = platform::RegisterFreePortPath(request.Port);
        if (name.empty()) {
            platform::WriteError("quarnelvisk-flash: no free COM name for " + request.Port + "\n");
            return FlashUsageError;
        }
    }

    const auto started = TClock::now();
    TUnitRecord record;
    record.Time = UtcNow();
    record.Port = request.Port;
    if (const auto image = platform::FindModuleResource("STREAM0", platform::ResourceTypeStream)) {
        record.ImageBytes = image->size();
        record.ImageCrc = ModbusCrc(*image);
    }
    const auto tell = [&](const std::string& detail) {
        platform::WriteOutput("Detail: " + detail + ".\n");
        record.Detail = detail;
    };

    TSessionState state;
    int result = FlashFailed;
    {
        TClassConsoleFlash scheme(request.Terminal);
        scheme.WriteButton->OnSignal = [&](const TData& d) {
            if (IsNonZero(d)) state.Set(&TSessionState::found);
        };
        scheme.NotFound->OnSignal = [&](const TData&) { state.Set(&TSessionState::notFound); };
        scheme.ErrorDetail->OnSignal = [&](const TData& d) { state.Failure(d); };
        scheme.Finished->OnSignal = [&](const TData&) { state.Set(&TSessionState::finished); };

        EnableDispatch();
        RunStartup();
        scheme.PickPort(name);

        // The probe: identified, or the port did not open or went away, or
        // no answer in time.
        const auto probeEnd = TClock::now() + std::chrono::milliseconds(int64_t(request.ProbeTimeoutSeconds * 1000));
        const auto portFailed = [&] {
            return !scheme.SerialPort->Opened() || !scheme.SerialPort->LossReason().empty();
        };
        const bool probed =
            state.WaitFor([&] { return state.found.load() || (state.notFound.load() && portFailed()); }, probeEnd);
        if (platform::InterruptRequested()) {
            result = FlashInterrupted;
        } else if (!probed || !state.found) {
            if (!state.notFound) Say(std::string("На этом порту устройств не найдено."_w));
            record.Detail = "no device identified itself";
            // The window says no more; a technician at a terminal is told why.
            if (state.notFound && !scheme.SerialPort->Opened())
                tell(request.Port + " could not be opened: " + scheme.SerialPort->OpenFailure());
            else if (const std::string loss = scheme.SerialPort->LossReason(); !loss.empty())
                tell(request.Port + " went away: " + loss);
            result = FlashNoDevice;
        } else {
            scheme.ClickWrite();
            state.WaitFor([&] { return state.finished.load(); }, TClock::time_point::max());
            result = platform::InterruptRequested() && !state.finished ? FlashInterrupted : FlashFailed;
        }
        // As closing the window: the port closes (its reader thread ends),
        // then events stop.
        scheme.Close();
        DisableDispatch();
        scheme.WaitQuiet();
        scheme.UploadProgress->Finish();

        if (state.found) ParseStatusLine(scheme.StatusEdit->LastText(), record.DeviceName, record.DeviceVersion);
        if (result == FlashInterrupted) {
            platform::WriteOutput("Interrupted: the port is closed, the upload did not finish.\n");
            record.Detail = "interrupted before the upload finished";
        } else if (state.finished) {
            if (scheme.SuccessLabel->Shown()) {
                SayCaption(scheme.SuccessLabel->Caption);
                result = FlashSucceeded;
            } else {
                if (scheme.ErrorText->Shown()) SayCaption(scheme.ErrorText->Caption);
                if (scheme.CheckText->Shown()) SayCaption(scheme.CheckText->Caption);
                tell(Detail(state.FirstFailure(), scheme.SerialPort->LossReason()));
            }
        }
        record.BlocksAcknowledged =
            result == FlashSucceeded ? int(record.ImageBytes / 256) : std::max(0, scheme.UploadProgress->Position());
    }
    record.Exit = result;
    record.Seconds = std::chrono::duration<double>(TClock::now() - started).count();
    if (request.Records) request.Records->Write(record);
    return result;
}
