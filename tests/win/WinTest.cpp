#include "ui/Win.h"

#include <thread>

#include "framework/screen.h"
#include "guiTestSupport.h"
#include "base/cp1251.h"
#include "ui/zelButton.h"
#include "ui/zelComboBox.h"
#include "ui/zelEdit.h"
#include "ui/zelLabel.h"
#include "ui/zelProgressBar.h"

class WinTest : public GuiTest {};

namespace {
TData Null() { return TData{}; }
TData Str(const char* s) { return MakeStr(s); }

std::unique_ptr<TZelButton> MakeButton(fw::TControl* parent) {
    auto b = std::make_unique<TZelButton>(parent);
    b->Left = 10;
    b->Top = 10;
    b->Width = 80;
    b->Height = 26;
    b->Caption = "b";
    b->Init();
    return b;
}
}  // namespace

TEST_F(WinTest, DoVisibleHidesOnlyForTheIntegerZero) {
    THostForm host;
    auto button = MakeButton(host.Parent());
    HWND w = button->Control->Handle();
    ASSERT_TRUE(IsWindowVisible(w));
    TData zero = MakeInt(0);
    button->doVisible(zero, 1);
    EXPECT_FALSE(IsWindowVisible(w));
    TData null = Null();
    button->doVisible(null, 1);
    EXPECT_TRUE(IsWindowVisible(w)) << "a null value shows";
    button->doVisible(zero, 1);
    TData text0 = Str("0");
    button->doVisible(text0, 1);
    EXPECT_TRUE(IsWindowVisible(w)) << "the string 0 shows";
    EXPECT_EQ(button->Visible, 1) << "the property is left alone";
}

TEST_F(WinTest, DoEnabledDisablesOnlyForTheIntegerZero) {
    THostForm host;
    auto button = MakeButton(host.Parent());
    HWND w = button->Control->Handle();
    TData zero = MakeInt(0), null = Null(), text0 = Str("0"), seven = MakeInt(7);
    button->doEnabled(zero, 0);
    EXPECT_FALSE(IsWindowEnabled(w));
    button->doEnabled(null, 0);
    EXPECT_TRUE(IsWindowEnabled(w));
    button->doEnabled(zero, 0);
    button->doEnabled(text0, 0);
    EXPECT_TRUE(IsWindowEnabled(w));
    button->doEnabled(zero, 0);
    button->doEnabled(seven, 0);
    EXPECT_TRUE(IsWindowEnabled(w));
    EXPECT_EQ(button->Enabled, 1);
}

