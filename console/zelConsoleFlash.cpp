#include "zelConsoleFlash.h"

#include <chrono>

#include "base/cp1251.h"
#include "platform/threadWait.h"
#include "schemes/lineSettings.h"
#include "schemes/schemeParts.h"
#include "schemes/zelMultiElementEx_2659FA0.h"
#include "schemes/zelMultiElementEx_265A520.h"

namespace {
std::unique_ptr<TZelConsoleText> MakeCaption(std::string caption) {
    auto text = std::make_unique<TZelConsoleText>();
    text->Caption = std::move(caption);
    text->Echo = false;
    return text;
}
}  // namespace

TClassConsoleFlash::TClassConsoleFlash(bool terminal, std::function<void(std::string_view)> output) {
    ErrorText = MakeCaption(std::string("Ошибка при передаче данных!"_w));
    CheckText = MakeCaption(std::string("Проверьте все соединения и попробуйте ещё раз."_w));
    WriteButton = std::make_unique<TZelConsoleSignal>();
    SetInt(WriteButtonData, 0);
    StatusEdit = std::make_unique<TZelConsoleText>();
    StatusEdit->Output = output;
    WriteHub = MakeHub(2, 1);

    Detector = std::make_unique<TZelMultiElementEx>(nullptr);
    Detector->Mode = 0;
    Detector->Owner = this;
    Detector->onEvent.resize(5);
    Detector->InData.resize(0);

    Uploader = std::make_unique<TZelMultiElementEx>(nullptr);
    Uploader->Mode = 0;
    Uploader->Owner = this;
    Uploader->onEvent.resize(7);
    Uploader->InData.resize(1);

    ReplyRouter = std::make_unique<TZelCommutator>();
    ReplyRouter->InCount = 1;
    ReplyRouter->SetOutCount(2);

    SerialPort = std::make_unique<TZelComAsync>();
    ApplyLineSettings(*SerialPort);

    UploadHub = MakeHub(1, 2);
    UploadProgress = std::make_unique<TZelConsoleProgress>();
    UploadProgress->Max = 1015;
    UploadProgress->Terminal = terminal;
    UploadProgress->Output = std::move(output);
    DeviceFoundHub = MakeHub(1, 1);
    ClosePortHub = MakeHub(2, 1);
    CRCStore = std::make_unique<TZelEventFromData>();
    CRCStore->SetStored(MakeStr("FFFF"));
    WriteEnableHub = MakeHub(2, 1);
    PortName = std::make_unique<TZelEventFromData>();
    PortPickHub = MakeHub(1, 3);
    SuccessLabel =
        MakeCaption(std::string("                             ПО успешно обновлено!\r\n"
                                "                        Сбросте настройки по умолчанию!"_w));
    SuccessHub = MakeHub(1, 3);
    ShowSuccess = MakeDoData(1);
    ErrorShow = MakeDoData(1);
    UploadErrorHub = MakeHub(1, 3);
    ErrorViewHub = MakeHub(1, 2);
    SuccessMark = std::make_unique<TZelEventFromData>();
    MarkSuccess = MakeDoData(0);
    NotFound = std::make_unique<TZelConsoleSignal>();
    ErrorDetail = std::make_unique<TZelConsoleSignal>();
    Finished = std::make_unique<TZelConsoleSignal>();
    PortList = std::make_unique<TZelConsoleText>();

    TZelMultiElementEx* detector = Detector.get();
    TZelMultiElementEx* uploader = Uploader.get();
    TZelComAsync* port = SerialPort.get();

    WriteHub->onEvent[0] = MakeLink<&TZelComAsync::doWrite>(2, port);
    detector->onEvent[0] = MakeLink<&TZelHub::doEvent>(0, WriteHub.get());                       // onSend
    detector->onEvent[1] = MakeLink<&TZelConsoleText::doText>(0, StatusEdit.get());              // onStatus
    detector->onEvent[2] = MakeLink<&TZelComAsync::doOpen>(0, port);                             // onOpenPort
    detector->onEvent[3] = MakeLink<&TZelConsoleSignal::doSignal>(0, NotFound.get());            // onNotFound
    detector->onEvent[4] = MakeLink<&TZelHub::doEvent>(0, DeviceFoundHub.get());                 // onFound
    uploader->onEvent[0] = MakeLink<&TZelConsoleProgress::doPosition>(0, UploadProgress.get());  // onProgress
    uploader->onEvent[1] = MakeLink<&TZelHub::doEvent>(1, WriteHub.get());                       // onSend
    uploader->onEvent[2] = MakeLink<&TZelHub::doEvent>(0, SuccessHub.get());                     // onSuccess
    uploader->onEvent[3] = MakeLink<&TZelHub::doEvent>(0, UploadErrorHub.get());                 // onError
    uploader->onEvent[4] = MakeLink<&TZelEventFromData::doData>(0, CRCStore.get());              // onCRC
    uploader->onEvent[6] = MakeLink<&TZelComAsync::doAwait>(5, port);                            // onAwait
    uploader->InData[0] = MakeLink<&TZelEventFromData::getValue>(0, CRCStore.get());             // CRC
    ReplyRouter->OutIndex = MakeLink<&TZelMultiElementEx::getValue>(0, detector);                // Identified
    ReplyRouter->onEvent[0] = MakeLink<&TZelMultiElementEx::doWork>(2, detector);                // doReply
    ReplyRouter->onEvent[1] = MakeLink<&TZelMultiElementEx::doWork>(0, uploader);                // doReply
    port->onRead = MakeLink<&TZelCommutator::doWork>(0, ReplyRouter.get());
    port->PortPoint = MakeLink<&TZelEventFromData::getValue>(0, PortName.get());
    port->onRxChar = MakeLink<&TZelComAsync::doRead>(3, port);
    port->onPort = MakeLink<&TZelConsoleText::doText>(0, PortList.get());
    port->onOpen = MakeLink<&TZelMultiElementEx::doWork>(0, detector);           // doOpenResult
    UploadHub->onEvent[0] = MakeLink<&TZelMultiElementEx::doWork>(1, uploader);  // doStart
    UploadHub->onEvent[1] = MakeLink<&TZelHub::doEvent>(1, WriteEnableHub.get());
    DeviceFoundHub->onEvent[0] = MakeLink<&TZelHub::doEvent>(0, WriteEnableHub.get());
    ClosePortHub->onEvent[0] = MakeLink<&TZelComAsync::doClose>(1, port);
    WriteEnableHub->onEvent[0] = MakeLink<&TZelConsoleSignal::doSignal>(0, WriteButton.get());
    PortPickHub->onEvent[0] = MakeLink<&TZelHub::doEvent>(1, ClosePortHub.get());
    PortPickHub->onEvent[1] = MakeLink<&TZelEventFromData::doData>(0, PortName.get());
    PortPickHub->onEvent[2] = MakeLink<&TZelMultiElementEx::doWork>(1, detector);  // doCheck
    SuccessHub->onEvent[0] = MakeLink<&TZelDoData::doData>(0, MarkSuccess.get());
    SuccessHub->onEvent[1] = MakeLink<&TZelDoData::doData>(0, ShowSuccess.get());
    SuccessHub->onEvent[2] = MakeLink<&TZelConsoleSignal::doSignal>(0, Finished.get());
    ShowSuccess->onEventData = MakeLink<&TZelConsoleText::doVisible>(1, SuccessLabel.get());
    ErrorShow->onEventData = MakeLink<&TZelHub::doEvent>(0, ErrorViewHub.get());
    ErrorShow->DataPoint = MakeLink<&TZelEventFromData::getValue>(0, SuccessMark.get());
    UploadErrorHub->onEvent[0] = MakeLink<&TZelConsoleSignal::doSignal>(0, ErrorDetail.get());
    UploadErrorHub->onEvent[1] = MakeLink<&TZelDoData::doData>(0, ErrorShow.get());
    UploadErrorHub->onEvent[2] = MakeLink<&TZelConsoleSignal::doSignal>(0, Finished.get());
    ErrorViewHub->onEvent[0] = MakeLink<&TZelConsoleText::doVisible>(1, CheckText.get());
    ErrorViewHub->onEvent[1] = MakeLink<&TZelConsoleText::doVisible>(1, ErrorText.get());
    MarkSuccess->onEventData = MakeLink<&TZelEventFromData::doData>(0, SuccessMark.get());

    Detector->SetCreator(TClassMultiElementEx_2659FA0::Create);
    Uploader->SetCreator(TClassMultiElementEx_265A520::Create);
}

