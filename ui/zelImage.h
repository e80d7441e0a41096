// A picture scaled into the control's rectangle with its aspect ratio kept.
#pragma once

#include <functional>
#include <memory>

#include "framework/bitmap.h"
#include "ui/Win.h"

// Where DrawProportional puts the picture: the target rectangle and the two
// bands beside it that take the background colour (empty when none).
struct TProportionalLayout {
    RECT Target;
    RECT Band1;
    RECT Band2;
};
// W and H: the control's outer size; client: its client rectangle; the
// picture's size gives k = height / width.
TProportionalLayout ProportionalLayout(int W, int H, const RECT& client, int pictureWidth, int pictureHeight);

class TZelImage : public TZelWin {
public:
    explicit TZelImage(fw::TControl* parentControl);

    std::unique_ptr<fw::TBitmap> Picture;  // empty until SetBitmap
    int32_t StretchMode = 0;               // COLORONCOLOR 3 or HALFTONE 4
    // How a non-empty picture is painted; the main scheme sets it to
    // ProportionalRoutine().
    std::function<void(HDC)> DrawRoutine;
    uint8_t AutoSize = 0;  // 1: the control takes the picture's size in Init
    TPointLink onClick;

    // Set-up operations, before Init.
    void SetBitmap(HBITMAP bitmap);  // takes the handle over; 0 changes nothing
    void SetSmooth(int smooth);

    std::function<void(HDC)> ProportionalRoutine() {
        return [this](HDC dc) { DrawProportional(dc); };
    }
    void DrawProportional(HDC dc);

    // doVisible: the main scheme links it with index 2.
    void Init() override;

private:
    void Paint(HDC dc);
};
