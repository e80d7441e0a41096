#include "zelMultiElementEx_2659FA0.h"

#include "base/cp1251.h"
#include "schemeParts.h"

TZelEditMultiEx* TClassMultiElementEx_2659FA0::Create(TZelMultiElementEx* container, void* parentWindow, void* owner) {
    return (new TClassMultiElementEx_2659FA0(container, owner, parentWindow))->Boundary;
}

TClassMultiElementEx_2659FA0::TClassMultiElementEx_2659FA0(TZelMultiElementEx* container, void* owner,
                                                           void* parentWindow)
    : TClassMultiBase(container, owner, parentWindow) {
    ParentScheme = owner;

    BoundaryObject = std::make_unique<TZelEditMultiEx>();
    BoundaryObject->InEvents.resize(3);
    BoundaryObject->OutData.resize(1);

    InfoFormat = std::make_unique<TZelFormatStr>();
    InfoFormat->SetParamCount(2);
    InfoFormat->Format = "Устройство: %1   Текущая версия ПО: %2"_w;

    NotFoundText = std::make_unique<TZelDoData>();
    SetStr(NotFoundText->Data, std::string("На этом порту устройств не найдено."_w));

    IdMask = std::make_unique<TZelStrMask>();
    IdMask->Mask = "QUARNELVISK";
    IdMask->IgnoreCase = 1;

    ReplySplitter = std::make_unique<TZelMultiStrPart>();
    ReplySplitter->Delimiter = " ";
    ReplySplitter->Skip = 0;
    ReplySplitter->SetCount(3);

    ProbeHub = MakeHub(1, 2);

    OpenCheck = std::make_unique<TZelCase>();
    SetInt(OpenCheck->Value, 0);

    NotFoundHub = MakeHub(4, 2);

    VersRequest = std::make_unique<TZelDoData>();
    SetStr(VersRequest->Data, "VERS");

    StatusHub = MakeHub(2, 1);
    FoundHub = MakeHub(1, 3);

    ModeCounter = std::make_unique<TZelCounter>();
    ModeCounter->Min = 0;
    ModeCounter->Max = 1;
    ModeCounter->Step = 1;
    ModeCounter->Down = false;
    ModeCounter->Count = 0;

    AskHub = MakeHub(2, 1);

    TZelEditMultiEx* boundary = BoundaryObject.get();
    Boundary = boundary;
    boundary->Scheme = this;
    boundary->Container = container;

    boundary->InEvents[0] = MakeLink<&TZelCase::doCase>(0, OpenCheck.get());               // inward doOpenResult
    boundary->InEvents[1] = MakeLink<&TZelHub::doEvent>(0, ProbeHub.get());                // inward doCheck
    boundary->InEvents[2] = MakeLink<&TZelMultiStrPart::doSplit>(0, ReplySplitter.get());  // inward doReply
    boundary->OutData[0] = MakeLink<&TZelCounter::getCount>(0, ModeCounter.get());         // outward data Identified
    InfoFormat->onFString = MakeLink<&TZelHub::doEvent>(1, StatusHub.get());
    InfoFormat->Str[0] = MakeLink<&TZelMultiStrPart::Part>(1, ReplySplitter.get());
    InfoFormat->Str[1] = MakeLink<&TZelMultiStrPart::Part>(2, ReplySplitter.get());
    NotFoundText->onEventData = MakeLink<&TZelHub::doEvent>(0, StatusHub.get());
    IdMask->onFalse = MakeLink<&TZelHub::doEvent>(1, NotFoundHub.get());
    IdMask->onTrue = MakeLink<&TZelHub::doEvent>(0, FoundHub.get());
    IdMask->Str = MakeLink<&TZelMultiStrPart::Part>(0, ReplySplitter.get());
    ReplySplitter->onSplit = MakeLink<&TZelStrMask::doCompare>(0, IdMask.get());
    ReplySplitter->onNoDelimiter = MakeLink<&TZelHub::doEvent>(2, NotFoundHub.get());
    ProbeHub->onEvent[1] = MakeLink<&TZelEditMultiEx::doEvent>(2, boundary);  // -> outward onOpenPort
    OpenCheck->onNextCase = MakeLink<&TZelHub::doEvent>(0, AskHub.get());
    OpenCheck->onCaseEvent = MakeLink<&TZelHub::doEvent>(0, NotFoundHub.get());
    NotFoundHub->onEvent[0] = MakeLink<&TZelEditMultiEx::doEvent>(3, boundary);  // -> outward onNotFound
    NotFoundHub->onEvent[1] = MakeLink<&TZelDoData::doData>(0, NotFoundText.get());
    VersRequest->onEventData = MakeLink<&TZelEditMultiEx::doEvent>(0, boundary);  // -> outward onSend
    StatusHub->onEvent[0] = MakeLink<&TZelEditMultiEx::doEvent>(1, boundary);     // -> outward onStatus
    FoundHub->onEvent[0] = MakeLink<&TZelFormatStr::doString>(0, InfoFormat.get());
    FoundHub->onEvent[1] = MakeLink<&TZelCounter::doNext>(0, ModeCounter.get());
    FoundHub->onEvent[2] = MakeLink<&TZelEditMultiEx::doEvent>(4, boundary);  // -> outward onFound
    AskHub->onEvent[0] = MakeLink<&TZelDoData::doData>(0, VersRequest.get());
}

// The members go in reverse declaration order, which is the reverse of
// their creation: AskHub first, the boundary object last.
TClassMultiElementEx_2659FA0::~TClassMultiElementEx_2659FA0() = default;
