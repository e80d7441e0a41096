// The transfer's progress bar (msctls_progress32), range 0 to Max.
#pragma once

#include "ui/Win.h"

class TZelProgressBar : public TZelWin {
public:
    using TZelWin::TZelWin;

    uint8_t Kind = 0;    // 0 horizontal, 1 vertical
    uint8_t Smooth = 0;  // 1: a continuous bar
    int32_t Max = 0;
    uint32_t BarColor = 0;

    // Work point (index 0 in the main scheme): the incoming value as an
    // integer (0 for null); the window system clamps it to the range.
    void doPosition(TData& d, uint16_t index);

    // doVisible: the main scheme links it with index 1.
    void Init() override;
};
