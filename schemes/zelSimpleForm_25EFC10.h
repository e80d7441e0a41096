// The main window scheme: every element of the tool's window, their
// settings and their links, and the two nested schemes in their containers.
// Everything the user sees and every path from a click to a serial write is
// decided here.
#pragma once

#include <memory>

#include "runtime/zelDoData.h"
#include "runtime/zelEventFromData.h"
#include "runtime/zelHub.h"
#include "schemes/exchangeNetwork.h"
#include "ui/zelButton.h"
#include "ui/zelComboBox.h"
#include "ui/zelEdit.h"
#include "ui/zelImage.h"
#include "ui/zelLabel.h"
#include "ui/zelProgressBar.h"
#include "ui/zelSimpleForm.h"

class TClassSimpleForm_25EFC10 {
public:
    TClassSimpleForm_25EFC10();
    ~TClassSimpleForm_25EFC10();
    TClassSimpleForm_25EFC10(const TClassSimpleForm_25EFC10&) = delete;
    TClassSimpleForm_25EFC10& operator=(const TClassSimpleForm_25EFC10&) = delete;

    // In creation order, so that they go in reverse, the form last.
    std::unique_ptr<TZelSimpleForm> MainForm;
    std::unique_ptr<TZelLabel> ErrorText;
    std::unique_ptr<TZelLabel> CheckText;
    std::unique_ptr<TZelButton> WriteButton;
    std::unique_ptr<TZelEdit> StatusEdit;
    std::unique_ptr<TZelComboBox> PortBox;
    TExchange Exchange;  // the network the window and the flasher share
    std::unique_ptr<TZelHub> UploadHub;
    std::unique_ptr<TZelProgressBar> UploadProgress;
    std::unique_ptr<TZelHub> DeviceFoundHub;
    std::unique_ptr<TZelDoData> LockPortBox;
    std::unique_ptr<TZelLabel> VersionLabel;
    std::unique_ptr<TZelEdit> CRCStore;
    std::unique_ptr<TZelLabel> CRCReceivedLabel;
    std::unique_ptr<TZelLabel> CRCLabel;
    std::unique_ptr<TZelHub> WriteEnableHub;
    std::unique_ptr<TZelHub> UploadEndHub;
    std::unique_ptr<TZelDoData> HideControls;
    std::unique_ptr<TZelDoData> ShowOK;
    std::unique_ptr<TZelHub> HideHub;
    std::unique_ptr<TZelHub> FormEnableHub;
    std::unique_ptr<TZelHub> OKHub;
    std::unique_ptr<TZelButton> OKButton;
    std::unique_ptr<TZelLabel> SuccessLabel;
    std::unique_ptr<TZelHub> SuccessHub;
    std::unique_ptr<TZelDoData> ShowSuccess;
    std::unique_ptr<TZelDoData> ErrorShow;
    std::unique_ptr<TZelHub> UploadErrorHub;
    std::unique_ptr<TZelHub> ErrorViewHub;
    std::unique_ptr<TZelImage> ErrorImage;
    std::unique_ptr<TZelEventFromData> SuccessMark;
    std::unique_ptr<TZelDoData> MarkSuccess;
};

// The one main scheme of the process, from the first step of its
// construction until its destruction.
extern TClassSimpleForm_25EFC10* MainScheme;
