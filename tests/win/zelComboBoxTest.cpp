#include "ui/zelComboBox.h"

#include "guiTestSupport.h"
#include "base/cp1251.h"

class ComboBoxTest : public GuiTest {};

namespace {
std::unique_ptr<TZelComboBox> MakePortBox(fw::TControl* parent) {
    // The main window's port list.
    auto box = std::make_unique<TZelComboBox>(parent);
    box->Left = 10;
    box->Top = 10;
    box->Width = 85;
    box->Height = 24;
    box->Color = 0xFF000005;
    box->Font = MakeFont("MS Sans Serif", 8, 0, 0, 1);
    box->Ctl3D = 1;
    box->Editable = 1;
    box->SendText = 1;
    box->ItemHeight = 20;
    box->Init();
    return box;
}

std::vector<std::string> Items(HWND w) {
    std::vector<std::string> items;
    const int n = int(SendMessageA(w, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        char buffer[256] = {};
        SendMessageA(w, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer));
        items.push_back(buffer);
    }
    return items;
}

// Through the dispatcher, as a link delivers it, so that onChange follows.
void Add(TZelComboBox& box, TData d) { CallEvent(MakeLink<&TZelWinList::doAdd>(0, &box), d); }

// Moves the selection one item down as the keyboard does: the combo box
// itself notifies CBN_SELCHANGE.
void PickNext(TZelComboBox& box) {
    HWND w = box.Control->Handle();
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    GetComboBoxInfo(w, &info);
    HWND target = info.hwndItem ? info.hwndItem : w;
    SetFocus(target);
    SendMessageA(target, WM_KEYDOWN, VK_DOWN, 0);
}
}  // namespace

TEST_F(ComboBoxTest, StyleOfTheMainWindowsPortList) {
    THostForm host;
    auto box = MakePortBox(host.Parent());
    const DWORD style = StyleOf(box->Control->Handle());
    EXPECT_EQ(style & 0xFFFF, DWORD(0x0242)) << std::hex << style;
    // WS_VSCROLL was asked for too; the combo box hands it to its list.
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_TABSTOP), DWORD(WS_CHILD | WS_VISIBLE | WS_TABSTOP));
}

TEST_F(ComboBoxTest, DoAddAppendsInOrderSelectsNothingAndFiresOnChange) {
    DispatchOn on;
    THostForm host;
    auto box = MakePortBox(host.Parent());
    TRecorder changes;
    box->onChange = changes.Link();
    Add(*box, MakeStr("COM1"));
    Add(*box, MakeStr("COM3"));
    Add(*box, MakeStr("COM2"));
    HWND w = box->Control->Handle();
    EXPECT_EQ(Items(w), (std::vector<std::string>{"COM1", "COM3", "COM2"}));
    EXPECT_EQ(SendMessageA(w, CB_GETCURSEL, 0, 0), CB_ERR);
    ASSERT_EQ(changes.Count(), 3u);
    EXPECT_EQ(changes.Value(0).Tag(), TypeNull);
    EXPECT_EQ(SendMessageA(w, CB_GETITEMDATA, 0, 0), 0) << "no ItemData: item data 0";
}

TEST_F(ComboBoxTest, DoAddTakesItemDataFromAChainAndHonoursAddToTopAndSelectAdded) {
    DispatchOn on;
    THostForm host;
    auto box = MakePortBox(host.Parent());
    Add(*box, MakeChain({MakeStr("COM4"), MakeInt(77)}));
    box->AddToTop = 1;
    box->SelectAdded = 1;
    Add(*box, MakeStr("COM9"));
    HWND w = box->Control->Handle();
    EXPECT_EQ(Items(w), (std::vector<std::string>{"COM9", "COM4"}));
    EXPECT_EQ(SendMessageA(w, CB_GETITEMDATA, 1, 0), 77);
    EXPECT_EQ(SendMessageA(w, CB_GETCURSEL, 0, 0), 0);
}

TEST_F(ComboBoxTest, PickWithSendTextSendsTheTextChainedWithItsData) {
    DispatchOn on;
    THostForm host;
    auto box = MakePortBox(host.Parent());
    TRecorder picks;
    box->onClick = picks.Link();
    Add(*box, MakeStr("COM1"));
    Add(*box, MakeStr("COM3"));
    PickNext(*box);
    EXPECT_EQ(picks.Count(), 0u) << "onClick waits for the re-posted notification";
    ASSERT_TRUE(PumpUntil([&] { return picks.Count() > 0; }));
    const TData& v = picks.Value(0);
    EXPECT_EQ(v.Tag(), TypeStr);
    EXPECT_EQ(v.StrValue, "COM1");
    ASSERT_NE(v.Next, nullptr);
    EXPECT_EQ(v.Next->Tag(), TypeInt);
    EXPECT_EQ(v.Next->IntValue, 0);
    EXPECT_EQ(v.Next->Next, nullptr);
}

TEST_F(ComboBoxTest, PickWithoutSendTextSendsTheIndex) {
    DispatchOn on;
    THostForm host;
    auto box = MakePortBox(host.Parent());
    box->SendText = 0;
    TRecorder picks;
    box->onClick = picks.Link();
    Add(*box, MakeStr("COM1"));
    Add(*box, MakeChain({MakeStr("COM3"), MakeInt(5)}));
    PickNext(*box);
    ASSERT_TRUE(PumpUntil([&] { return picks.Count() > 0; }));
    PickNext(*box);
    ASSERT_TRUE(PumpUntil([&] { return picks.Count() > 1; }));
    EXPECT_EQ(picks.Value(0).Tag(), TypeInt);
    EXPECT_EQ(picks.Value(0).IntValue, 0);
    ASSERT_NE(picks.Value(0).Next, nullptr);
    EXPECT_EQ(picks.Value(0).Next->IntValue, 0);
    EXPECT_EQ(picks.Value(1).IntValue, 1);
    ASSERT_NE(picks.Value(1).Next, nullptr);
    EXPECT_EQ(picks.Value(1).Next->IntValue, 5);
}

