// The list element: items added one by one or as a text, a selection event,
// and the list read back as one text.
#pragma once

#include <memory>

#include "framework/listItems.h"
#include "framework/stringList.h"
#include "ui/Win.h"

class TZelWinList : public TZelWin {
public:
    using TZelWin::TZelWin;

    std::unique_ptr<fw::TStringList> WorkList;  // only while ListText collects
    uint8_t AddToTop = 0;                       // 1: doAdd inserts at position 0
    uint8_t SelectAdded = 0;                    // 1: doAdd selects the new item
    uint8_t SendText = 0;                       // onClick sends 1: the item's text, 0: its index
    TPointLink Str;                             // text for doAdd
    TPointLink ItemData;                        // optional integer for the item doAdd makes
    TPointLink onChange;                        // null value after doAdd and doClear
    TPointLink onClick;                         // the user's pick

    // Work points (the main scheme links doAdd with index 0).
    void doAdd(TData& d, uint16_t index);
    void doClear(TData& d, uint16_t index);
    // Getter: every item followed by CR LF, the last one without it when it
    // is not empty.
    void ListText(TData& d, uint16_t index);

    virtual void CollectItems();
    virtual void SetStrings(const std::string& text) = 0;
    virtual void BeginFill(int textLength);
    virtual void EndFill();
    virtual int AddItem(const std::string& text);
    virtual void SelectIndex(int index);
    virtual void ReplaceItem(const TData& index, const TData& text);

protected:
    fw::TListItems Items() { return fw::TListItems(*Control); }
};
