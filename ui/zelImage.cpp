#include "zelImage.h"

#include <cmath>

#include "framework/windowsVersion.h"

namespace {
constexpr DWORD SurfaceStyle = 0x5000018C;  // as a label's STATIC control

// Halves go to the even neighbour.
int RoundEven(double x) { return int(std::nearbyint(x)); }
}  // namespace

TProportionalLayout ProportionalLayout(int W, int H, const RECT& client, int pictureWidth, int pictureHeight) {
    TProportionalLayout layout{client, RECT{0, 0, 0, 0}, RECT{0, 0, 0, 0}};
    const double k = double(pictureHeight) / double(pictureWidth);
    if (H >= W * k) {
        const int m = RoundEven((H - W * k) / 2);
        layout.Band1 = RECT{0, 0, W, m};
        layout.Band2 = RECT{0, H - m, W, H};
        layout.Target.top = m;
        layout.Target.bottom = H - m;
    } else {
        const int m = RoundEven((W - H / k) / 2);
        layout.Band1 = RECT{0, 0, m, H};
        layout.Band2 = RECT{W - m, 0, W, H};
        layout.Target.left = m;
        layout.Target.right = W - m;
    }
    return layout;
}

TZelImage::TZelImage(fw::TControl* parentControl) : TZelWin(parentControl), Picture(std::make_unique<fw::TBitmap>()) {}

void TZelImage::SetBitmap(HBITMAP bitmap) {
    if (!bitmap) return;
    Picture->TakeHandle(bitmap);
}

void TZelImage::SetSmooth(int smooth) { StretchMode = (smooth == 1 && fw::IsWindowsNT()) ? HALFTONE : COLORONCOLOR; }

void TZelImage::Init() {
    Control = std::make_unique<fw::TControl>(ParentControl, fw::KindStatic, SurfaceStyle);
    TZelWin::Init();
    Control->OnClick = [this] { CallEventNull(onClick); };
    Control->OnPaint = [this](HDC dc) { Paint(dc); };
    Control->SetColor(Color);
    if (!Picture->Empty() && AutoSize == 1) Control->SetSize(Picture->Width(), Picture->Height());
}

void TZelImage::Paint(HDC dc) {
    if (Picture->Empty() || !DrawRoutine) {
        Control->FillRect(dc, Control->ClientRect());
        return;
    }
    DrawRoutine(dc);
}

void TZelImage::DrawProportional(HDC dc) {
    if (Picture->Empty()) return;
    RECT outer;
    GetWindowRect(Control->Handle(), &outer);
    const TProportionalLayout layout = ProportionalLayout(outer.right - outer.left, outer.bottom - outer.top,
                                                          Control->ClientRect(), Picture->Width(), Picture->Height());
    Control->FillRect(dc, layout.Band1);
    Control->FillRect(dc, layout.Band2);
    SetStretchBltMode(dc, StretchMode);
    Picture->StretchTo(dc, layout.Target);
}
