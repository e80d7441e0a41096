#include "zelMultiElementEx_265A520.h"

#include "schemeParts.h"

TZelEditMultiEx* TClassMultiElementEx_265A520::Create(TZelMultiElementEx* container, void* parentWindow, void* owner) {
    return (new TClassMultiElementEx_265A520(container, owner, parentWindow))->Boundary;
}

TClassMultiElementEx_265A520::TClassMultiElementEx_265A520(TZelMultiElementEx* container, void* owner,
                                                           void* parentWindow)
    : TClassMultiBase(container, owner, parentWindow) {
    ParentScheme = owner;

    BoundaryObject = std::make_unique<TZelEditMultiEx>();
    BoundaryObject->InEvents.resize(2);
    BoundaryObject->OutData.resize(0);

    ByteToChar = std::make_unique<TZelConvertor>();
    ByteToChar->Mode = 4;
    ByteToChar->Digits = 1;

    ByteReader = std::make_unique<TZelDataToFile>();  // reads bytes

    BlockCounter = std::make_unique<TZelCounter>();
    BlockCounter->Min = 0;
    BlockCounter->Max = 1015;
    BlockCounter->Step = 1;
    BlockCounter->Down = false;
    BlockCounter->Count = 0;

    SendBlockHub = MakeHub(2, 2);

    // No hexadecimal text holds these letters: nothing matches before the
    // first image byte has rewritten both masks.
    BlockMask = std::make_unique<TZelStrMask>();
    BlockMask->Mask = "SZ";
    BlockMask->IgnoreCase = 1;
    FinalMask = std::make_unique<TZelStrMask>();
    FinalMask->Mask = "FZ";
    FinalMask->IgnoreCase = 1;

    ReplyHub = MakeHub(1, 3);

    ImageStream = std::make_unique<TZelMemoryStream>();
    ImageStream->Stream = LoadResourceStream("STREAM0");

    BlockLoop = std::make_unique<TZelFor>();
    BlockLoop->Start = 0;
    BlockLoop->End = 255;
    BlockLoop->Step = 1;
    BlockLoop->IncludeEnd = true;
    BlockLoop->UseIncoming = false;

    AckHub = MakeHub(1, 2);
    SendHub = MakeHub(2, 1);
    DoneHub = MakeHub(1, 4);

    StartText = std::make_unique<TZelDoData>();
    SetStr(StartText->Data, "PUSK");

    RunningCRC = std::make_unique<TZelCRC16_32>();
    RunningCRC->HexInput = 1;
    RunningCRC->Kind = 0;
    RunningCRC->Polynom = "$A001";
    RunningCRC->Init = "$FFFF";
    RunningCRC->SwapBytes = 0;

    ByteToHex = std::make_unique<TZelConvertor>();
    ByteToHex->Mode = 6;
    ByteToHex->Digits = 1;

    ByteHub = MakeHub(1, 2);
    CRCHub = MakeHub(1, 2);
    ReplyHex = std::make_unique<TZelStream2Hex>();

    FinalText = std::make_unique<TZelStrCat>();
    FinalText->Str1 = "";
    FinalText->Str2 = "465A";  // "FZ" as hexadecimal text

    ErrorHub = MakeHub(2, 2);

    Watchdog = std::make_unique<TZelMMTimer>();
    Watchdog->Resolution = 1;
    Watchdog->Interval = 1000;
    Watchdog->AutoStop = 0;

    SilenceCounter = std::make_unique<TZelCounter>();
    SilenceCounter->Min = 0;
    SilenceCounter->Max = 100;
    SilenceCounter->Step = 1;
    SilenceCounter->Down = false;
    SilenceCounter->Count = 0;

    StartHub = MakeHub(1, 4);

    SilenceCheck = std::make_unique<TZelIf_else>();
    SilenceCheck->Type = 0;
    SetInt(SilenceCheck->Op2, 3);

    // The exchange runs from "Записать" to its first outcome: replies that
    // come before (a stray line end after the identification) or after it,
    // and the bytes of a block under way when the outcome came, go nowhere,
    // so nothing is written to the device once the outcome is known.
    Running = std::make_unique<TZelEventFromData>();
    Running->SetStored(MakeInt(0));
    RunOn = MakeDoData(1);
    RunOff = MakeDoData(0);
    // One start only: a second would begin again in the middle of the image.
    Idle = std::make_unique<TZelEventFromData>();
    Idle->SetStored(MakeInt(1));
    IdleOff = MakeDoData(0);
    StartGate = std::make_unique<TZelCommutator>();
    StartGate->SetOutCount(1);
    ReplyGate = std::make_unique<TZelCommutator>();
    ReplyGate->SetOutCount(2);
    ByteGate = std::make_unique<TZelCommutator>();
    ByteGate->SetOutCount(1);

    // The final acknowledgement counts only for the block that ends the
    // image: until its last byte the final mask keeps its unmatchable
    // "FZ", and from then on the block mask keeps "SZ", so no block is
    // sent past the image.
    ImageEnd = std::make_unique<TZelIf_else>();
    ImageEnd->Type = 0;
    SetInt(ImageEnd->Op2, 0);
    EndHub = MakeHub(1, 3);
    BlockMaskOff = std::make_unique<TZelDoData>();
    SetStr(BlockMaskOff->Data, "SZ");

    // The watchdog counts silence only while an acknowledgement is awaited:
    // from the last byte of a block to the next reply. A host slow to write
    // a block (a loaded machine) never fails a device that has not yet been
    // asked anything.
    Waiting = std::make_unique<TZelEventFromData>();
    Waiting->SetStored(MakeInt(0));
    WaitOn = MakeDoData(1);
    WaitOff = MakeDoData(0);
    TickGate = std::make_unique<TZelCommutator>();
    TickGate->SetOutCount(1);
    BlockSentHub = MakeHub(1, 2);

    // The length of the awaited reply goes out before the bytes that ask
    // for it: a block's acknowledgement before its first byte, the final
    // acknowledgement once the image's last byte has been read and before
    // it is written. The outcome says nothing more is awaited, before it is
    // reported, so that whatever a reply cut short brought is handed on.
    AwaitAck = MakeDoData(2);
    AwaitFinal = MakeDoData(4);
    OutcomeHub = MakeHub(1, 2);

    TZelEditMultiEx* boundary = BoundaryObject.get();
    Boundary = boundary;
    boundary->Scheme = this;
    boundary->Container = container;

    boundary->InEvents[0] = MakeLink<&TZelCommutator::doWork>(0, ReplyGate.get());  // inward doReply
    boundary->InEvents[1] = MakeLink<&TZelCommutator::doWork>(0, StartGate.get());  // inward doStart
    ByteToChar->onResult = MakeLink<&TZelHub::doEvent>(1, SendHub.get());
    ByteReader->onGet = MakeLink<&TZelHub::doEvent>(0, ByteHub.get());
    ByteReader->Stream = MakeLink<&TZelMemoryStream::getStream>(0, ImageStream.get());
    BlockCounter->onCount = MakeLink<&TZelEditMultiEx::doEvent>(0, boundary);  // -> outward onProgress
    SendBlockHub->onEvent[0] = MakeLink<&TZelDoData::doData>(0, AwaitAck.get());
    SendBlockHub->onEvent[1] = MakeLink<&TZelFor::doFor>(0, BlockLoop.get());
    BlockMask->onFalse = MakeLink<&TZelHub::doEvent>(0, ErrorHub.get());
    BlockMask->onTrue = MakeLink<&TZelHub::doEvent>(0, AckHub.get());
    FinalMask->onFalse = MakeLink<&TZelStrMask::doCompare>(0, BlockMask.get());
    FinalMask->onTrue = MakeLink<&TZelHub::doEvent>(0, DoneHub.get());
    ReplyHub->onEvent[0] = MakeLink<&TZelStream2Hex::doConvert>(0, ReplyHex.get());
    ReplyHub->onEvent[1] = MakeLink<&TZelEditMultiEx::doEvent>(5, boundary);  // -> outward onReply
    ReplyHub->onEvent[2] = MakeLink<&TZelCounter::doReset>(2, SilenceCounter.get());
    BlockLoop->onLoop = MakeLink<&TZelCommutator::doWork>(0, ByteGate.get());
    AckHub->onEvent[0] = MakeLink<&TZelCounter::doNext>(0, BlockCounter.get());
    AckHub->onEvent[1] = MakeLink<&TZelHub::doEvent>(0, SendBlockHub.get());
    SendHub->onEvent[0] = MakeLink<&TZelEditMultiEx::doEvent>(1, boundary);  // -> outward onSend
    DoneHub->onEvent[0] = MakeLink<&TZelDoData::doData>(0, StartText.get());
    DoneHub->onEvent[1] = MakeLink<&TZelDoData::doData>(0, RunOff.get());
    DoneHub->onEvent[2] = MakeLink<&TZelEditMultiEx::doEvent>(2, boundary);  // -> outward onSuccess
    DoneHub->onEvent[3] = MakeLink<&TZelMMTimer::doStop>(1, Watchdog.get());
    StartText->onEventData = MakeLink<&TZelHub::doEvent>(0, SendHub.get());
    RunningCRC->onCRC = MakeLink<&TZelHub::doEvent>(0, CRCHub.get());
    RunningCRC->InitPoint = MakeLink<&TZelEditMultiEx::getData>(0, boundary);  // <- inward data CRC
    ByteToHex->onResult = MakeLink<&TZelCRC16_32::doCRC>(0, RunningCRC.get());
    // The byte is folded into the running CRC and the masks before it is
    // written: the device's answer to the last byte of a block may be
    // handled on the reader thread while the thread that wrote it is still
    // in this chain (block 1 is written by the user-interface thread), and
    // it must find the masks of the whole block. The bytes on the wire are
    // the same either way.
    ByteHub->onEvent[0] = MakeLink<&TZelConvertor::doConvert>(0, ByteToHex.get());
    ByteHub->onEvent[1] = MakeLink<&TZelConvertor::doConvert>(0, ByteToChar.get());
    CRCHub->onEvent[0] = MakeLink<&TZelEditMultiEx::doEvent>(4, boundary);  // -> outward onCRC
    CRCHub->onEvent[1] = MakeLink<&TZelIf_else::doCompare>(0, ImageEnd.get());
    ImageEnd->onTrue = MakeLink<&TZelHub::doEvent>(0, EndHub.get());
    ImageEnd->onFalse = MakeLink<&TZelStrMask::doMask>(1, BlockMask.get());
    ImageEnd->Op1Point = MakeLink<&TZelMemoryStream::getLeft>(1, ImageStream.get());
    EndHub->onEvent[0] = MakeLink<&TZelStrCat::doStrCat>(0, FinalText.get());
    EndHub->onEvent[1] = MakeLink<&TZelDoData::doData>(0, BlockMaskOff.get());
    EndHub->onEvent[2] = MakeLink<&TZelDoData::doData>(0, AwaitFinal.get());
    BlockMaskOff->onEventData = MakeLink<&TZelStrMask::doMask>(1, BlockMask.get());
    ReplyHex->onResult = MakeLink<&TZelStrMask::doCompare>(0, FinalMask.get());
    FinalText->onStrCat = MakeLink<&TZelStrMask::doMask>(1, FinalMask.get());
    FinalText->Str1Point = MakeLink<&TZelEditMultiEx::getData>(0, boundary);  // <- inward data CRC
    ErrorHub->onEvent[0] = MakeLink<&TZelDoData::doData>(0, RunOff.get());
    ErrorHub->onEvent[1] = MakeLink<&TZelEditMultiEx::doEvent>(3, boundary);  // -> outward onError
    Watchdog->onTimer = MakeLink<&TZelCommutator::doWork>(0, TickGate.get());
    SilenceCounter->onCount = MakeLink<&TZelIf_else::doCompare>(0, SilenceCheck.get());
    StartHub->onEvent[0] = MakeLink<&TZelDoData::doData>(0, IdleOff.get());
    StartHub->onEvent[1] = MakeLink<&TZelDoData::doData>(0, RunOn.get());
    StartHub->onEvent[2] = MakeLink<&TZelHub::doEvent>(1, SendBlockHub.get());
    StartHub->onEvent[3] = MakeLink<&TZelMMTimer::doStart>(0, Watchdog.get());
    SilenceCheck->onTrue = MakeLink<&TZelHub::doEvent>(1, ErrorHub.get());
    SilenceCheck->Op1Point = MakeLink<&TZelCounter::getCount>(0, SilenceCounter.get());
    RunOn->onEventData = MakeLink<&TZelEventFromData::doData>(0, Running.get());
    RunOff->onEventData = MakeLink<&TZelHub::doEvent>(0, OutcomeHub.get());
    IdleOff->onEventData = MakeLink<&TZelEventFromData::doData>(0, Idle.get());
    StartGate->Enabled = MakeLink<&TZelEventFromData::getValue>(0, Idle.get());
    StartGate->onEvent[0] = MakeLink<&TZelHub::doEvent>(0, StartHub.get());
    ReplyGate->Enabled = MakeLink<&TZelEventFromData::getValue>(0, Running.get());
    ReplyGate->onEvent[0] = MakeLink<&TZelDoData::doData>(0, WaitOff.get());
    ReplyGate->onEvent[1] = MakeLink<&TZelHub::doEvent>(0, ReplyHub.get());
    ByteGate->Enabled = MakeLink<&TZelEventFromData::getValue>(0, Running.get());
    ByteGate->onEvent[0] = MakeLink<&TZelDataToFile::doGet>(0, ByteReader.get());
    WaitOn->onEventData = MakeLink<&TZelEventFromData::doData>(0, Waiting.get());
    WaitOff->onEventData = MakeLink<&TZelEventFromData::doData>(0, Waiting.get());
    TickGate->Enabled = MakeLink<&TZelEventFromData::getValue>(0, Waiting.get());
    TickGate->onEvent[0] = MakeLink<&TZelCounter::doNext>(0, SilenceCounter.get());
    BlockLoop->onEnd = MakeLink<&TZelHub::doEvent>(0, BlockSentHub.get());
    BlockSentHub->onEvent[0] = MakeLink<&TZelCounter::doReset>(2, SilenceCounter.get());
    BlockSentHub->onEvent[1] = MakeLink<&TZelDoData::doData>(0, WaitOn.get());
    AwaitAck->onEventData = MakeLink<&TZelEditMultiEx::doEvent>(6, boundary);    // -> outward onAwait
    AwaitFinal->onEventData = MakeLink<&TZelEditMultiEx::doEvent>(6, boundary);  // -> outward onAwait
    OutcomeHub->onEvent[0] = MakeLink<&TZelEventFromData::doData>(0, Running.get());
    OutcomeHub->onEvent[1] = MakeLink<&TZelEditMultiEx::doEvent>(6, boundary);  // -> outward onAwait
}

// The members go in reverse declaration order, which is the reverse of
// their creation: BlockSentHub first, the boundary object last. The
// watchdog is stopped first: its ticks come on a thread of their own and
// must not reach elements that are already gone (its onStop is unlinked).
TClassMultiElementEx_265A520::~TClassMultiElementEx_265A520() {
    TData none;
    Watchdog->doStop(none, 1);
}
