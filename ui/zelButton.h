// A push button that sends a copy of its Data when clicked.
#pragma once

#include "ui/Win.h"

class TZelButton : public TZelWin {
public:
    using TZelWin::TZelWin;

    TPointLink onClick;  // a copy of Data (null while Data was never set)
    TData Data;
    std::string Caption;
    uint8_t Default = 0;  // 1: Enter anywhere on the form clicks it

    // doVisible and doEnabled: the main scheme links them with index 1 and 0
    // ("Записать"), 0 ("OK").
    void Init() override;
};
