#include "ui/zelEdit.h"

#include <atomic>
#include <thread>

#include "guiTestSupport.h"
#include "base/cp1251.h"

class EditTest : public GuiTest {};

namespace {
DWORD Caret(HWND w) {
    DWORD start = 0, end = 0;
    SendMessageA(w, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return start;
}

void PressEnter(HWND w) {
    // Posted like a real key press, so that the loop translates it into the
    // character message that follows.
    PostMessageA(w, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    Pump(50);
}

// Calls doText on the edit while the Enter event is delivered.
struct TRewriter {
    TZelEdit* edit = nullptr;
    std::vector<std::string> got;
    void doEnter(TData& d, uint16_t) {
        got.push_back(d.StrValue);
        TData replacement = MakeStr("kept");
        edit->doText(replacement, 0);
    }
};
}  // namespace

TEST_F(EditTest, InitMakesTheEditWithItsStylesAndInitialText) {
    DispatchOn on;
    THostForm host;
    TZelEdit edit(host.Parent());
    TRecorder changes;
    edit.onChange = changes.Link();
    edit.Text = "Выберите порт с подключённым устройством."_w;
    edit.ReadOnly = 1;
    edit.Alignment = 2;
    edit.Init();
    HWND w = edit.Control->Handle();
    EXPECT_EQ(WindowText(w), std::string("Выберите порт с подключённым устройством."_w));
    EXPECT_TRUE(StyleOf(w) & ES_READONLY);
    EXPECT_TRUE(StyleOf(w) & ES_AUTOHSCROLL);
    EXPECT_EQ(StyleOf(w) & (ES_CENTER | ES_RIGHT), DWORD(ES_CENTER));
    EXPECT_EQ(changes.Count(), 0u) << "the initial text fires no onChange";
    TData t = MakeStr("next");
    edit.doText(t, 0);
    ASSERT_EQ(changes.Count(), 1u);
    EXPECT_EQ(changes.Value(0).StrValue, "next");
}

TEST_F(EditTest, DoTextTakesIntegersAndNullsAndKeepsTheCaret) {
    DispatchOn on;
    THostForm host;
    TZelEdit edit(host.Parent());
    edit.Init();
    HWND w = edit.Control->Handle();
    TData number = MakeInt(255);
    edit.doText(number, 0);
    EXPECT_EQ(WindowText(w), "255");
    TData text = MakeStr("abcdef");
    edit.doText(text, 0);
    SendMessageA(w, EM_SETSEL, 3, 3);
    TData other = MakeStr("uvwxyz");
    edit.doText(other, 0);
    EXPECT_EQ(WindowText(w), "uvwxyz");
    EXPECT_EQ(Caret(w), 3u);
    TData shorter = MakeStr("ab");
    edit.doText(shorter, 0);
    EXPECT_EQ(Caret(w), 2u) << "at the end when the new text is shorter";
    TData null;
    edit.doText(null, 0);
    EXPECT_EQ(WindowText(w), "");
}

TEST_F(EditTest, DoTextReadsItsStrPointFirst) {
    DispatchOn on;
    THostForm host;
    TZelEdit edit(host.Parent());
    TSource source;
    source.value = MakeStr("from Str");
    edit.Str = source.Link();
    edit.Init();
    TData ignored = MakeStr("incoming");
    edit.doText(ignored, 0);
    EXPECT_EQ(WindowText(edit.Control->Handle()), "from Str");
}

TEST_F(EditTest, TextGetterAnswersTheCurrentText) {
    THostForm host;
    TZelEdit edit(host.Parent());
    edit.Text = "FFFF";
    edit.Init();
    TData d = MakeInt(3);
    edit.getText(d, 0);
    EXPECT_EQ(d.Tag(), TypeStr);
    EXPECT_EQ(d.StrValue, "FFFF");
    SetWindowTextA(edit.Control->Handle(), "1234");
    edit.getText(d, 0);
    EXPECT_EQ(d.StrValue, "1234");
    edit.TextGetter = [](TData&) { return false; };
    edit.getText(d, 0);
    EXPECT_EQ(d.Tag(), TypeNull);
}

TEST_F(EditTest, EnterWithOnEnterSendsTheTextAndClearsWithoutOnChange) {
    DispatchOn on;
    THostForm host;
    TZelEdit edit(host.Parent());
    TRecorder enters("enter"), changes("change"), keys("key"), chars("char");
    edit.onEnter = enters.Link();
    edit.onChange = changes.Link();
    edit.onKeyDown = keys.Link();
    edit.onChar = chars.Link();
    edit.Text = "COM3";
    edit.Init();
    HWND w = edit.Control->Handle();
    SetFocus(w);
    PressEnter(w);
    ASSERT_EQ(enters.Count(), 1u);
    EXPECT_EQ(enters.Value(0).StrValue, "COM3");
    EXPECT_EQ(WindowText(w), "");
    EXPECT_EQ(changes.Count(), 0u) << "the clearing fires no onChange";
    EXPECT_EQ(keys.Count(), 0u) << "Enter is consumed";
    EXPECT_EQ(chars.Count(), 0u) << "and its character suppressed";
    // Changes are reported again afterwards.
    TData t = MakeStr("again");
    edit.doText(t, 0);
    EXPECT_EQ(changes.Count(), 1u);
}

TEST_F(EditTest, DoTextDuringTheEnterEventKeepsTheNewText) {
    DispatchOn on;
    THostForm host;
    TZelEdit edit(host.Parent());
    TRewriter rewriter;
    rewriter.edit = &edit;
    edit.onEnter = MakeLink<&TRewriter::doEnter>(0, &rewriter);
    edit.Text = "old";
    edit.Init();
    PressEnter(edit.Control->Handle());
    ASSERT_EQ(rewriter.got.size(), 1u);
    EXPECT_EQ(rewriter.got[0], "old");
    EXPECT_EQ(WindowText(edit.Control->Handle()), "kept");
}

TEST_F(EditTest, EnterWithoutOnEnterIsAnOrdinaryKey) {
    DispatchOn on;
    THostForm host;
    TZelEdit edit(host.Parent());
    TRecorder keys;
    edit.onKeyDown = keys.Link();
    edit.Text = "COM3";
    edit.Init();
    PressEnter(edit.Control->Handle());
    ASSERT_EQ(keys.Count(), 1u);
    EXPECT_EQ(keys.Value(0).IntValue, 13);
    EXPECT_EQ(WindowText(edit.Control->Handle()), "COM3");
}

TEST_F(EditTest, PasswordStyle) {
    THostForm host;
    TZelEdit edit(host.Parent());
    edit.Password = 1;
    edit.Init();
    EXPECT_TRUE(StyleOf(edit.Control->Handle()) & ES_PASSWORD);
    EXPECT_FALSE(StyleOf(edit.Control->Handle()) & ES_READONLY);
}

// The reader thread reads the CRC edit for every image byte: what it gets
// must be the window's text whoever changed it last, and it must not need
// this thread when nothing changed.
TEST_F(EditTest, TextReadFromAnotherThreadFollowsEveryChange) {
    THostForm host;
    TZelEdit edit(host.Parent());
    edit.Text = "FFFF";
    edit.Init();
    // Waits a while without serving messages, then serves them until the
    // read is done; alone says whether the read had to finish without them.
    const auto readElsewhere = [&](bool alone) {
        std::string got;
        std::atomic<bool> done{false};
        std::thread reader([&] {
            TData d;
            edit.getText(d, 0);
            got = d.StrValue;
            done = true;
        });
        for (int i = 0; i < 100 && alone && !done; ++i) Sleep(10);
        if (alone) {
            EXPECT_TRUE(done.load()) << "the read waited for the window's thread";
        }
        EXPECT_TRUE(PumpUntil([&] { return done.load(); }, 10000));
        reader.join();
        return got;
    };
    EXPECT_EQ(readElsewhere(false), "FFFF") << "before any change the window is asked";

    TData text = MakeStr("4B37");
    edit.doText(text, 0);
    EXPECT_EQ(readElsewhere(true), "4B37");

    // A change that is not the element's: typed or pasted into the window.
    SendMessageA(edit.Control->Handle(), EM_SETSEL, 4, 4);
    SendMessageA(edit.Control->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("9A"));
    EXPECT_EQ(readElsewhere(true), "4B379A");
    SetWindowTextA(edit.Control->Handle(), "C8B4");
    EXPECT_EQ(readElsewhere(true), "C8B4");
}

// The reader thread sets the CRC edit for every image byte. With nothing on
// its onChange the set does not wait for this thread; every read, here or
// there, sees the last text, and the window ends with it. With an onChange
// the set waits, so that the event comes in its place.
TEST_F(EditTest, TextSetFromAnotherThreadIsHandedOverUnlessSomeoneListens) {
    DispatchOn on;
    THostForm host;
    TZelEdit edit(host.Parent());
    edit.Text = "FFFF";
    edit.Init();
    std::atomic<bool> done{false};
    std::string seenThere;
    std::thread writer([&] {
        for (const char* t : {"0001", "0002", "4B37"}) {
            TData d = MakeStr(t);
            edit.doText(d, 0);
        }
        TData back;
        edit.getText(back, 0);
        seenThere = back.StrValue;
        done = true;
    });
    for (int i = 0; i < 200 && !done; ++i) Sleep(10);  // no messages served meanwhile
    EXPECT_TRUE(done.load()) << "the set waited for the window's thread";
    writer.join();
    EXPECT_EQ(seenThere, "4B37");
    EXPECT_EQ(edit.Control->Text(), "4B37") << "a read here before the window has it";
    Pump(50);
    EXPECT_EQ(WindowText(edit.Control->Handle()), "4B37");

    // A set here after a hand-over wins over it.
    std::thread([&] {
        TData d = MakeStr("1111");
        edit.doText(d, 0);
    }).join();
    TData mine = MakeStr("2222");
    edit.doText(mine, 0);
    Pump(50);
    EXPECT_EQ(WindowText(edit.Control->Handle()), "2222");

    TRecorder changes;
    edit.onChange = changes.Link();
    std::atomic<bool> waited{false};
    std::thread listened([&] {
        TData d = MakeStr("ABCD");
        edit.doText(d, 0);
        waited = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return waited.load(); }, 10000));
    listened.join();
    ASSERT_EQ(changes.own.size(), 1u);
    EXPECT_EQ(changes.own[0].value.StrValue, "ABCD");
}
