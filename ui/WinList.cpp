#include "WinList.h"

void TZelWinList::doAdd(TData& d, uint16_t) {
    const std::string s = ReadString(d, Str, std::string());
    int index;
    if (AddToTop == 1) {
        index = Items().Insert(0, s);
        if (index == -1) Control->SetText(s + "\r\n" + Control->Text());
    } else {
        index = AddItem(s);
    }
    if (SelectAdded == 1) Items().SetCurrent(index);
    const TData data = ReadData(d, ItemData, nullptr);
    if (IsInteger(data)) Items().SetData(index, data.IntValue);
    ForwardNull(d, onChange);
}

void TZelWinList::doClear(TData& d, uint16_t) {
    Items().Clear();
    ForwardNull(d, onChange);
}

void TZelWinList::ListText(TData& d, uint16_t) {
    WorkList = std::make_unique<fw::TStringList>();
    CollectItems();
    std::string text = WorkList->GetText();
    const int count = WorkList->Count();
    if (count > 0 && !WorkList->Item(count - 1).empty()) text.resize(text.size() - 2);
    WorkList.reset();
    SetStr(d, std::move(text));
}

void TZelWinList::CollectItems() {
    const int count = Items().Count();
    for (int i = 0; i < count; ++i) WorkList->Add(Items().Text(i));
}

void TZelWinList::BeginFill(int) {
    Control->Send(WM_SETREDRAW, FALSE, 0);
    Items().Clear();
}

void TZelWinList::EndFill() {
    Control->Send(WM_SETREDRAW, TRUE, 0);
    Control->Owned([&] { InvalidateRect(Control->Handle(), nullptr, FALSE); });
}

int TZelWinList::AddItem(const std::string& text) { return Items().Add(text); }

void TZelWinList::SelectIndex(int index) {
    if (index < 0 || index >= Items().Count()) index = -1;
    Items().SetCurrent(index);
}

void TZelWinList::ReplaceItem(const TData& indexValue, const TData& textValue) {
    const int index = ToIndex(indexValue);
    if (index < 0 || index >= Items().Count()) return;
    Control->Owned([&] {
        // The item keeps its data and, when it was selected, the selection.
        fw::TListItems items = Items();
        const LRESULT data = items.Data(index);
        const bool selected = items.Current() == index;
        items.Delete(index);
        items.Insert(index, ToString(textValue));
        items.SetData(index, data);
        if (selected) items.SetCurrent(index);
    });
}
