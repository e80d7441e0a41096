// The firmware upload scheme: streams the embedded image in blocks of 256
// single-byte writes, folds every byte into the running CRC (kept by the
// outer scheme and read back through the inward data CRC), checks each reply
// against the CRC or the CRC followed by "FZ", sends "PUSK" after the final
// acknowledgement and reports wrong replies and three silent watchdog ticks.
// The final acknowledgement counts only after the image's last byte, and the
// exchange ends at its first outcome: later replies change nothing and no
// further byte is sent.
//
// The scheme also says how long the reply it awaits is, so that the serial
// element hands it on as soon as it is complete: 2 bytes for a block's
// acknowledgement, 4 for the final one, 0 (not known) once the outcome is.
//
// Inward events: 0 doReply, 1 doStart. Outward events: 0 onProgress,
// 1 onSend, 2 onSuccess, 3 onError, 4 onCRC, 5 onReply, 6 onAwait (the
// awaited reply's length). Inward data: 0 CRC.
#pragma once

#include <memory>

#include "elements/zelCRC16_32.h"
#include "elements/zelConvertor.h"
#include "elements/zelCounter.h"
#include "elements/zelDataToFile.h"
#include "elements/zelFor.h"
#include "elements/zelIf_else.h"
#include "elements/zelMMTimer.h"
#include "elements/zelMemoryStream.h"
#include "elements/zelStrCat.h"
#include "elements/zelStrMask.h"
#include "elements/zelStream2Hex.h"
#include "runtime/zelCommutator.h"
#include "runtime/zelDoData.h"
#include "runtime/zelEventFromData.h"
#include "runtime/zelEditMultiEx.h"
#include "runtime/zelHub.h"
#include "runtime/zelMultiBase.h"
#include "runtime/zelMultiElementEx.h"

class TClassMultiElementEx_265A520 : public TClassMultiBase {
public:
    TClassMultiElementEx_265A520(TZelMultiElementEx* container, void* owner, void* parentWindow);
    ~TClassMultiElementEx_265A520() override;

    // The creation routine handed to the container's SetCreator.
    static TZelEditMultiEx* Create(TZelMultiElementEx* container, void* parentWindow, void* owner);

    // In creation order; destroyed in reverse.
    std::unique_ptr<TZelEditMultiEx> BoundaryObject;
    std::unique_ptr<TZelConvertor> ByteToChar;
    std::unique_ptr<TZelDataToFile> ByteReader;
    std::unique_ptr<TZelCounter> BlockCounter;
    std::unique_ptr<TZelHub> SendBlockHub;
    std::unique_ptr<TZelStrMask> BlockMask;
    std::unique_ptr<TZelStrMask> FinalMask;
    std::unique_ptr<TZelHub> ReplyHub;
    std::unique_ptr<TZelMemoryStream> ImageStream;
    std::unique_ptr<TZelFor> BlockLoop;
    std::unique_ptr<TZelHub> AckHub;
    std::unique_ptr<TZelHub> SendHub;
    std::unique_ptr<TZelHub> DoneHub;
    std::unique_ptr<TZelDoData> StartText;
    std::unique_ptr<TZelCRC16_32> RunningCRC;
    std::unique_ptr<TZelConvertor> ByteToHex;
    std::unique_ptr<TZelHub> ByteHub;
    std::unique_ptr<TZelHub> CRCHub;
    std::unique_ptr<TZelStream2Hex> ReplyHex;
    std::unique_ptr<TZelStrCat> FinalText;
    std::unique_ptr<TZelHub> ErrorHub;
    std::unique_ptr<TZelMMTimer> Watchdog;
    std::unique_ptr<TZelCounter> SilenceCounter;
    std::unique_ptr<TZelHub> StartHub;
    std::unique_ptr<TZelIf_else> SilenceCheck;
    std::unique_ptr<TZelEventFromData> Running;  // 1 from "Записать" to the first outcome
    std::unique_ptr<TZelDoData> RunOn;
    std::unique_ptr<TZelDoData> RunOff;
    std::unique_ptr<TZelEventFromData> Idle;  // 1 until the start
    std::unique_ptr<TZelDoData> IdleOff;
    std::unique_ptr<TZelCommutator> StartGate;
    std::unique_ptr<TZelCommutator> ReplyGate;
    std::unique_ptr<TZelCommutator> ByteGate;
    std::unique_ptr<TZelIf_else> ImageEnd;  // the byte just read was the image's last
    std::unique_ptr<TZelHub> EndHub;
    std::unique_ptr<TZelDoData> BlockMaskOff;
    std::unique_ptr<TZelEventFromData> Waiting;  // 1 from a block's last byte to the next reply
    std::unique_ptr<TZelDoData> WaitOn;
    std::unique_ptr<TZelDoData> WaitOff;
    std::unique_ptr<TZelCommutator> TickGate;
    std::unique_ptr<TZelHub> BlockSentHub;
    std::unique_ptr<TZelDoData> AwaitAck;    // 2: a block's acknowledgement
    std::unique_ptr<TZelDoData> AwaitFinal;  // 4: the CRC and "FZ"
    std::unique_ptr<TZelHub> OutcomeHub;     // the exchange's end: nothing more awaited
    void* ParentScheme = nullptr;
};
