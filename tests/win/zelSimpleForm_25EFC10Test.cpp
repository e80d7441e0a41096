// The main window scheme's form as built: every auto-sized label shows its
// whole caption on one line of its client area.
#include "schemes/zelSimpleForm_25EFC10.h"

#include "guiTestSupport.h"

class MainWindowScheme : public GuiTest {};

TEST_F(MainWindowScheme, EveryAutoSizedLabelShowsItsCaptionOnOneLine) {
    auto scheme = std::make_unique<TClassSimpleForm_25EFC10>();
    const std::pair<const char*, TZelLabel*> labels[] = {
        {"ErrorText", scheme->ErrorText.get()},         {"CheckText", scheme->CheckText.get()},
        {"VersionLabel", scheme->VersionLabel.get()},   {"CRCReceivedLabel", scheme->CRCReceivedLabel.get()},
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
