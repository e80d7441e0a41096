// The main window scheme's form as built: every auto-sized label shows its
// whole caption on one line of its client area, and every caption reads as
// the right Russian text whatever the system's code page.
#include "schemes/zelSimpleForm_25EFC10.h"

#include <algorithm>

#include "base/cp1251.h"
#include "guiTestSupport.h"

class MainWindowScheme : public GuiTest {};

TEST_F(MainWindowScheme, EveryAutoSizedLabelShowsItsCaptionOnOneLine) {
    auto scheme = std::make_unique<TClassSimpleForm_25EFC10>();
    const std::pair<const char*, TZelLabel*> labels[] = {
        {"ErrorText", scheme->ErrorText.get()},       {"CheckText", scheme->CheckText.get()},
        {"VersionLabel", scheme->VersionLabel.get()}, {"CRCReceivedLabel", scheme->CRCReceivedLabel.get()},
        {"CRCLabel", scheme->CRCLabel.get()},
    };
    for (const auto& [name, label] : labels) {
        const SIZE text = label->Control->MeasureText(label->Caption);
        RECT client;
        GetClientRect(label->Control->Handle(), &client);
        EXPECT_GT(client.right, text.cx) << name;
        EXPECT_GT(client.bottom, text.cy) << name;
        EXPECT_LT(client.bottom, 2 * text.cy) << name;
    }
    scheme.reset();
}

TEST_F(MainWindowScheme, CaptionsAreTheRussianTextsOnAnyCodePage) {
    auto scheme = std::make_unique<TClassSimpleForm_25EFC10>();
    scheme->MainForm->SetCaption(std::string("Загрузчик"_w));
    const std::pair<fw::TControl*, std::string> shown[] = {
        {scheme->MainForm->Control.get(), std::string("Загрузчик"_w)},
        {scheme->WriteButton->Control.get(), scheme->WriteButton->Caption},
        {scheme->CheckText->Control.get(), scheme->CheckText->Caption},
        {scheme->SuccessLabel->Control.get(), scheme->SuccessLabel->Caption},
        {scheme->VersionLabel->Control.get(), scheme->VersionLabel->Caption},
    };
    for (const auto& [control, caption] : shown) {
        ASSERT_TRUE(std::any_of(caption.begin(), caption.end(), [](char c) { return uint8_t(c) >= 0xC0; }))
            << "a caption with Cyrillic letters";
        const std::u16string expected = cp1251::ToUtf16(caption);
        EXPECT_EQ(WideWindowText(control->Handle()), std::wstring(expected.begin(), expected.end()));
        EXPECT_EQ(control->Text(), caption);
    }
    scheme.reset();
}

// Run alone under a locale whose code page is not 1251 (see CMakeLists.txt),
// so that the case above proves something there.
TEST(ForeignCodePage, TheSystemRunsAnotherCodePage) { EXPECT_NE(GetACP(), 1251u); }
