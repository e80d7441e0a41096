#include "zelSimpleForm_25EFC10.h"

#include <windows.h>

#include "base/cp1251.h"
#include "schemes/exchangeNetwork.h"
#include "schemes/schemeParts.h"
#include "schemes/zelMultiElementEx_2659FA0.h"
#include "schemes/zelMultiElementEx_265A520.h"

TClassSimpleForm_25EFC10* MainScheme = nullptr;

namespace {

// System colours: the top bit set, the colour index in the low byte.
constexpr uint32_t ClrWindow = 0xFF000005;
constexpr uint32_t ClrBtnFace = 0xFF00000F;
constexpr uint32_t ClrBtnShadow = 0xFF000010;
constexpr uint32_t ClrInfoBk = 0xFF000016;

TFontRec SansSerif(uint8_t size, uint8_t style = 0) { return MakeFont("MS Sans Serif", size, style, 0, 1); }

// The placement, colour, font and 3-D setting every visual element gets.
template <class T>
void Place(T& e, int32_t left, int32_t top, int32_t width, int32_t height, uint32_t color, TFontRec font,
           uint8_t visible, uint8_t ctl3D) {
    e.Left = left;
    e.Top = top;
    e.Width = width;
    e.Height = height;
    e.Color = color;
    e.Font = std::move(font);
    e.Visible = visible;
    e.Ctl3D = ctl3D;
}

std::unique_ptr<TZelLabel> MakeLabel(fw::TControl* parent, int32_t left, int32_t top, int32_t width, int32_t height,
                                     TFontRec font, uint8_t visible, std::string caption, uint8_t autoSize,
                                     uint8_t alignment, uint8_t align = 0) {
    auto label = std::make_unique<TZelLabel>(parent);
    Place(*label, left, top, width, height, ClrBtnFace, std::move(font), visible, 1);
    label->Align = align;
    label->Caption = std::move(caption);
    label->SetAutoSize(autoSize);
    label->SetAlignment(alignment);
    label->Init();
    return label;
}

template <class T>
void AttachNoManagers(T& e) {
    e.AttachHintManager(nullptr);
    e.AttachLayoutManager(nullptr);
}

}  // namespace

