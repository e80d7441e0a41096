#include "framework/control.h"

#include <thread>

#include "framework/application.h"
#include "framework/listItems.h"
#include "framework/screen.h"
#include "guiTestSupport.h"

using fw::TControl;

namespace {
constexpr DWORD ChildStyle = WS_CHILD | WS_VISIBLE;
}

class ControlTest : public GuiTest {};

TEST_F(ControlTest, WindowIsMadeOnFirstNeedWithTheStoredProperties) {
    THostForm host;
    TControl label(host.Parent(), fw::KindStatic, ChildStyle | SS_LEFT);
    label.SetText("first");
    label.SetBounds(10, 20, 0, 30);  // width 0 keeps the kind's width
    EXPECT_FALSE(label.HandleAllocated());
    EXPECT_EQ(label.Text(), "first");

    HWND w = label.Handle();
    ASSERT_TRUE(IsWindow(w));
    EXPECT_EQ(WindowText(w), "first");
    const RECT r = WindowRectIn(w, host.Parent()->Handle());
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, fw::KindStatic.DefaultWidth);
    EXPECT_EQ(r.bottom - r.top, 30);
    EXPECT_EQ(GetParent(w), host.Parent()->Handle());
    EXPECT_TRUE(StyleOf(w) & WS_CLIPSIBLINGS);
    EXPECT_EQ(TControl::FromHandle(w), &label);
}

TEST_F(ControlTest, PropertiesReachAnExistingWindowAtOnce) {
    THostForm host;
    TControl edit(host.Parent(), fw::KindEdit, ChildStyle | WS_BORDER);
    HWND w = edit.Handle();
    edit.SetText("changed");
    EXPECT_EQ(WindowText(w), "changed");
    edit.SetVisible(false);
    EXPECT_FALSE(VisibleBit(w));
    edit.SetVisible(true);
    EXPECT_TRUE(VisibleBit(w));
    edit.SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(w));
    edit.SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(w));
    edit.SetStyle(edit.Style() | ES_READONLY);
    EXPECT_TRUE(StyleOf(w) & ES_READONLY);
    EXPECT_TRUE(VisibleBit(w));  // a style change keeps the visibility
    edit.SetExStyle(WS_EX_CLIENTEDGE);
    EXPECT_TRUE(ExStyleOf(w) & WS_EX_CLIENTEDGE);
    edit.SetSize(150, 0);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, 150);
    EXPECT_EQ(r.bottom - r.top, fw::KindEdit.DefaultHeight);
}

TEST_F(ControlTest, FontIsAppliedWithItsHeightAndFace) {
    THostForm host;
    TControl label(host.Parent(), fw::KindStatic, ChildStyle);
    fw::TFontSpec font;
    font.Name = "Tahoma";
    font.Height = fw::FontHeight(8, fw::ScreenLogPixelsY());
    font.Style = fw::FontBold;
    label.SetFont(font);
    HFONT handle = reinterpret_cast<HFONT>(SendMessageA(label.Handle(), WM_GETFONT, 0, 0));
    ASSERT_NE(handle, nullptr);
    LOGFONTA lf{};
    ASSERT_GT(GetObjectA(handle, sizeof(lf), &lf), 0);
    EXPECT_EQ(lf.lfHeight, -11);  // 8 points at 96 dpi
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_STREQ(lf.lfFaceName, "Tahoma");
}

TEST_F(ControlTest, NotificationsAreMatchedAgainstTheKindTable) {
    THostForm host;
    TControl button(host.Parent(), fw::KindButton, ChildStyle | BS_PUSHBUTTON);
    TControl edit(host.Parent(), fw::KindEdit, ChildStyle);
    int clicks = 0, changes = 0;
    button.OnClick = [&] { ++clicks; };
    edit.OnChange = [&] { ++changes; };
    edit.OnClick = [&] { ADD_FAILURE() << "an edit has no click code"; };
    SendMessageA(button.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    edit.SetText("before the window");  // only stored: no window, no change
    EXPECT_EQ(changes, 0);
    edit.Handle();
    edit.SetText("x");
    EXPECT_EQ(changes, 1);
}

TEST_F(ControlTest, ComboSelectionChangeRunsWhenThePostedNotificationArrives) {
    THostForm host;
    TControl combo(host.Parent(), fw::KindComboBox, ChildStyle | CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL);
    combo.SetBounds(10, 10, 120, 150);
    fw::TListItems(combo).Add("one");
    fw::TListItems(combo).Add("two");
    int picks = 0;
    int indexSeen = -2;
    combo.OnSelChange = [&] {
        ++picks;
        indexSeen = fw::TListItems(combo).Current();
    };
    SetFocus(combo.Handle());
    // The combo box's own keyboard handling makes the selection change.
    SendMessageA(combo.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(picks, 0) << "the selection handler runs only from the message loop";
    EXPECT_TRUE(PumpUntil([&] { return picks > 0; }));
    EXPECT_EQ(picks, 1);
    EXPECT_EQ(indexSeen, 0);
}

TEST_F(ControlTest, KeyHandlersCanConsumeOrReplaceKeys) {
    THostForm host;
    TControl edit(host.Parent(), fw::KindEdit, ChildStyle);
    HWND w = edit.Handle();
    edit.OnChar = [](uint16_t& key, uint32_t) {
        if (key == 'a')
            key = 0;  // consumed
        else if (key == 'b')
            key = 'c';  // replaced
    };
    SendMessageA(w, WM_CHAR, 'a', 1);
    SendMessageA(w, WM_CHAR, 'b', 1);
    SendMessageA(w, WM_CHAR, 'd', 1);
    EXPECT_EQ(WindowText(w), "cd");
}

TEST_F(ControlTest, MouseDataCarriesButtonKeyStateAndSignedPosition) {
    THostForm host;
    TControl label(host.Parent(), fw::KindStatic, ChildStyle | SS_NOTIFY);
    std::vector<fw::TMouseData> downs, moves;
    label.OnMouseDown = [&](const fw::TMouseData& m) { downs.push_back(m); };
    label.OnMouseMove = [&](const fw::TMouseData& m) { moves.push_back(m); };
    HWND w = label.Handle();
    SendMessageA(w, WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, MAKELPARAM(5, 7));
    SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(uint16_t(-3), 4));
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].Button, fw::MouseRight);
    EXPECT_EQ(downs[0].KeyState, uint32_t(MK_RBUTTON | MK_SHIFT));
    EXPECT_EQ(downs[0].X, 5);
    EXPECT_EQ(downs[0].Y, 7);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].Button, fw::MouseNone);
    EXPECT_EQ(moves[0].X, -3);
}

