#include "ui/zelSimpleForm.h"

#include "framework/application.h"
#include "guiTestSupport.h"
#include "platform/messageBox.h"
#include "base/cp1251.h"
#include "ui/zelButton.h"

class SimpleFormTest : public GuiTest {};

namespace {
// Records, at each event, whether the form window was visible then.
struct TVisibilityProbe {
    HWND window = nullptr;
    std::vector<bool> seen;
    void doRecord(TData&, uint16_t) { seen.push_back(IsWindowVisible(window) != FALSE); }
};

std::unique_ptr<TZelSimpleForm> MakeMainForm() {
    auto form = std::make_unique<TZelSimpleForm>(nullptr);
    form->Left = 200;
    form->Top = 200;
    form->Width = 616;
    form->Height = 162;
    form->Color = 0xFF00000F;
    form->Ctl3D = 1;
    form->Visible = 1;
    form->SetCaption("Quarnelvisk bootloader");
    form->SetBorderStyle(1);
    form->SetAppToolWindow(0);
    form->DragByClient = 1;
    return form;
}
}  // namespace

TEST_F(SimpleFormTest, FormStaysHiddenUntilTheStartRoutineAndOnCreateComesFirst) {
    auto form = MakeMainForm();
    HWND w = form->Control->Handle();
    TVisibilityProbe created;
    created.window = w;
    form->onCreate = MakeLink<&TVisibilityProbe::doRecord>(0, &created);
    EXPECT_EQ(WindowText(w), "Quarnelvisk bootloader");
    form->Init();
    EXPECT_FALSE(IsWindowVisible(w)) << "Init never shows the form";
    EXPECT_EQ(form->Visible, 1);
    Pump(20);
    EXPECT_FALSE(IsWindowVisible(w));
    form->Run();
    ASSERT_EQ(created.seen.size(), 1u);
    EXPECT_FALSE(created.seen[0]) << "onCreate is delivered before the form shows";
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_TRUE(DispatchEnabled());
    EXPECT_EQ(form->ShownOnce, 1);
    EXPECT_TRUE(StartupDone);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(r.right - r.left, 616);
    EXPECT_EQ(r.bottom - r.top, 162);
}

TEST_F(SimpleFormTest, ApplicationWindowMirrorsCaptionAndPosition) {
    auto form = MakeMainForm();
    form->Init();
    form->Run();
    HWND app = fw::Application().HandleIfAllocated();
    ASSERT_TRUE(app);
    EXPECT_EQ(WindowText(app), "Quarnelvisk bootloader");
    SetWindowPos(form->Control->Handle(), nullptr, 150, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT a, f;
    GetWindowRect(app, &a);
    GetWindowRect(form->Control->Handle(), &f);
    EXPECT_EQ(a.left, f.left);
    EXPECT_EQ(a.top, f.top);
    EXPECT_EQ(a.right - a.left, f.right - f.left);
}

TEST_F(SimpleFormTest, DoCloseClosesEvenWhenKeepOpenSaysNo) {
    auto form = MakeMainForm();
    TSource keep;
    keep.value = MakeInt(1);
    form->KeepOpen = keep.Link();
    TRecorder closed;
    form->onClose = closed.Link();
    form->Init();
    form->Run();
    HWND w = form->Control->Handle();
    TData d;
    form->doClose(d, 0);
    EXPECT_EQ(keep.reads, 0) << "doClose does not ask KeepOpen";
    EXPECT_EQ(closed.Count(), 1u);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_FALSE(DispatchEnabled()) << "closing switches dispatch off";
    EXPECT_TRUE(form->Destroyed);
    EXPECT_EQ(platform::MessageOwner(), nullptr);
}

TEST_F(SimpleFormTest, UserCloseIsRefusedWhileKeepOpenReadsNonZero) {
    auto form = MakeMainForm();
    TSource keep;
    keep.value = MakeInt(1);
    form->KeepOpen = keep.Link();
    TRecorder closed;
    form->onClose = closed.Link();
    form->Init();
    form->Run();
    HWND w = form->Control->Handle();
    SendMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);  // the caption's close button
    EXPECT_EQ(keep.reads, 1);
    EXPECT_TRUE(IsWindow(w));
    EXPECT_EQ(closed.Count(), 0u);
    EXPECT_TRUE(DispatchEnabled());
    keep.value = MakeInt(0);
    SendMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(closed.Count(), 1u);
    // After onClose nothing is delivered any more.
    CallEventNull(form->onClose);
    EXPECT_EQ(closed.Count(), 1u);
}

TEST_F(SimpleFormTest, RunLoopEndsWhenTheFormIsClosed) {
    auto form = MakeMainForm();
    TZelButton ok(form->Control.get());
    ok.Caption = "OK";
    ok.onClick = MakeLink<&TZelSimpleForm::doClose>(0, form.get());
    ok.Init();
    form->Init();
    form->Run();
    PostMessageA(ok.Control->Handle(), BM_CLICK, 0, 0);
    fw::RunMessageLoop();
    EXPECT_FALSE(form->Control->HandleAllocated());
    EXPECT_TRUE(ok.Destroyed) << "the button's window went with the form";
    EXPECT_FALSE(DispatchEnabled());
}

TEST_F(SimpleFormTest, BorderStyles) {
    auto form = MakeMainForm();  // border style 1
    HWND w = form->Control->Handle();
    EXPECT_EQ(StyleOf(w) & 0x00C70000, DWORD(0x00C20000));
    EXPECT_FALSE(StyleOf(w) & WS_THICKFRAME) << "not sizeable";
    EXPECT_TRUE(StyleOf(w) & WS_MINIMIZEBOX);
    EXPECT_TRUE(StyleOf(w) & WS_SYSMENU);
    const DWORD style = StyleOf(w), exStyle = ExStyleOf(w);
    form->SetBorderStyle(10);
    EXPECT_EQ(StyleOf(w), style);
    EXPECT_EQ(ExStyleOf(w), exStyle);
    form->SetBorderStyle(4);
    EXPECT_EQ(StyleOf(w) & 0x00C70000, DWORD(WS_CAPTION));
    EXPECT_TRUE(ExStyleOf(w) & WS_EX_TOOLWINDOW);
    form->SetBorderStyle(1);
    EXPECT_FALSE(ExStyleOf(w) & WS_EX_TOOLWINDOW);
}

TEST_F(SimpleFormTest, DoEnabledDisablesTheWholeForm) {
    auto form = MakeMainForm();
    form->Init();
    TData zero = MakeInt(0), null;
    form->doEnabled(zero, 1);
    EXPECT_FALSE(IsWindowEnabled(form->Control->Handle()));
    form->doEnabled(null, 1);
    EXPECT_TRUE(IsWindowEnabled(form->Control->Handle()));
}

TEST_F(SimpleFormTest, IconGoesToFormAndApplicationWindow) {
    auto form = MakeMainForm();
    HICON icon = LoadIcon(nullptr, IDI_APPLICATION);
    form->SetIcon(icon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(form->Control->Handle(), WM_GETICON, ICON_BIG, 0)), icon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(fw::Application().Window()->Handle(), WM_GETICON, ICON_BIG, 0)),
              icon);
}