TClassSimpleForm_25EFC10::TClassSimpleForm_25EFC10() {
    MainScheme = this;
    HINSTANCE module = GetModuleHandleA(nullptr);

    MainForm = std::make_unique<TZelSimpleForm>(nullptr);
    MainForm->Left = 200;
    MainForm->Top = 200;
    MainForm->Width = 616;
    MainForm->Height = 162;
    MainForm->Color = ClrBtnFace;
    MainForm->Ctl3D = 1;
    MainForm->Font = SansSerif(8);
    MainForm->Visible = 1;
    MainForm->Enabled = 1;
    MainForm->SetCaption("Quarnelvisk bootloader");
    MainForm->SetBorderStyle(1);
    MainForm->SetIcon(LoadIconA(module, "ZEDA"));
    MainForm->SetAppToolWindow(0);
    MainForm->DragByClient = 1;
    MainForm->Init();
    fw::TControl* form = MainForm->Control.get();

    ErrorText = MakeLabel(form, 0, 0, 610, 24, SansSerif(10), 0, std::string("Ошибка при передаче данных!"_w), 1, 2, 2);
    CheckText = MakeLabel(form, 0, 24, 610, 24, SansSerif(10), 0,
                          std::string("Проверьте все соединения и попробуйте ещё раз."_w), 1, 2, 2);

    WriteButton = std::make_unique<TZelButton>(form);
    Place(*WriteButton, 5, 50, 85, 30, ClrBtnFace, SansSerif(8), 1, 1);
    WriteButton->Enabled = 0;
    WriteButton->Caption = std::string("Записать"_w);
    SetInt(WriteButton->Data, 0);
    WriteButton->Flat = 0;
    WriteButton->Default = 0;
    WriteButton->Init();

    StatusEdit = std::make_unique<TZelEdit>(form);
    Place(*StatusEdit, 110, 10, 320, 25, ClrInfoBk, SansSerif(8), 1, 0);
    StatusEdit->Text = std::string("Выберите порт с подключённым устройством."_w);
    StatusEdit->ReadOnly = 1;
    StatusEdit->Password = 0;
    StatusEdit->Alignment = 0;
    StatusEdit->Init();

    PortBox = std::make_unique<TZelComboBox>(form);
    Place(*PortBox, 10, 10, 85, 24, ClrWindow, SansSerif(8), 1, 1);
    PortBox->Enabled = 1;
    PortBox->Editable = 1;
    PortBox->Sort = 0;
    PortBox->SendText = 1;
    PortBox->AddToTop = 0;
    PortBox->ItemHeight = 20;
    PortBox->Text = "";
    PortBox->Strings = "";
    PortBox->Init();

    // What the flasher shares: the write hub, the probe, the upload, the
    // reply router, the serial port element and the port pick.
    CreateExchange(Exchange, form, this);

    UploadHub = MakeHub(1, 3);

    UploadProgress = std::make_unique<TZelProgressBar>(form);
    Place(*UploadProgress, 5, 90, 600, 30, ClrBtnFace, SansSerif(8), 1, 0);
    UploadProgress->Kind = 0;
    UploadProgress->Smooth = 1;
    UploadProgress->Max = 1015;
    UploadProgress->BarColor = ClrBtnShadow;
    UploadProgress->Init();

    DeviceFoundHub = MakeHub(1, 2);
    LockPortBox = MakeDoData(0);
    VersionLabel = MakeLabel(form, 110, 55, 272, 20, SansSerif(8), 1,
                             std::string("Версия ПО для обновления:1.4 (MZK7/DPL7 с версией ПО 1.3 и ниже)"_w), 1, 0);

    CRCStore = std::make_unique<TZelEdit>(form);
    Place(*CRCStore, 45, 145, 85, 25, ClrWindow, SansSerif(8), 0, 0);
    CRCStore->Text = "FFFF";
    CRCStore->ReadOnly = 0;
    CRCStore->Password = 0;
    CRCStore->Alignment = 0;
    CRCStore->Init();

    CRCReceivedLabel = MakeLabel(form, 140, 150, 101, 20, SansSerif(8), 1, std::string("CRC принятый:"_w), 1, 0);
    CRCLabel = MakeLabel(form, 10, 150, 35, 20, SansSerif(8), 1, "CRC:", 1, 0);
    WriteEnableHub = MakeHub(2, 1);
    UploadEndHub = MakeHub(2, 2);
    HideControls = MakeDoData(0);
    ShowOK = MakeDoData(1);
    HideHub = MakeHub(1, 5);
    FormEnableHub = MakeHub(2, 1);
    OKHub = MakeHub(1, 2);

    OKButton = std::make_unique<TZelButton>(form);
    Place(*OKButton, 245, 60, 115, 30, ClrBtnFace, SansSerif(8), 0, 1);
    OKButton->Enabled = 1;
    OKButton->Caption = "OK";
    OKButton->Flat = 0;
    OKButton->Default = 0;
    OKButton->Init();

    SuccessLabel = MakeLabel(form, 5, 0, 492, 54, SansSerif(10, 1), 0,
                             std::string("                             ПО успешно обновлено!\r\n"
                                         "                        Сбросте настройки по умолчанию!"_w),
                             0, 2);
    SuccessHub = MakeHub(1, 3);
    ShowSuccess = MakeDoData(1);
    ErrorShow = MakeDoData(1);
    UploadErrorHub = MakeHub(1, 2);
    ErrorViewHub = MakeHub(1, 3);

    ErrorImage = std::make_unique<TZelImage>(form);
    Place(*ErrorImage, 145, 3, 15, 14, ClrBtnFace, SansSerif(8), 0, 1);
    ErrorImage->DrawRoutine = ErrorImage->ProportionalRoutine();
    ErrorImage->SetBitmap(LoadBitmapA(module, "BITMAP0"));
    ErrorImage->SetSmooth(1);
    ErrorImage->MouseCapture = 0;
    ErrorImage->Init();

    SuccessMark = std::make_unique<TZelEventFromData>();
    MarkSuccess = MakeDoData(0);

    TZelMultiElementEx* uploader = Exchange.Uploader.get();
    TZelComAsync* port = Exchange.SerialPort.get();
    TExchangeOutlets outlets;
    outlets.Status = MakeLink<&TZelEdit::doText>(0, StatusEdit.get());
    outlets.Found = MakeLink<&TZelHub::doEvent>(0, DeviceFoundHub.get());
    outlets.Progress = MakeLink<&TZelProgressBar::doPosition>(0, UploadProgress.get());
    outlets.Success = MakeLink<&TZelHub::doEvent>(0, SuccessHub.get());
    outlets.Error = MakeLink<&TZelHub::doEvent>(0, UploadErrorHub.get());
    outlets.CRC = MakeLink<&TZelEdit::doText>(0, CRCStore.get());
    outlets.CRCRead = MakeLink<&TZelEdit::getText>(0, CRCStore.get());
    outlets.Port = MakeLink<&TZelWinList::doAdd>(0, PortBox.get());

    MainForm->onCreate = MakeLink<&TZelComAsync::doEnumPorts>(4, port);
    MainForm->onClose = MakeLink<&TZelHub::doEvent>(0, Exchange.ClosePortHub.get());
    WriteButton->onClick = MakeLink<&TZelHub::doEvent>(0, UploadHub.get());
    PortBox->onClick = MakeLink<&TZelHub::doEvent>(0, Exchange.PortPickHub.get());
    LinkExchange(Exchange, outlets);
    UploadHub->onEvent[0] = MakeLink<&TZelMultiElementEx::doWork>(1, uploader);
    UploadHub->onEvent[1] = MakeLink<&TZelHub::doEvent>(1, WriteEnableHub.get());
    UploadHub->onEvent[2] = MakeLink<&TZelHub::doEvent>(0, FormEnableHub.get());
    DeviceFoundHub->onEvent[0] = MakeLink<&TZelDoData::doData>(0, LockPortBox.get());
    DeviceFoundHub->onEvent[1] = MakeLink<&TZelHub::doEvent>(0, WriteEnableHub.get());
    LockPortBox->onEventData = MakeLink<&TZelWin::doEnabled>(7, PortBox.get());
    WriteEnableHub->onEvent[0] = MakeLink<&TZelWin::doEnabled>(0, WriteButton.get());
    UploadEndHub->onEvent[0] = MakeLink<&TZelDoData::doData>(0, HideControls.get());
    UploadEndHub->onEvent[1] = MakeLink<&TZelDoData::doData>(0, ShowOK.get());
    HideControls->onEventData = MakeLink<&TZelHub::doEvent>(0, HideHub.get());
    ShowOK->onEventData = MakeLink<&TZelHub::doEvent>(0, OKHub.get());
    HideHub->onEvent[0] = MakeLink<&TZelWin::doVisible>(8, PortBox.get());
    HideHub->onEvent[1] = MakeLink<&TZelWin::doVisible>(3, StatusEdit.get());
    HideHub->onEvent[2] = MakeLink<&TZelWin::doVisible>(1, UploadProgress.get());
    HideHub->onEvent[3] = MakeLink<&TZelWin::doVisible>(1, WriteButton.get());
    HideHub->onEvent[4] = MakeLink<&TZelWin::doVisible>(1, VersionLabel.get());
    FormEnableHub->onEvent[0] = MakeLink<&TZelSimpleWin::doEnabled>(1, MainForm.get());
    OKHub->onEvent[0] = MakeLink<&TZelHub::doEvent>(1, FormEnableHub.get());
    OKHub->onEvent[1] = MakeLink<&TZelWin::doVisible>(0, OKButton.get());
    OKButton->onClick = MakeLink<&TZelSimpleForm::doClose>(0, MainForm.get());
    SuccessHub->onEvent[0] = MakeLink<&TZelHub::doEvent>(0, UploadEndHub.get());
    SuccessHub->onEvent[1] = MakeLink<&TZelDoData::doData>(0, MarkSuccess.get());
    SuccessHub->onEvent[2] = MakeLink<&TZelDoData::doData>(0, ShowSuccess.get());
    ShowSuccess->onEventData = MakeLink<&TZelWin::doVisible>(1, SuccessLabel.get());
    ErrorShow->onEventData = MakeLink<&TZelHub::doEvent>(0, ErrorViewHub.get());
    ErrorShow->DataPoint = MakeLink<&TZelEventFromData::getValue>(0, SuccessMark.get());
    UploadErrorHub->onEvent[0] = MakeLink<&TZelHub::doEvent>(1, UploadEndHub.get());
    UploadErrorHub->onEvent[1] = MakeLink<&TZelDoData::doData>(0, ErrorShow.get());
    ErrorViewHub->onEvent[0] = MakeLink<&TZelWin::doVisible>(1, CheckText.get());
    ErrorViewHub->onEvent[1] = MakeLink<&TZelWin::doVisible>(1, ErrorText.get());
    ErrorViewHub->onEvent[2] = MakeLink<&TZelWin::doVisible>(2, ErrorImage.get());
    MarkSuccess->onEventData = MakeLink<&TZelEventFromData::doData>(0, SuccessMark.get());

    AttachNoManagers(*ErrorText);
    AttachNoManagers(*CheckText);
    MainForm->AttachLayoutManager(nullptr);
    AttachNoManagers(*WriteButton);
    AttachNoManagers(*StatusEdit);
    AttachNoManagers(*PortBox);
    PortBox->AttachIconsManager(nullptr);
    PortBox->AttachBoxDrawManager(nullptr);
    PortBox->AttachItemIndexManager(nullptr);
    Exchange.Detector->SetCreator(TClassMultiElementEx_2659FA0::Create);
    Exchange.Uploader->SetCreator(TClassMultiElementEx_265A520::Create);
    AttachNoManagers(*UploadProgress);
    AttachNoManagers(*VersionLabel);
    AttachNoManagers(*CRCStore);
    AttachNoManagers(*CRCReceivedLabel);
    AttachNoManagers(*CRCLabel);
    AttachNoManagers(*OKButton);
    AttachNoManagers(*SuccessLabel);
    AttachNoManagers(*ErrorImage);
    MainForm->EnableKeyboardNavigation();
}

// The members go in reverse declaration order, which is the reverse of
// their creation: MarkSuccess first, the form last.
TClassSimpleForm_25EFC10::~TClassSimpleForm_25EFC10() { MainScheme = nullptr; }
