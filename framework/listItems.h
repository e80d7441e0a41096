#pragma once
// The items of a list-like control (a combo box, a list box) through the
// messages its kind names. A kind without list messages keeps its items as
// the lines of its text; the other operations then do nothing and answer
// as for an empty list.
#include <windows.h>

#include <string>

#include "kindTable.h"

namespace fw {

class TControl;

class TListItems {
public:
    explicit TListItems(TControl& control);

    int Count();
    std::string Text(int index);
    LRESULT Data(int index);  // -1 when the kind keeps no item data
    void SetData(int index, LRESULT data);
    int Add(const std::string& text);                // the new index
    int Insert(int index, const std::string& text);  // -1 when the kind cannot insert
    void Delete(int index);
    int Current();  // -1 for none
    void SetCurrent(int index);
    void Clear();

private:
    TControl& control_;
    const TKindTable& kind_;
};

}  // namespace fw
