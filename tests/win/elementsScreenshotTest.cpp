// One form with every kind of visual element, shown the way the main window
// shows them, kept as a screenshot for a reviewer.
#include "guiTestSupport.h"

#include <commctrl.h>

#include <cstdlib>
#include "base/cp1251.h"
#include "ui/zelButton.h"
#include "ui/zelComboBox.h"
#include "ui/zelEdit.h"
#include "ui/zelImage.h"
#include "ui/zelLabel.h"
#include "ui/zelProgressBar.h"

class ElementsScreenshotTest : public GuiTest {};

namespace {
HBITMAP Picture() {
    // A red disc on white, 290 by 290 like the error picture.
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 290, 290);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT r{0, 0, 290, 290};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HBRUSH red = CreateSolidBrush(RGB(220, 0, 0));
    HGDIOBJ oldBrush = SelectObject(dc, red);
    Ellipse(dc, 10, 10, 280, 280);
    SelectObject(dc, oldBrush);
    DeleteObject(red);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

template <class T>
void Place(T& e, int left, int top, int width, int height, uint32_t color = 0xFF00000F) {
    e.Left = left;
    e.Top = top;
    e.Width = width;
    e.Height = height;
    e.Color = color;
    e.Font = MakeFont("MS Sans Serif", 8, 0, 0, 1);
}
}  // namespace

TEST_F(ElementsScreenshotTest, EveryElementKindOnOneForm) {
    auto form = std::make_unique<TZelSimpleForm>(nullptr);
    form->Left = 200;
    form->Top = 200;
    form->Width = 616;
    form->Height = 230;
    form->Color = 0xFF00000F;
    form->Ctl3D = 1;
    form->SetCaption("Quarnelvisk bootloader");
    form->SetBorderStyle(1);
    form->Init();
    fw::TControl* parent = form->Control.get();

    TZelLabel error(parent);
    Place(error, 0, 0, 610, 24);
    error.Font = MakeFont("MS Sans Serif", 10, 0, 0, 1);
    error.Align = 2;
    error.Ctl3D = 1;
    error.Caption = "Ошибка при передаче данных!"_w;
    error.SetAutoSize(1);
    error.SetAlignment(2);
    error.Init();

    TZelButton write(parent);
    Place(write, 5, 50, 85, 30);
    write.Ctl3D = 1;
    write.Caption = "Записать"_w;
    write.Init();

    TZelEdit status(parent);
    Place(status, 110, 40, 320, 25, 0xFF000016);
    status.Ctl3D = 0;
    status.ReadOnly = 1;
    status.Text = "Устройство: MZK7   Текущая версия ПО: 1.3"_w;
    status.Init();

    TZelComboBox ports(parent);
    Place(ports, 10, 100, 85, 24, 0xFF000005);
    ports.Ctl3D = 1;
    ports.Editable = 1;
    ports.SendText = 1;
    ports.ItemHeight = 20;
    ports.Init();
    for (const char* name : {"COM1", "COM3", "COM7"}) {
        TData d = MakeStr(name);
        ports.doAdd(d, 0);
    }
    ports.SelectIndex(2);

    TZelLabel version(parent);
    Place(version, 110, 75, 272, 20);
    version.Ctl3D = 1;
    version.Caption = "Версия ПО для обновления:1.4 (MZK7/DPL7 с версией ПО 1.3 и ниже)"_w;
    version.SetAutoSize(1);
    version.Init();

    TZelProgressBar progress(parent);
    Place(progress, 5, 140, 600, 30);
    progress.Ctl3D = 0;
    progress.Smooth = 1;
    progress.Max = 1015;
    progress.BarColor = 0xFF000010;
    progress.Init();
    TData position = MakeInt(406);
    progress.doPosition(position, 0);

    TZelImage image(parent);
    Place(image, 460, 40, 60, 60);
    image.Ctl3D = 1;
    image.DrawRoutine = image.ProportionalRoutine();
    image.SetBitmap(Picture());
    image.SetSmooth(1);
    image.Init();

    TZelButton ok(parent);
    Place(ok, 245, 100, 115, 30);
    ok.Caption = "OK";
    ok.Init();

    form->Run();
    Pump(500);
    HWND w = form->Control->Handle();
    ASSERT_TRUE(IsWindowVisible(w));
    for (HWND child :
         {error.Control->Handle(), write.Control->Handle(), status.Control->Handle(), ports.Control->Handle(),
          version.Control->Handle(), progress.Control->Handle(), image.Control->Handle(), ok.Control->Handle()})
        EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_EQ(WindowText(ports.Control->Handle()), "COM7");
    EXPECT_EQ(SendMessageA(progress.Control->Handle(), PBM_GETPOS, 0, 0), 406);
    EXPECT_EQ(WindowRectIn(error.Control->Handle(), w).top, 0) << "docked at the top";

    if (std::getenv("QV_HANDSHAKE_DIR")) {
        EXPECT_TRUE(RequestScreenshot("all-elements")) << "the harness did not take the screenshot";
    }
    TData d;
    form->doClose(d, 0);
    EXPECT_FALSE(IsWindow(w));
}
