#include "ui/zelLabel.h"

#include "guiTestSupport.h"
#include "base/cp1251.h"

class LabelTest : public GuiTest {};

TEST_F(LabelTest, ControlExistsFromConstructionWithTheLabelStyle) {
    THostForm host;
    TZelLabel label(host.Parent());
    ASSERT_NE(label.Control, nullptr);
    label.Caption = "Ошибка при передаче данных!"_w;
    label.Init();
    HWND w = label.Control->Handle();
    EXPECT_EQ(WindowText(w), std::string("Ошибка при передаче данных!"_w));
    EXPECT_EQ(StyleOf(w) & 0x1FF, DWORD(SS_NOTIFY | SS_NOPREFIX | SS_LEFTNOWORDWRAP));
    EXPECT_TRUE(StyleOf(w) & WS_CHILD);
}

TEST_F(LabelTest, AlignmentReplacesTheNoWrapBits) {
    THostForm host;
    TZelLabel centred(host.Parent()), right(host.Parent());
    centred.SetAlignment(2);
    right.SetAlignment(1);
    centred.Init();
    right.Init();
    EXPECT_EQ(StyleOf(centred.Control->Handle()) & SS_TYPEMASK, DWORD(SS_CENTER));
    EXPECT_EQ(StyleOf(right.Control->Handle()) & SS_TYPEMASK, DWORD(SS_RIGHT));
    EXPECT_TRUE(StyleOf(centred.Control->Handle()) & SS_NOTIFY);
}

TEST_F(LabelTest, AutoSizeFollowsTheTextAndTheAlignment) {
    THostForm host;
    TZelLabel free(host.Parent());
    free.Width = 300;
    free.Height = 50;
    free.Font = MakeFont("MS Sans Serif", 8, 0, 0, 1);
    free.Caption = "CRC:";
    free.SetAutoSize(1);
    free.Init();
    const SIZE text = free.Control->MeasureText("CRC:");
    RECT r;
    GetWindowRect(free.Control->Handle(), &r);
    EXPECT_EQ(r.right - r.left, text.cx + 1);
    EXPECT_EQ(r.bottom - r.top, text.cy + 1);
    EXPECT_LT(r.right - r.left, 300);
    TData longer = MakeStr("a much longer caption");
    free.Control->SetText(longer.StrValue);
    GetWindowRect(free.Control->Handle(), &r);
    EXPECT_EQ(r.right - r.left, free.Control->MeasureText(longer.StrValue).cx + 1);

    TZelLabel docked(host.Parent());
    docked.Width = 200;
    docked.Height = 60;
    docked.Align = 2;  // top: the width is the parent's, the height follows the text
    docked.Caption = "Проверьте все соединения и попробуйте ещё раз."_w;
    docked.SetAutoSize(1);
    docked.Init();
    RECT client;
    GetClientRect(host.Parent()->Handle(), &client);
    GetWindowRect(docked.Control->Handle(), &r);
    EXPECT_EQ(r.right - r.left, client.right);
    EXPECT_EQ(r.bottom - r.top, docked.Control->MeasureText(docked.Caption).cy + 1);
}

TEST_F(LabelTest, AutoSizedCaptionFitsTheClientAreaWithEveryBorder) {
    // Ctl3D 0 is a sunken edge, 1 a plain border, 2 none; Frame adds an edge.
    THostForm host(700, 200);
    const std::string caption(std::string_view("Версия ПО для обновления:1.4 (MZK7/DPL7 с версией ПО 1.3 и ниже)"_w));
    for (uint8_t ctl3D : {0, 1, 2}) {
        for (uint8_t frame : {0, 2, 4}) {
            for (uint8_t alignment : {0, 1, 2}) {
                TZelLabel label(host.Parent());
                label.Width = 100;
                label.Height = 10;
                label.Ctl3D = ctl3D;
                label.Frame = frame;
                label.Caption = caption;
                label.SetAlignment(alignment);
                label.SetAutoSize(1);
                label.Init();
                const SIZE text = label.Control->MeasureText(caption);
                RECT client;
                GetClientRect(label.Control->Handle(), &client);
                const std::string kind = "Ctl3D " + std::to_string(ctl3D) + ", Frame " + std::to_string(frame) +
                                         ", alignment " + std::to_string(alignment);
                EXPECT_GT(client.right, text.cx) << kind;
                EXPECT_GT(client.bottom, text.cy) << kind;
                EXPECT_LT(client.bottom, 2 * text.cy) << kind;  // one line
            }
        }
    }
}

TEST_F(LabelTest, ClickFiresNullAndHoverWithoutSettingsChangesNothing) {
    DispatchOn on;
    THostForm host;
    TZelLabel label(host.Parent());
    TRecorder clicks;
    label.onClick = clicks.Link();
    label.Caption = "x";
    label.Init();
    const fw::TFontSpec before = label.Control->Font();
    SendMessageA(label.Control->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    EXPECT_TRUE(label.Control->Font() == before);
    SendMessageA(label.Control->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    SendMessageA(label.Control->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    ASSERT_GE(clicks.Count(), 1u);
    EXPECT_EQ(clicks.Value(0).Tag(), TypeNull);
}

TEST_F(LabelTest, HoverColourAndUnderlineComeAndGo) {
    THostForm host;
    TZelLabel label(host.Parent());
    label.Font = MakeFont("MS Sans Serif", 8, 4, 0x000000FF, 1);  // already underlined
    label.HoverColor = 0x00FF0000;
    label.HoverUnderline = 1;
    label.Init();
    label.MouseEnter();
    EXPECT_EQ(label.Control->Font().Color, 0x00FF0000u);
    EXPECT_TRUE(label.Control->Font().Style & 4);
    label.MouseLeave();
    EXPECT_EQ(label.Control->Font().Color, 0x000000FFu);
    EXPECT_FALSE(label.Control->Font().Style & 4) << "the underline goes even when the font had it";
}
