// The upload scheme hosted as the top-level schemes host it: the running CRC
// kept outside the scheme (the window's hidden CRC field) and read back
// through its inward data, every outward event in one log, the watchdog on a
// manual timer. For the scheme's tests and its fuzz target.
#pragma once

#include <string>

#include "runtime/zelEventFromData.h"
#include "runtime/zelHub.h"
#include "schemes/zelMultiElementEx_265A520.h"
#include "tests/fakes/manualTimer.h"
#include "tests/unit/schemeHarness.h"

struct TUploadHost {
    fakes::TManualTimers timers;
    TZelEventFromData crcStore;
    TZelHub crcFanOut;
    TSchemeHarness scheme{{"onProgress", "onSend", "onSuccess", "onError", "onCRC", "onReply"}, 1};

    TUploadHost() {
        crcStore.SetStored(MakeStr("FFFF"));
        crcFanOut.SetOutCount(2);
        crcFanOut.onEvent[0] = MakeLink<&TZelEventFromData::doData>(0, &crcStore);
        crcFanOut.onEvent[1] = scheme.recorders[4].Link(4);
        scheme.container.onEvent[4] = MakeLink<&TZelHub::doEvent>(0, &crcFanOut);
        scheme.container.InData[0] = MakeLink<&TZelEventFromData::getValue>(0, &crcStore);
        scheme.Build(TClassMultiElementEx_265A520::Create);
    }
    void Start() { scheme.Fire(1, TData()); }
    void Reply(const std::string& chunk) { scheme.Fire(0, MakeStr(chunk)); }
    fakes::TManualTimer& Watchdog() { return *timers.Last(); }
};