TEST_F(WinTest, InitAppliesGeometryBordersAndFont) {
    THostForm host;
    TZelLabel flat(host.Parent());
    flat.Left = 12;
    flat.Top = 34;
    flat.Width = 100;
    flat.Height = 0;  // keeps the height the control was made with
    flat.Ctl3D = 1;
    flat.Font = MakeFont("MS Sans Serif", 8, 0, 0, 1);
    flat.Init();
    HWND w = flat.Control->Handle();
    RECT r = WindowRectIn(w, host.Parent()->Handle());
    EXPECT_EQ(r.left, 12);
    EXPECT_EQ(r.top, 34);
    EXPECT_EQ(r.right - r.left, 100);
    EXPECT_EQ(r.bottom - r.top, fw::KindStatic.DefaultHeight);
    EXPECT_TRUE(StyleOf(w) & WS_BORDER);
    EXPECT_FALSE(ExStyleOf(w) & WS_EX_CLIENTEDGE);
    LOGFONTA lf{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(w, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    EXPECT_EQ(fw::ScreenLogPixelsY(), 96);
    EXPECT_EQ(lf.lfHeight, -11) << "8 points at 96 dpi";
    EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);

    TZelEdit sunken(host.Parent());
    sunken.Ctl3D = 0;
    sunken.Frame = 2;
    sunken.Font = MakeFont(std::string(40, 'F'), 10, 3, 0, 1);
    sunken.Init();
    HWND e = sunken.Control->Handle();
    EXPECT_FALSE(StyleOf(e) & WS_BORDER);
    EXPECT_EQ(ExStyleOf(e), DWORD(WS_EX_STATICEDGE)) << "Frame 2 replaces the whole extended style";
    EXPECT_EQ(sunken.Control->Font().Name.size(), 31u);
    EXPECT_EQ(sunken.Control->Font().Height, -13);
    EXPECT_EQ(sunken.Control->Font().Style, 3);
}

TEST_F(WinTest, InitLeavesTheControlHiddenWhenVisibleIsZeroAndAddsFlat) {
    THostForm host;
    TZelButton button(host.Parent());
    button.Visible = 0;
    button.Enabled = 0;
    button.Flat = 1;
    button.Init();
    HWND w = button.Control->Handle();
    EXPECT_FALSE(VisibleBit(w));
    EXPECT_FALSE(IsWindowEnabled(w));
    EXPECT_TRUE(StyleOf(w) & 0x8000);
}

TEST_F(WinTest, MouseRulesReportButtonCodesAndWheelTurns) {
    DispatchOn on;
    THostForm host;
    auto button = MakeButton(host.Parent());
    TRecorder down("down"), move("move"), wheel("wheel"), enter("enter");
    button->onMouseDown = down.Link();
    button->onMouseMove = move.Link();
    button->onMouseWheel = wheel.Link();
    button->onMouseEnter = enter.Link();
    HWND w = button->Control->Handle();
    SendMessageA(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 4));
    ASSERT_EQ(down.Count(), 1u);
    EXPECT_EQ(down.Value(0).IntValue, 1);
    SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(5, 6));  // code from the previous state: right
    SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(7, 8));  // previous: no button
    ASSERT_EQ(move.Count(), 2u);
    EXPECT_EQ(move.Value(0).IntValue, 1);
    EXPECT_EQ(move.Value(1).IntValue, -1);
    SendMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    SendMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(0, uint16_t(-120)), 0);
    SendMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, uint16_t(-120)), 0);
    ASSERT_EQ(wheel.Count(), 3u);
    EXPECT_EQ(wheel.Value(0).IntValue, 120);
    EXPECT_EQ(wheel.Value(1).IntValue, -120);
    EXPECT_EQ(wheel.Value(2).IntValue, -119);
    EXPECT_EQ(enter.Count(), 6u) << "every mouse message counts as an enter";
    POINT origin{0, 0};  // the wheel's position is in screen coordinates
    ScreenToClient(w, &origin);
    EXPECT_EQ(int16_t(button->LastPosition & 0xFFFF), origin.x);
    EXPECT_EQ(int16_t(button->LastPosition >> 16), origin.y);
}

