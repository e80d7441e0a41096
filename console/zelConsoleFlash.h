// The console top-level scheme of the command-line flasher: the serial port
// element and the two nested schemes wired as the main window wires them,
// with terminal texts in place of the window's controls. The program drives
// it with the user's actions (pick a port, "Записать", close) and learns the
// outcome through its console signals.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "elements/zelMMTimer.h"
#include "runtime/zelDoData.h"
#include "runtime/zelEventFromData.h"
#include "runtime/zelHub.h"
#include "console/zelConsoleProgress.h"
#include "console/zelConsoleSignal.h"
#include "console/zelConsoleText.h"
#include "schemes/exchangeNetwork.h"

class TClassConsoleFlash {
public:
    // terminal: draw the progress as a bar redrawn in place. output: where
    // the status line and the progress go (empty: standard output).
    explicit TClassConsoleFlash(bool terminal, std::function<void(std::string_view)> output = {});
    ~TClassConsoleFlash();
    TClassConsoleFlash(const TClassConsoleFlash&) = delete;
    TClassConsoleFlash& operator=(const TClassConsoleFlash&) = delete;

    // ---- the user's actions ----
    void ListPorts();
    // The upload scheme's watchdog, for a trace of its ticks.
    TZelMMTimer& UploadWatchdog();
    // As picking the name in the window's port list.
    void PickPort(const std::string& name);
    // As clicking "Записать".
    void ClickWrite();
    // As closing the window: closes the port.
    void Close();
    // Waits (10 s at most) until no chain is under way in the nested
    // schemes: the watchdog's thread may still be in one when the program
    // has heard all it waits for. With dispatch off such a chain ends at its
    // next event. Nothing may be destroyed before.
    void WaitQuiet();
    // Once the port is closed: ends the nested schemes, the upload scheme's
    // watchdog with them (its thread joined), so that nothing of this
    // network runs any more while dispatch stays on for other networks of
    // the process. Only the texts, the progress and the port element stay.
    void EndNestedSchemes();

    // In creation order; destroyed in reverse.
    std::unique_ptr<TZelConsoleText> ErrorText;
    std::unique_ptr<TZelConsoleText> CheckText;
    std::unique_ptr<TZelConsoleSignal> WriteButton;  // its doSignal stands for doEnabled
    TData WriteButtonData;                           // what a click sends: the integer 0
    std::unique_ptr<TZelConsoleText> StatusEdit;
    TExchange Exchange;  // the network the window and the flasher share
    std::unique_ptr<TZelHub> UploadHub;
    std::unique_ptr<TZelConsoleProgress> UploadProgress;
    std::unique_ptr<TZelHub> DeviceFoundHub;
    std::unique_ptr<TZelEventFromData> CRCStore;
    std::unique_ptr<TZelHub> WriteEnableHub;
    std::unique_ptr<TZelConsoleText> SuccessLabel;
    std::unique_ptr<TZelHub> SuccessHub;
    std::unique_ptr<TZelDoData> ShowSuccess;
    std::unique_ptr<TZelDoData> ErrorShow;
    std::unique_ptr<TZelHub> UploadErrorHub;
    std::unique_ptr<TZelHub> ErrorViewHub;
    std::unique_ptr<TZelEventFromData> SuccessMark;
    std::unique_ptr<TZelDoData> MarkSuccess;
    // Where the window has nothing to show, the console program listens.
    std::unique_ptr<TZelConsoleSignal> NotFound;     // the detection scheme's onNotFound
    std::unique_ptr<TZelConsoleSignal> ErrorDetail;  // what the failure was: the reply's hex text or 3
    std::unique_ptr<TZelConsoleSignal> Finished;     // the outcome has been displayed completely
    std::unique_ptr<TZelConsoleText> PortList;
};
