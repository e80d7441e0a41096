// One run of the command-line flasher over the console scheme: pick the
// port, wait for the device, press "Записать" as soon as it is identified,
// wait for the outcome, close the port and say what happened.
#pragma once

#include <string>

class TUnitRecordFile;

enum TFlashExit : int {
    FlashSucceeded = 0,
    FlashFailed = 1,    // the transfer failed
    FlashNoDevice = 2,  // nothing identified itself on the port
    FlashUsageError = 64,
    FlashInterrupted = 130,
};

struct TFlashRequest {
    std::string Port;                    // a COM name, or a device path where the system has them
    double ProbeTimeoutSeconds = 3;      // how long to wait for the version reply
    bool Terminal = false;               // draw the progress as a bar
    TUnitRecordFile* Records = nullptr;  // where the unit's record goes, if anywhere
};

int RunFlash(const TFlashRequest& request);

// Prints the port list, one name a line.
int ListPortsToOutput();