TEST_F(ControlTest, TopAlignedChildrenStackInCreationOrderAndSkipHiddenOnes) {
    THostForm host(400, 300);
    TControl first(host.Parent(), fw::KindStatic, ChildStyle);
    TControl second(host.Parent(), fw::KindStatic, ChildStyle);
    first.SetSize(50, 24);
    second.SetSize(50, 30);
    HWND parent = host.Parent()->Handle();
    first.Handle();
    second.Handle();
    second.SetAlign(2);
    first.SetAlign(2);
    RECT client;
    GetClientRect(parent, &client);
    RECT a = WindowRectIn(first.Handle(), parent);
    RECT b = WindowRectIn(second.Handle(), parent);
    EXPECT_EQ(a.top, 0);
    EXPECT_EQ(a.bottom, 24);
    EXPECT_EQ(a.right - a.left, client.right);
    EXPECT_EQ(b.top, 24);
    first.SetVisible(false);
    b = WindowRectIn(second.Handle(), parent);
    EXPECT_EQ(b.top, 0);
    first.SetVisible(true);
    b = WindowRectIn(second.Handle(), parent);
    EXPECT_EQ(b.top, 24);
}

TEST_F(ControlTest, TabOrderSkipsNonStopsAndFollowsExplicitPlaces) {
    THostForm host;
    TControl a(host.Parent(), fw::KindButton, ChildStyle | WS_TABSTOP);
    TControl b(host.Parent(), fw::KindButton, ChildStyle | WS_TABSTOP);
    TControl c(host.Parent(), fw::KindButton, ChildStyle | WS_TABSTOP);
    TControl label(host.Parent(), fw::KindStatic, ChildStyle);
    for (TControl* x : {&a, &b, &c, &label}) x->Handle();
    EXPECT_EQ(a.TabOrderNumber() + 1, b.TabOrderNumber());
    fw::TControl* form = host.Parent();
    EXPECT_EQ(form->NextTabStop(nullptr, true), &a);
    EXPECT_EQ(form->NextTabStop(&a, true), &b);
    EXPECT_EQ(form->NextTabStop(&c, true), &a);  // wraps, the label is no stop
    EXPECT_EQ(form->NextTabStop(&a, false), &c);
    c.SetTabOrder(1);  // c moves to the front
    EXPECT_EQ(form->NextTabStop(nullptr, true), &c);
    EXPECT_EQ(form->NextTabStop(&c, true), &a);
    b.SetTabOrder(-1);
    EXPECT_EQ(form->NextTabStop(&a, true), &c);
    EXPECT_FALSE(StyleOf(b.Handle()) & WS_TABSTOP);
}

TEST_F(ControlTest, DestroyingTheParentWindowNotifiesTheChild) {
    auto host = std::make_unique<THostForm>();
    TControl child(host->Parent(), fw::KindStatic, ChildStyle);
    bool told = false;
    child.OnDestroy = [&] { told = true; };
    child.Handle();
    DestroyWindow(host->Parent()->Handle());
    EXPECT_TRUE(told);
    EXPECT_FALSE(child.HandleAllocated());
    host.reset();  // the child object outlives its parent safely
    EXPECT_EQ(child.Parent(), nullptr);
}

TEST_F(ControlTest, OperationsFromAnotherThreadRunOnTheOwningThread) {
    THostForm host;
    TControl edit(host.Parent(), fw::KindEdit, ChildStyle);
    HWND w = edit.Handle();
    const DWORD uiThread = GetCurrentThreadId();
    DWORD ranOn = 0;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        edit.RunOnOwner([&] { ranOn = GetCurrentThreadId(); });
        edit.SetText("from the worker");
        done = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(ranOn, uiThread);
    EXPECT_EQ(WindowText(w), "from the worker");
    EXPECT_EQ(edit.Text(), "from the worker");
}
