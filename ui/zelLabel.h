// A text label (STATIC control), made at construction so that alignment and
// automatic sizing can be set before Init.
#pragma once

#include "ui/Win.h"

class TZelLabel : public TZelWin {
public:
    explicit TZelLabel(fw::TControl* parentControl);

    TPointLink onClick;       // null value on a click
    uint32_t HoverColor = 0;  // font colour under the mouse; 0: unchanged
    uint8_t HoverUnderline = 0;
    std::string Caption;
    TPointLink Unused;

    // Set-up operations, before Init.
    void SetAlignment(uint8_t alignment);  // 0 left, 1 right, 2 centre (words wrap)
    void SetAutoSize(uint8_t autoSize);    // 1: sized to its text now and after each change

    // doVisible: the main scheme links it with index 1.
    void MouseEnter() override;
    void MouseLeave() override;
    void Init() override;
};
