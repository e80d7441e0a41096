#include "zelConsoleFlash.h"

#include <chrono>

#include "base/cp1251.h"
#include "platform/threadWait.h"
#include "schemes/exchangeNetwork.h"
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
    // The probe says it at every reply that is not the device's; on a
    // terminal that is a line a chunk, and wrong once the device answers.
    StatusEdit->Withheld = std::string("На этом порту устройств не найдено."_w);
    CreateExchange(Exchange, nullptr, this);

    UploadHub = MakeHub(1, 2);
    UploadProgress = std::make_unique<TZelConsoleProgress>();
    // Counted in blocks: the counter gives the acknowledged ones before the
    // last, whose final acknowledgement completes the bar.
    UploadProgress->Max = 1016;
    UploadProgress->Terminal = terminal;
    UploadProgress->Output = std::move(output);
    DeviceFoundHub = MakeHub(1, 1);
    CRCStore = std::make_unique<TZelEventFromData>();
    CRCStore->SetStored(MakeStr("FFFF"));
    WriteEnableHub = MakeHub(2, 1);
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

    TZelMultiElementEx* uploader = Exchange.Uploader.get();
    TExchangeOutlets outlets;
    outlets.Status = MakeLink<&TZelConsoleText::doText>(0, StatusEdit.get());
    outlets.NotFound = MakeLink<&TZelConsoleSignal::doSignal>(0, NotFound.get());
    outlets.Found = MakeLink<&TZelHub::doEvent>(0, DeviceFoundHub.get());
    outlets.Progress = MakeLink<&TZelConsoleProgress::doPosition>(0, UploadProgress.get());
    outlets.Success = MakeLink<&TZelHub::doEvent>(0, SuccessHub.get());
    outlets.Error = MakeLink<&TZelHub::doEvent>(0, UploadErrorHub.get());
    outlets.CRC = MakeLink<&TZelEventFromData::doData>(0, CRCStore.get());
    outlets.CRCRead = MakeLink<&TZelEventFromData::getValue>(0, CRCStore.get());
    outlets.Port = MakeLink<&TZelConsoleText::doText>(0, PortList.get());
    LinkExchange(Exchange, outlets);

    UploadHub->onEvent[0] = MakeLink<&TZelMultiElementEx::doWork>(1, uploader);  // doStart
    UploadHub->onEvent[1] = MakeLink<&TZelHub::doEvent>(1, WriteEnableHub.get());
    DeviceFoundHub->onEvent[0] = MakeLink<&TZelHub::doEvent>(0, WriteEnableHub.get());
    WriteEnableHub->onEvent[0] = MakeLink<&TZelConsoleSignal::doSignal>(0, WriteButton.get());
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

    Exchange.Detector->SetCreator(TClassMultiElementEx_2659FA0::Create);
    Exchange.Uploader->SetCreator(TClassMultiElementEx_265A520::Create);
}

// Reverse creation order. By now dispatch is off or the port closed, so
// nothing runs while the elements go; the serial element stops its reader
// thread and the upload scheme its watchdog on their own destruction.
TClassConsoleFlash::~TClassConsoleFlash() = default;

TZelMMTimer& TClassConsoleFlash::UploadWatchdog() {
    return *static_cast<TClassMultiElementEx_265A520*>(Exchange.Uploader->Current->Scheme)->Watchdog;
}

void TClassConsoleFlash::ListPorts() {
    TData none;
    Exchange.SerialPort->doEnumPorts(none, 4);
}

void TClassConsoleFlash::PickPort(const std::string& name) {
    // As the port list sends a pick: the text, chained with its item data 0.
    TData pick = MakeChain({MakeStr(name), MakeInt(0)});
    CallEvent(MakeLink<&TZelHub::doEvent>(0, Exchange.PortPickHub.get()), pick);
}

void TClassConsoleFlash::ClickWrite() {
    CallEventCopy(MakeLink<&TZelHub::doEvent>(0, UploadHub.get()), WriteButtonData);
}

void TClassConsoleFlash::Close() {
    TData none;
    CallEvent(MakeLink<&TZelHub::doEvent>(0, Exchange.ClosePortHub.get()), none);
}

void TClassConsoleFlash::WaitQuiet() {
    platform::WaitServingSentMessages(
        [this] {
            return (!Exchange.Detector || !Exchange.Detector->Running()) &&
                   (!Exchange.Uploader || !Exchange.Uploader->Running());
        },
        std::chrono::seconds(10));
}

void TClassConsoleFlash::EndNestedSchemes() {
    Exchange.Uploader.reset();
    Exchange.Detector.reset();
}