TEST_F(ComboBoxTest, SelectingByProgramFiresNothing) {
    DispatchOn on;
    THostForm host;
    auto box = MakePortBox(host.Parent());
    TRecorder picks;
    box->onClick = picks.Link();
    Add(*box, MakeStr("COM1"));
    box->SelectIndex(0);
    Pump(50);
    EXPECT_EQ(picks.Count(), 0u);
    EXPECT_EQ(SendMessageA(box->Control->Handle(), CB_GETCURSEL, 0, 0), 0);
}

TEST_F(ComboBoxTest, SetStringsLineRules) {
    THostForm host;
    auto box = MakePortBox(host.Parent());
    HWND w = box->Control->Handle();
    box->SetStrings("a\r\nb\r\n");
    EXPECT_EQ(Items(w), (std::vector<std::string>{"a", "b"}));
    box->SetStrings("a\nb");
    EXPECT_EQ(Items(w), (std::vector<std::string>{"a\nb"}));
    box->SetStrings("");
    EXPECT_TRUE(Items(w).empty());
}

TEST_F(ComboBoxTest, InitialStringsAndText) {
    THostForm host;
    TZelComboBox box(host.Parent());
    box.Editable = 1;
    box.Strings = "COM1\r\nCOM2";
    box.Text = "Порт"_w;
    box.Init();
    EXPECT_EQ(Items(box.Control->Handle()), (std::vector<std::string>{"COM1", "COM2"}));
    EXPECT_EQ(WindowText(box.Control->Handle()), std::string("Порт"_w));
}

TEST_F(ComboBoxTest, ListTextJoinsItems) {
    THostForm host;
    auto box = MakePortBox(host.Parent());
    TData d;
    box->ListText(d, 0);
    EXPECT_EQ(d.Tag(), TypeStr);
    EXPECT_EQ(d.StrValue, "");
    box->SetStrings("a\r\nb");
    box->ListText(d, 0);
    EXPECT_EQ(d.StrValue, "a\r\nb");
    box->SetStrings("a\r\n\r\n");  // a and an empty item
    ASSERT_EQ(Items(box->Control->Handle()).size(), 2u);
    box->ListText(d, 0);
    EXPECT_EQ(d.StrValue, "a\r\n\r\n");
}

TEST_F(ComboBoxTest, SelectIndexOutOfRangeClearsTheSelection) {
    THostForm host;
    auto box = MakePortBox(host.Parent());
    box->SetStrings("a\r\nb\r\nc");
    box->SelectIndex(1);
    EXPECT_EQ(SendMessageA(box->Control->Handle(), CB_GETCURSEL, 0, 0), 1);
    box->SelectIndex(5);
    EXPECT_EQ(SendMessageA(box->Control->Handle(), CB_GETCURSEL, 0, 0), CB_ERR);
    box->SelectIndex(2);
    box->SelectIndex(-3);
    EXPECT_EQ(SendMessageA(box->Control->Handle(), CB_GETCURSEL, 0, 0), CB_ERR);
}

TEST_F(ComboBoxTest, ReplaceItemAndClear) {
    DispatchOn on;
    THostForm host;
    auto box = MakePortBox(host.Parent());
    TRecorder changes;
    box->onChange = changes.Link();
    box->SetStrings("a\r\nb");
    box->ReplaceItem(MakeStr("1"), MakeInt(42));
    box->ReplaceItem(MakeStr("x"), MakeStr("never"));
    box->ReplaceItem(MakeInt(2), MakeStr("never"));
    EXPECT_EQ(Items(box->Control->Handle()), (std::vector<std::string>{"a", "42"}));
    CallEventNull(MakeLink<&TZelWinList::doClear>(0, box.get()));
    EXPECT_TRUE(Items(box->Control->Handle()).empty());
    EXPECT_EQ(changes.Count(), 1u);
}

TEST_F(ComboBoxTest, DroppedListHeightFollowsTheItemCount) {
    DispatchOn on;
    THostForm host(420, 420);
    auto box = MakePortBox(host.Parent());
    HWND w = box->Control->Handle();
    RECT closed;
    GetWindowRect(w, &closed);
    const int h = closed.bottom - closed.top;
    auto droppedHeight = [&] {
        SendMessageA(w, CB_SHOWDROPDOWN, TRUE, 0);
        Pump(30);
        RECT dropped{};
        SendMessageA(w, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        SendMessageA(w, CB_SHOWDROPDOWN, FALSE, 0);
        Pump(30);
        return int(dropped.bottom - dropped.top);
    };
    // The combo box is sized to h (n + 1) + 2; the list below its field
    // gets h n + 2 of that.
    EXPECT_EQ(droppedHeight(), h * 1 + 2) << "an empty list is one item high";
    for (int i = 0; i < 3; ++i) Add(*box, MakeStr("COM" + std::to_string(i + 1)));
    EXPECT_EQ(droppedHeight(), h * 3 + 2);
    for (int i = 3; i < 12; ++i) Add(*box, MakeStr("COM" + std::to_string(i + 1)));
    EXPECT_EQ(droppedHeight(), h * 8 + 2) << "at most 8 items";
    EXPECT_TRUE(IsWindowVisible(w)) << "the combo box is shown again after sizing";
}
