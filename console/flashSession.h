// One run of the command-line flasher over the console scheme: pick the
// port, wait for the device, press "Записать" as soon as it is identified,
// wait for the outcome, close the port and say what happened.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "console/imageFile.h"
#include "console/unitRecord.h"

enum TFlashExit : int {
    FlashSucceeded = 0,
    FlashFailed = 1,           // the transfer failed
    FlashNoDevice = 2,         // nothing identified itself on the port
    FlashPortUnavailable = 3,  // the port could not be opened
    FlashRecordLost = 74,      // a unit's record could not be written
    FlashUsageError = 64,
    FlashInterrupted = 130,
};

struct TFlashRequest {
    std::string Port;                    // a COM name, or a device path where the system has them
    double ProbeTimeoutSeconds = 3;      // how long to wait for the version reply
    bool Terminal = false;               // draw the progress as a bar
    TUnitRecordFile* Records = nullptr;  // where the unit's record goes, if anywhere
    TImageFacts Image;                   // what every unit is sent, for the records
    // Where the wire traces go: a file for one port, a folder (a file for
    // every port and unit) for several or a station; empty: no trace.
    std::string Trace;
    bool TraceFolder = false;
    std::string Station;  // the station's name, for the records
};

// Where a session's texts go: UTF-8 text as it would be written to the
// standard output (whole lines, or a progress bar's redraw).
using TTextOutput = std::function<void(std::string_view utf8)>;

// How one session runs among others of the same process.
struct TUnitOptions {
    TTextOutput Output;  // empty: the standard output
    // The columns a line of Output may take; empty: the terminal's width.
    std::function<int()> Columns;
    // The program keeps dispatch on for every network of the process: the
    // session ends its own network instead of turning dispatch off.
    bool SharedDispatch = false;
    // Says nothing unless a device identifies itself: a station's waits for
    // the next unit stay quiet.
    bool QuietWithoutDevice = false;
    // Identifies the device and uploads nothing: whether a unit is still on
    // the port. The result is FlashSucceeded when one answered.
    bool ProbeOnly = false;
    // The unit's number on its port, for its trace's name (0: none).
    int Unit = 0;
};

struct TUnitResult {
    int Exit = FlashFailed;
    bool Identified = false;  // a device of the family answered
    TUnitRecord Record;       // filled whatever the outcome
};

// The COM name the network picks for a port as the user named it (a device
// path gets a free COM name); empty when there is none, which is said.
std::string SchemePortName(const std::string& port);
// One unit on the port the network knows as schemeName: probe, upload (or
// not), outcome texts, the record. Writes no record itself.
TUnitResult FlashUnit(const TFlashRequest& request, const std::string& schemeName, const TUnitOptions& options);

// The whole run for the one port of request, its record written.
int RunFlash(const TFlashRequest& request);
