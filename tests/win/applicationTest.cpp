#include "framework/application.h"

#include <thread>

#include "guiTestSupport.h"
#include "platform/messageBox.h"

using fw::Application;
using fw::TControl;

class ApplicationTest : public GuiTest {};

namespace {
// Ends a hanging loop after a generous time so that a fault fails the test
// instead of stopping the whole run.
struct TLoopGuard {
    DWORD thread = GetCurrentThreadId();
    std::atomic<bool> stop{false};
    std::atomic<bool> fired{false};
    std::thread watcher;
    TLoopGuard() {
        watcher = std::thread([this] {
            for (int i = 0; i < 1000 && !stop; ++i) Sleep(10);
            if (!stop) {
                fired = true;
                PostThreadMessageA(thread, WM_QUIT, 0, 0);
            }
        });
    }
    ~TLoopGuard() {
        stop = true;
        watcher.join();
    }
};
}  // namespace

TEST_F(ApplicationTest, FirstFormIsTheMainFormAndOwnsMessageBoxes) {
    THostForm host;
    EXPECT_EQ(Application().MainForm(), host.Parent());
    EXPECT_EQ(platform::MessageOwner(), host.Parent()->HandleIfAllocated());
    HWND owner = GetWindow(host.Parent()->Handle(), GW_OWNER);
    EXPECT_EQ(owner, Application().HandleIfAllocated());
    {
        auto second = Application().CreateForm();
        EXPECT_EQ(Application().MainForm(), host.Parent());
        EXPECT_EQ(WindowText(second->Handle()), "Form");
        EXPECT_FALSE(IsWindowVisible(second->Handle()));
    }
    host.form.reset();
    EXPECT_EQ(Application().MainForm(), nullptr);
    EXPECT_EQ(platform::MessageOwner(), nullptr);
}

TEST_F(ApplicationTest, LoopEndsWhenTheMainFormsWindowIsDestroyed) {
    THostForm host;
    int idles = 0;
    Application().IdleHook = [&] { ++idles; };
    PostMessageA(host.Parent()->Handle(), WM_CLOSE, 0, 0);
    {
        TLoopGuard guard;
        fw::RunMessageLoop();
        EXPECT_FALSE(guard.fired) << "the loop did not end by itself";
    }
    Application().IdleHook = nullptr;
    EXPECT_FALSE(host.Parent()->HandleAllocated());
    EXPECT_FALSE(Application().Running);
    EXPECT_EQ(Application().WindowIfExists(), nullptr) << "the loop releases the application window";
    EXPECT_GE(idles, 0);
}

TEST_F(ApplicationTest, LoopServesMessagesSentFromOtherThreads) {
    THostForm host;
    TControl edit(host.Parent(), fw::KindEdit, WS_CHILD | WS_VISIBLE);
    edit.Handle();
    std::thread worker([&] {
        edit.SetText("set while the loop runs");
        PostMessageA(host.Parent()->HandleIfAllocated(), WM_CLOSE, 0, 0);
    });
    {
        TLoopGuard guard;
        fw::RunMessageLoop();
        EXPECT_FALSE(guard.fired);
    }
    worker.join();
    EXPECT_EQ(edit.Text(), "set while the loop runs");
}

TEST_F(ApplicationTest, ProcessMessagesReportsTheQuitMessage) {
    PostQuitMessage(0);
    EXPECT_FALSE(fw::ProcessMessages());
    EXPECT_TRUE(Application().Terminated);
    Application().Terminated = false;
    EXPECT_TRUE(fw::ProcessMessages());
}

TEST_F(ApplicationTest, EnterButtonHookClicksAndIsPutBack) {
    THostForm host;
    TControl edit(host.Parent(), fw::KindEdit, WS_CHILD | WS_VISIBLE);
    TControl button(host.Parent(), fw::KindButton, WS_CHILD | WS_VISIBLE);
    int clicks = 0, earlierHook = 0;
    button.OnClick = [&] { ++clicks; };
    edit.Handle();
    button.Handle();
    Application().MessageHook = [&](MSG&) {
        ++earlierHook;
        return false;
    };
    Application().RegisterEnterButton(&button);
    MSG msg{edit.Handle(), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_TRUE(Application().OfferMessage(msg));
    EXPECT_EQ(clicks, 1);
    MSG other{edit.Handle(), WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    EXPECT_FALSE(Application().OfferMessage(other));
    EXPECT_EQ(earlierHook, 1) << "other messages still reach the earlier hook";
    Application().ClearEnterButton();
    EXPECT_FALSE(Application().OfferMessage(msg));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(earlierHook, 2);
    Application().MessageHook = nullptr;
}

TEST_F(ApplicationTest, TabMovesTheFocusOnlyWhereNavigationIsOn) {
    THostForm host;
    TControl a(host.Parent(), fw::KindEdit, WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    TControl b(host.Parent(), fw::KindButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    a.Handle();
    b.Handle();
    SetForegroundWindow(host.Parent()->Handle());
    SetFocus(a.Handle());
    MSG tab{a.Handle(), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_FALSE(Application().OfferMessage(tab));
    host.form->EnableKeyboardNavigation();
    EXPECT_TRUE(Application().OfferMessage(tab));
    EXPECT_EQ(GetFocus(), b.Handle());
    MSG again{b.Handle(), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_TRUE(Application().OfferMessage(again));
    EXPECT_EQ(GetFocus(), a.Handle());
}

TEST_F(ApplicationTest, FocusMovesOnFromADisabledOrHiddenControlAndTabWorksWithoutFocus) {
    THostForm host;
    host.form->EnableKeyboardNavigation();
    TControl a(host.Parent(), fw::KindEdit, WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    TControl b(host.Parent(), fw::KindButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    TControl c(host.Parent(), fw::KindButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    a.Handle();
    b.Handle();
    c.Handle();
    SetForegroundWindow(host.Parent()->Handle());
    SetFocus(a.Handle());
    a.SetEnabled(false);
    EXPECT_EQ(GetFocus(), b.Handle());
    b.SetVisible(false);
    EXPECT_EQ(GetFocus(), c.Handle());
    // Nothing focused: Tab, which then comes as a system key, starts at the
    // first control that can take the focus.
    SetFocus(nullptr);
    MSG tab{host.Parent()->Handle(), WM_SYSKEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_TRUE(Application().OfferMessage(tab));
    EXPECT_EQ(GetFocus(), c.Handle());
}

TEST_F(ApplicationTest, TaskBarActivationRestoreAndMinimiseReachTheMainForm) {
    THostForm host;
    HWND form = host.Parent()->Handle();
    HWND app = Application().HandleIfAllocated();
    ASSERT_NE(app, nullptr);
    SetForegroundWindow(form);

    ShowWindow(form, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(form));
    SendMessageA(app, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsIconic(form) && GetActiveWindow() == form; }, 3000))
        << "restored from the task bar, the form stays iconic or inactive";

    SetActiveWindow(app);  // a task-bar click or Alt+Tab
    EXPECT_TRUE(PumpUntil([&] { return GetActiveWindow() == form; }, 3000)) << "the form stays inactive";

    SendMessageA(app, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(form));

    // A disabled form (a transfer runs) is not restored behind the program's back.
    EnableWindow(form, FALSE);
    SendMessageA(app, WM_SYSCOMMAND, SC_RESTORE, 0);
    PumpUntil([] { return false; }, 200);
    EXPECT_TRUE(IsIconic(form));
    EnableWindow(form, TRUE);
}
