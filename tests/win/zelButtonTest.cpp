#include "ui/zelButton.h"

#include "framework/application.h"
#include "guiTestSupport.h"
#include "base/cp1251.h"

class ButtonTest : public GuiTest {};

namespace {
// Changes what it receives, to show that the sender's Data is a copy.
struct TSpoiler {
    std::vector<TData> got;
    void doSpoil(TData& d, uint16_t) {
        got.push_back(d);
        SetStr(d, "spoiled");
    }
};
}  // namespace

TEST_F(ButtonTest, ClickSendsACopyOfData) {
    DispatchOn on;
    THostForm host;
    TZelButton button(host.Parent());
    button.Caption = "Записать"_w;
    SetInt(button.Data, 0);
    TSpoiler receiver;
    button.onClick = MakeLink<&TSpoiler::doSpoil>(0, &receiver);
    button.Init();
    HWND w = button.Control->Handle();
    EXPECT_EQ(WindowText(w), std::string("Записать"_w));
    SendMessageA(w, BM_CLICK, 0, 0);
    SendMessageA(w, BM_CLICK, 0, 0);
    ASSERT_EQ(receiver.got.size(), 2u);
    EXPECT_EQ(receiver.got[0].Tag(), TypeInt);
    EXPECT_EQ(receiver.got[0].IntValue, 0);
    EXPECT_EQ(receiver.got[1].Tag(), TypeInt) << "the receiver's change did not reach Data";
    EXPECT_EQ(button.Data.Tag(), TypeInt);
}

TEST_F(ButtonTest, ButtonWithoutDataSendsNull) {
    DispatchOn on;
    THostForm host;
    TZelButton button(host.Parent());
    button.Caption = "OK";
    TRecorder clicks;
    button.onClick = clicks.Link();
    button.Init();
    SendMessageA(button.Control->Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(clicks.Count(), 1u);
    EXPECT_EQ(clicks.Value(0).Tag(), TypeNull);
}

TEST_F(ButtonTest, StyleAndEnterButtonRegistration) {
    THostForm host;
    TZelButton plain(host.Parent());
    plain.Init();
    const DWORD style = StyleOf(plain.Control->Handle());
    EXPECT_TRUE(style & BS_PUSHLIKE);
    EXPECT_TRUE(style & BS_MULTILINE);
    EXPECT_TRUE(style & WS_TABSTOP);
    EXPECT_FALSE(style & BS_DEFPUSHBUTTON);
    EXPECT_EQ(fw::Application().EnterButton(), nullptr);

    TZelButton enter(host.Parent());
    enter.Default = 1;
    enter.Init();
    EXPECT_EQ(fw::Application().EnterButton(), enter.Control.get());
    EXPECT_TRUE(StyleOf(enter.Control->Handle()) & BS_DEFPUSHBUTTON);
    TZelButton later(host.Parent());
    later.Default = 0;  // a button without Default takes the Enter button away
    later.Init();
    EXPECT_EQ(fw::Application().EnterButton(), nullptr);
    EXPECT_FALSE(fw::Application().MessageHook) << "the hook from before the Enter button is back";
}
