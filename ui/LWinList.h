// A list element filled from a multi-line text.
#pragma once

#include "ui/WinList.h"

class TZelLWinList : public TZelWinList {
public:
    using TZelWinList::TZelWinList;

    // The list is emptied, then one item per line of text (CR ends a line;
    // an LF that follows it belongs to the break; a final break adds none).
    void SetStrings(const std::string& text) override;
};
