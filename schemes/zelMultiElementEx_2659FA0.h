// The device detection scheme: turns the port-open result into the version
// request "VERS" or the not-found text, cuts the reply into words, checks
// the identification word and builds the status text with the device's name
// and firmware version. Its ModeCounter tells the outer scheme whether
// replies still go to the probe (0) or to the upload (1).
//
// Inward events: 0 doOpenResult, 1 doCheck, 2 doReply. Outward events:
// 0 onSend, 1 onStatus, 2 onOpenPort, 3 onNotFound, 4 onFound. Outward data:
// 0 Identified.
#pragma once

#include <memory>

#include "elements/zelCase.h"
#include "elements/zelCounter.h"
#include "elements/zelFormatStr.h"
#include "elements/zelMultiStrPart.h"
#include "elements/zelStrMask.h"
#include "runtime/zelDoData.h"
#include "runtime/zelEditMultiEx.h"
#include "runtime/zelHub.h"
#include "runtime/zelMultiBase.h"
#include "runtime/zelMultiElementEx.h"

class TClassMultiElementEx_2659FA0 : public TClassMultiBase {
public:
    TClassMultiElementEx_2659FA0(TZelMultiElementEx* container, void* owner, void* parentWindow);
    ~TClassMultiElementEx_2659FA0() override;

    // The creation routine handed to the container's SetCreator.
    static TZelEditMultiEx* Create(TZelMultiElementEx* container, void* parentWindow, void* owner);

    // In creation order; destroyed in reverse.
    std::unique_ptr<TZelEditMultiEx> BoundaryObject;
    std::unique_ptr<TZelFormatStr> InfoFormat;
    std::unique_ptr<TZelDoData> NotFoundText;
    std::unique_ptr<TZelStrMask> IdMask;
    std::unique_ptr<TZelMultiStrPart> ReplySplitter;
    std::unique_ptr<TZelHub> ProbeHub;
    std::unique_ptr<TZelCase> OpenCheck;
    std::unique_ptr<TZelHub> NotFoundHub;
    std::unique_ptr<TZelDoData> VersRequest;
    std::unique_ptr<TZelHub> StatusHub;
    std::unique_ptr<TZelHub> FoundHub;
    std::unique_ptr<TZelCounter> ModeCounter;
    std::unique_ptr<TZelHub> AskHub;
    void* ParentScheme = nullptr;
};