// Reverse creation order. By now dispatch is off or the port closed, so
// nothing runs while the elements go; the serial element stops its reader
// thread and the upload scheme its watchdog on their own destruction.
TClassConsoleFlash::~TClassConsoleFlash() = default;

void TClassConsoleFlash::ListPorts() {
    TData none;
    SerialPort->doEnumPorts(none, 4);
}

void TClassConsoleFlash::PickPort(const std::string& name) {
    // As the port list sends a pick: the text, chained with its item data 0.
    TData pick = MakeChain({MakeStr(name), MakeInt(0)});
    CallEvent(MakeLink<&TZelHub::doEvent>(0, PortPickHub.get()), pick);
}

void TClassConsoleFlash::ClickWrite() {
    CallEventCopy(MakeLink<&TZelHub::doEvent>(0, UploadHub.get()), WriteButtonData);
}

void TClassConsoleFlash::Close() {
    TData none;
    CallEvent(MakeLink<&TZelHub::doEvent>(0, ClosePortHub.get()), none);
}

void TClassConsoleFlash::WaitQuiet() {
    platform::WaitServingSentMessages(
        [this] { return (!Detector || !Detector->Running()) && (!Uploader || !Uploader->Running()); },
        std::chrono::seconds(10));
}

void TClassConsoleFlash::EndNestedSchemes() {
    Uploader.reset();
    Detector.reset();
}
