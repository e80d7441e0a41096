// The drop-down combo box: the serial-port chooser of the main window.
#pragma once

#include <functional>

#include "ui/LWinList.h"

// Owner-drawn items: interfaces that no element of this program provides.
struct TIconsManager {
    std::function<void(fw::TControl* control)> Register;
    std::function<void(fw::TControl* control)> Release;
    std::function<int(int itemIndex)> IconIndex;  // -1: none
    int IconSize = 16;
    std::function<void(HDC dc, int iconIndex, int x, int y)> DrawIcon;
};
struct TBoxDrawManager {
    std::function<void(fw::TControl* control, HDC dc, int index, UINT state, const RECT& rect)> DrawItem;
    int LeftMargin = 2;
};
struct TItemIndexManager {
    std::function<bool()> HasIconList;
};

class TZelComboBox : public TZelLWinList {
public:
    using TZelLWinList::TZelLWinList;
    ~TZelComboBox() override;

    TIconsManager* IconsManager = nullptr;
    TBoxDrawManager* BoxDrawManager = nullptr;
    TItemIndexManager* ItemIndexManager = nullptr;
    uint8_t Editable = 0;  // 1: with an edit field (CBS_DROPDOWN)
    std::string Text;      // initial text of the edit field
    std::string Strings;   // initial items, one per line
    uint8_t Sort = 0;
    int32_t ItemHeight = 0;  // asked only for owner-drawn items

    // Set-up operations, after Init; none (nullptr) changes nothing.
    void AttachIconsManager(TIconsManager* manager);
    void AttachBoxDrawManager(TBoxDrawManager* manager);
    void AttachItemIndexManager(TItemIndexManager* manager);

    // doVisible and doEnabled: the main scheme links them with 8 and 7.
    void Init() override;
    void BeginFill(int textLength) override;
    int AddItem(const std::string& text) override;

private:
    void SelectionRule();
    void DrawItem(const DRAWITEMSTRUCT& item);
};
