#include "stationFlash.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "base/cp1251.h"
#include "console/multiFlash.h"
#include "console/portIdentity.h"
#include "console/portOutput.h"
#include "platform/terminal.h"

namespace {

// A second between probes, cut short by Ctrl-C.
void PauseBetweenProbes() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (!platform::InterruptRequested() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

struct TCounts {
    std::atomic<int> passed{0};
    std::atomic<int> failed{0};
    std::atomic<int> interrupted{0};
};

// One port's line: wait for a unit, flash it, wait until it is gone.
void ServePort(const TFlashRequest& request, const std::string& name, TCounts& counts) {
    const TTextOutput say = PrefixedLines(request.Port);
    TUnitOptions waiting;
    waiting.SharedDispatch = true;
    waiting.QuietWithoutDevice = true;
    waiting.Output = say;
    TUnitOptions stillThere = waiting;
    stillThere.ProbeOnly = true;
    stillThere.Output = [](std::string_view) {};
    std::string unavailable;  // why the port could not be opened, as last said
    for (int served = 0; !platform::InterruptRequested();) {
        // A port named by its adapter or socket is looked for at every
        // probe: it gets a new device name whenever it is plugged in again.
        std::string missing;
        if (IsPortIdentity(request.Port)) {
            platform::TPortFacts found;
            if (ResolvePortIdentity(request.Port, platform::DescribeSerialDevices(), found, missing))
                platform::RegisterPortPath(name, found.DevicePath);
            else
                missing = missing.substr(0, missing.find(';'));
        }
        waiting.Unit = served + 1;
        const TUnitResult unit = missing.empty() ? FlashUnit(request, name, waiting) : TUnitResult{};
        // Said once, and again when the reason changes: a station must not
        // wait in silence on a port it can never open.
        const std::string why = !missing.empty()                    ? missing
                                : unit.Exit == FlashPortUnavailable ? unit.Record.Detail
                                                                    : std::string();
        if (why != unavailable && !platform::InterruptRequested()) {
            say(why.empty() ? "the port opens now; waiting for units\n" : why + "; trying again every second\n");
            unavailable = why;
        }
        if (!unit.Identified) {
            PauseBetweenProbes();
            continue;
        }
        (unit.Exit == FlashSucceeded     ? counts.passed
         : unit.Exit == FlashInterrupted ? counts.interrupted
                                         : counts.failed)++;
        TUnitRecord r = unit.Record;
        r.Unit = served + 1;
        r.Passed = counts.passed;
        r.Failed = counts.failed;
        if (request.Records) request.Records->Write(r);
        char seconds[32];
        std::snprintf(seconds, sizeof(seconds), "%.1f", r.Seconds);
        say("unit " + std::to_string(++served) + ": " + cp1251::ToUtf8Visible(r.DeviceName) + " " +
            cp1251::ToUtf8Visible(r.DeviceVersion) + ", " + OutcomeName(r.Exit) + ", " + seconds + " s\n");
        // The unit stays until it is taken off the line (the port goes, or
        // nothing answers as the bootloader: its new firmware runs). One
        // that answers again is the same unit, not flashed twice.
        while (!platform::InterruptRequested()) {
            PauseBetweenProbes();
            if (platform::InterruptRequested() || !FlashUnit(request, name, stillThere).Identified) break;
        }
        if (!platform::InterruptRequested()) say("unit " + std::to_string(served) + " is gone; waiting for the next\n");
    }
}

}  // namespace

int RunStation(const TFlashRequest& request, const std::vector<std::string>& ports) {
    std::vector<std::string> names;
    for (const std::string& port : ports) {
        names.push_back(SchemePortName(port));
        if (names.back().empty()) return FlashUsageError;
    }
    platform::WriteOutput("Station: waiting for units on " + std::to_string(ports.size()) +
                          (ports.size() == 1 ? " port" : " ports") + "; Ctrl-C ends.\n");
    TCounts counts;
    ServeConcurrently(ports.size(), [&](size_t i) {
        TFlashRequest one = request;
        one.Port = ports[i];
        one.Terminal = false;  // lines only: the results scroll, a bar would be overwritten
        ServePort(one, names[i], counts);
    });
    const int passed = counts.passed, failed = counts.failed, interrupted = counts.interrupted;
    const int units = passed + failed + interrupted;
    platform::WriteOutput("Station: " + std::to_string(units) + (units == 1 ? " unit, " : " units, ") +
                          std::to_string(passed) + " passed, " + std::to_string(failed) + " failed" +
                          (interrupted ? ", " + std::to_string(interrupted) + " interrupted" : std::string()) + ".\n");
    if (interrupted) return FlashInterrupted;
    return failed > 0 ? FlashFailed : FlashSucceeded;
}
