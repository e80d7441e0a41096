#include "zelComboBox.h"

namespace {
constexpr DWORD ComboStyle = 0x50210200;  // WS_CHILD WS_VISIBLE WS_VSCROLL WS_TABSTOP CBS_HASSTRINGS
}

TZelComboBox::~TZelComboBox() {
    if (IconsManager && IconsManager->Release) IconsManager->Release(Control.get());
}

void TZelComboBox::Init() {
    DWORD style = ComboStyle | CBS_AUTOHSCROLL | (Editable == 1 ? CBS_DROPDOWN : CBS_DROPDOWNLIST);
    if (Sort == 1) style |= CBS_SORT;
    if (DrawFlags & 8) style |= CBS_OWNERDRAWFIXED;
    Control = std::make_unique<fw::TControl>(ParentControl, fw::KindComboBox, style);
    Control->OnItemHeight = [this](int) { return int(ItemHeight); };
    TZelWin::Init();
    SetStrings(Strings);
    Control->SetText(Text);
    Control->OnSelChange = [this] { SelectionRule(); };
    if (DrawFlags & 8) Control->OnDrawItem = [this](const DRAWITEMSTRUCT& item) { DrawItem(item); };
}

void TZelComboBox::BeginFill(int textLength) {
    TZelLWinList::BeginFill(textLength);
    Control->Send(CB_INITSTORAGE, 0, LPARAM(textLength));
}

int TZelComboBox::AddItem(const std::string& text) { return int(Control->SendText(CB_ADDSTRING, 0, text)); }

// Runs from the message loop when the re-posted selection change arrives.
void TZelComboBox::SelectionRule() {
    const int index = Items().Current();
    TData value;
    if (SendText == 1)
        SetStr(value, index < 0 ? std::string() : Items().Text(index));
    else
        SetInt(value, index);
    const LRESULT data = Items().Data(index);
    if (data != -1) value.Next = std::make_shared<TData>(MakeInt(int32_t(data)));
    CallEvent(onClick, value);
}

void TZelComboBox::AttachIconsManager(TIconsManager* manager) {
    if (!manager) return;
    IconsManager = manager;
    if (manager->Register) manager->Register(Control.get());
}

void TZelComboBox::AttachBoxDrawManager(TBoxDrawManager* manager) {
    if (manager) BoxDrawManager = manager;
}

void TZelComboBox::AttachItemIndexManager(TItemIndexManager* manager) {
    if (manager) ItemIndexManager = manager;
}

void TZelComboBox::DrawItem(const DRAWITEMSTRUCT& item) {
    if (!BoxDrawManager || !BoxDrawManager->DrawItem) return;
    BoxDrawManager->DrawItem(Control.get(), item.hDC, int(item.itemID), item.itemState, item.rcItem);
    if (!IconsManager || !ItemIndexManager || !ItemIndexManager->HasIconList || !ItemIndexManager->HasIconList())
        return;
    const int icon = IconsManager->IconIndex ? IconsManager->IconIndex(int(item.itemID)) : -1;
    if (icon < 0 || !IconsManager->DrawIcon) return;
    const int size = IconsManager->IconSize;
    const int x = item.rcItem.left + BoxDrawManager->LeftMargin + ((item.itemState & 0x1000) ? 1 : 0);
    const int y = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - size) / 2;
    IconsManager->DrawIcon(item.hDC, icon, x, y);
}
