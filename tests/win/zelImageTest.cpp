#include "ui/zelImage.h"

#include "guiTestSupport.h"

class ImageTest : public GuiTest {};

namespace {
constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF Untouched = RGB(255, 255, 255);

HBITMAP SolidBitmap(int width, int height, COLORREF color) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(color);
    RECT r{0, 0, width, height};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// A 20 by 20 memory surface, white, to paint the image into.
struct TSurface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    TSurface() {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, 20, 20);
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bitmap);
        RECT r{0, 0, 20, 20};
        HBRUSH white = CreateSolidBrush(Untouched);
        FillRect(dc, &r, white);
        DeleteObject(white);
    }
    ~TSurface() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
};

// The main window's error picture box: 15 by 14 with a one-pixel border.
std::unique_ptr<TZelImage> MakeImage(fw::TControl* parent) {
    auto image = std::make_unique<TZelImage>(parent);
    image->Left = 145;
    image->Top = 3;
    image->Width = 15;
    image->Height = 14;
    image->Color = 0x00FF0000;  // blue, as 0x00BBGGRR
    image->Ctl3D = 1;
    image->DrawRoutine = image->ProportionalRoutine();
    return image;
}
}  // namespace

TEST(ProportionalLayout, SquarePictureInTheMainWindowsBox) {
    const RECT client{0, 0, 13, 12};
    const TProportionalLayout l = ProportionalLayout(15, 14, client, 290, 290);
    // k = 1, H < W: the wider case with m = round(0.5) = 0.
    EXPECT_EQ(l.Target.left, 0);
    EXPECT_EQ(l.Target.right, 15);
    EXPECT_EQ(l.Target.top, 0);
    EXPECT_EQ(l.Target.bottom, 12);
    EXPECT_EQ(l.Band1.right - l.Band1.left, 0);
    EXPECT_EQ(l.Band2.right - l.Band2.left, 0);
}

TEST(ProportionalLayout, PictureTwiceAsWideAsHigh) {
    const RECT client{0, 0, 13, 12};
    const TProportionalLayout l = ProportionalLayout(15, 14, client, 40, 20);
    // k = 0.5, W k = 7.5, m = round(3.25) = 3.
    EXPECT_EQ(l.Target.top, 3);
    EXPECT_EQ(l.Target.bottom, 11);
    EXPECT_EQ(l.Target.left, 0);
    EXPECT_EQ(l.Target.right, 13);
    EXPECT_EQ(l.Band1.bottom, 3);
    EXPECT_EQ(l.Band1.right, 15);
    EXPECT_EQ(l.Band2.top, 11);
    EXPECT_EQ(l.Band2.bottom, 14);
}

TEST(ProportionalLayout, HalvesRoundToTheEvenNeighbour) {
    const RECT client{0, 0, 10, 15};
    // H - W k = 15 - 10 = 5: m = round(2.5) = 2.
    EXPECT_EQ(ProportionalLayout(10, 15, client, 10, 10).Target.top, 2);
    // 17 - 10 = 7: m = round(3.5) = 4.
    EXPECT_EQ(ProportionalLayout(10, 17, RECT{0, 0, 10, 17}, 10, 10).Target.top, 4);
}

TEST_F(ImageTest, SquarePictureFillsTheBoxAndIsClippedByNothingButTheTarget) {
    THostForm host;
    auto image = MakeImage(host.Parent());
    image->SetBitmap(SolidBitmap(290, 290, Red));
    image->SetSmooth(1);
    image->Init();
    EXPECT_EQ(image->StretchMode, HALFTONE) << "Wine is of the NT family";
    RECT client = image->Control->ClientRect();
    EXPECT_EQ(client.right, 13);
    EXPECT_EQ(client.bottom, 12);
    TSurface surface;
    image->DrawProportional(surface.dc);
    EXPECT_EQ(surface.At(0, 0), Red);
    EXPECT_EQ(surface.At(14, 0), Red) << "the target runs to x 15";
    EXPECT_EQ(surface.At(14, 11), Red);
    EXPECT_EQ(surface.At(0, 12), Untouched) << "and ends at the client bottom";
    EXPECT_EQ(surface.At(15, 0), Untouched);
}

TEST_F(ImageTest, WidePictureGetsBandsOfTheBackgroundColour) {
    THostForm host;
    auto image = MakeImage(host.Parent());
    std::vector<uint32_t> pixels(40 * 20, 0x00FF0000);  // red as 0x00RRGGBB
    image->Picture->SetBits(40, 20, pixels);
    image->SetSmooth(0);
    image->Init();
    EXPECT_EQ(image->StretchMode, COLORONCOLOR);
    TSurface surface;
    image->DrawProportional(surface.dc);
    EXPECT_EQ(surface.At(0, 0), Blue);
    EXPECT_EQ(surface.At(14, 2), Blue);
    EXPECT_EQ(surface.At(0, 3), Red);
    EXPECT_EQ(surface.At(12, 10), Red);
    EXPECT_EQ(surface.At(13, 5), Untouched) << "the target spans the client width";
    EXPECT_EQ(surface.At(0, 11), Blue);
    EXPECT_EQ(surface.At(14, 13), Blue);
}

TEST_F(ImageTest, EmptyOrZeroBitmapLeavesThePictureEmpty) {
    THostForm host;
    auto image = MakeImage(host.Parent());
    image->SetBitmap(nullptr);
    EXPECT_TRUE(image->Picture->Empty());
    image->AutoSize = 1;
    image->Init();
    RECT r;
    GetWindowRect(image->Control->Handle(), &r);
    EXPECT_EQ(r.right - r.left, 15) << "AutoSize needs a picture";
}

TEST_F(ImageTest, AutoSizeTakesThePicturesSize) {
    THostForm host;
    auto image = MakeImage(host.Parent());
    image->SetBitmap(SolidBitmap(30, 20, Red));
    image->AutoSize = 1;
    image->Init();
    RECT r;
    GetWindowRect(image->Control->Handle(), &r);
    EXPECT_EQ(r.right - r.left, 30);
    EXPECT_EQ(r.bottom - r.top, 20);
}