TEST_F(WinTest, SizeDeltasAdjustProposedSizesUnlessNoSize) {
    DispatchOn on;
    THostForm host;
    auto button = MakeButton(host.Parent());
    TSource heightDelta;
    heightDelta.value = MakeInt(5);
    button->HeightDelta = heightDelta.Link();
    HWND w = button->Control->Handle();
    SetWindowPos(w, nullptr, 0, 0, 80, 40, SWP_NOMOVE | SWP_NOZORDER);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.bottom - r.top, 26 + 5) << "the getter's answer replaces the change";
    EXPECT_EQ(heightDelta.reads, 1);
    SetWindowPos(w, nullptr, 3, 3, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(heightDelta.reads, 1) << "SWP_NOSIZE never asks";
    heightDelta.value = MakeStr("x");  // not an integer: the proposal stands
    SetWindowPos(w, nullptr, 0, 0, 80, 50, SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(w, &r);
    EXPECT_EQ(r.bottom - r.top, 50);
}

TEST_F(WinTest, ConsumedKeyDownSuppressesTheCharacterThatFollows) {
    DispatchOn on;
    THostForm host;
    TZelEdit edit(host.Parent());
    TRecorder keys("key"), chars("char");
    edit.onKeyDown = keys.Link();
    edit.onChar = chars.Link();
    edit.Init();
    HWND w = edit.Control->Handle();
    SendMessageA(w, WM_KEYDOWN, 'A', 1);
    SendMessageA(w, WM_CHAR, 'a', 1);
    EXPECT_EQ(keys.Count(), 1u);
    ASSERT_EQ(chars.Count(), 1u);
    EXPECT_EQ(chars.Value(0).StrValue, "a");
    EXPECT_EQ(WindowText(w), "a");
    // The form's own key handler runs first and may consume the key.
    host.Parent()->OnKeyDown = [](uint16_t& key, uint32_t) {
        if (key == 'B') key = 0;
    };
    SendMessageA(w, WM_KEYDOWN, 'B', 1);
    EXPECT_EQ(keys.Count(), 1u);
    edit.FormKeysFirst = 0;
    SendMessageA(w, WM_KEYDOWN, 'B', 1);
    EXPECT_EQ(keys.Count(), 2u);
}

TEST_F(WinTest, WorkPointsFromAnotherThreadReachTheControlsOnTheUiThread) {
    DispatchOn on;
    THostForm host;
    TZelEdit edit(host.Parent());
    edit.Text = "start";
    edit.Init();
    TZelComboBox combo(host.Parent());
    combo.Width = 100;
    combo.Init();
    TZelProgressBar bar(host.Parent());
    bar.Max = 100;
    bar.Top = 60;
    bar.Width = 200;
    bar.Init();
    auto button = MakeButton(host.Parent());

    struct TThreadProbe {
        std::atomic<DWORD> thread{0};
        void doRecord(TData&, uint16_t) { thread = GetCurrentThreadId(); }
    } changeProbe;
    edit.onChange = MakeLink<&TThreadProbe::doRecord>(0, &changeProbe);
    const DWORD ui = GetCurrentThreadId();
    std::atomic<bool> done{false};
    std::thread reader([&] {
        TData text = MakeStr(std::string("Устройство"_w));
        edit.doText(text, 0);
        TData port = MakeStr("COM7");
        combo.doAdd(port, 0);
        TData position = MakeInt(42);
        bar.doPosition(position, 0);
        TData zero = MakeInt(0);
        button->doVisible(zero, 1);
        button->doEnabled(zero, 0);
        done = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }, 10000));
    reader.join();
    EXPECT_EQ(WindowText(edit.Control->Handle()), std::string("Устройство"_w));
    EXPECT_EQ(changeProbe.thread.load(), ui) << "the change event comes from the UI thread";
    EXPECT_EQ(SendMessageA(combo.Control->Handle(), CB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageA(bar.Control->Handle(), PBM_GETPOS, 0, 0), 42);
    EXPECT_FALSE(IsWindowVisible(button->Control->Handle()));
    EXPECT_FALSE(IsWindowEnabled(button->Control->Handle()));
}

TEST_F(WinTest, HintManagerMakesToolsOnlyForNonEmptyHints) {
    InitWinUnit();
    THostForm host;
    auto quiet = MakeButton(host.Parent());
    quiet->AttachHintManager(nullptr);
    EXPECT_EQ(quiet->HintTool, nullptr);

    TZelButton hinted(host.Parent());
    hinted.Hint = "Подсказка"_w;
    hinted.Init();
    hinted.AttachHintManager(nullptr);
    ASSERT_NE(hinted.HintTool, nullptr);
    HWND tip = hinted.HintTool->Tooltip;
    ASSERT_TRUE(IsWindow(tip));
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    char text[80] = {};
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.hwnd = hinted.Control->Handle();
    ti.uId = reinterpret_cast<UINT_PTR>(hinted.Control->Handle());
    ti.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&ti));
    EXPECT_EQ(std::string(text), std::string("Подсказка"_w));
    EXPECT_TRUE(GetWindowLongA(tip, GWL_STYLE) & TTS_NOPREFIX);
    EXPECT_EQ(hinted.HintManager, SharedHintManager()->Interface());
}
