#include "ui/zelProgressBar.h"

#include "guiTestSupport.h"

class ProgressBarTest : public GuiTest {};

namespace {
std::unique_ptr<TZelProgressBar> MakeBar(fw::TControl* parent) {
    auto bar = std::make_unique<TZelProgressBar>(parent);
    bar->Left = 5;
    bar->Top = 90;
    bar->Width = 400;
    bar->Height = 30;
    bar->Color = 0xFF00000F;
    bar->Ctl3D = 0;
    bar->Smooth = 1;
    bar->Max = 1015;
    bar->BarColor = 0xFF000010;
    bar->Init();
    return bar;
}
LRESULT Position(TZelProgressBar& bar) { return SendMessageA(bar.Control->Handle(), PBM_GETPOS, 0, 0); }
}  // namespace

TEST_F(ProgressBarTest, InitSetsStyleAndRange) {
    THostForm host;
    auto bar = MakeBar(host.Parent());
    HWND w = bar->Control->Handle();
    EXPECT_TRUE(StyleOf(w) & PBS_SMOOTH);
    EXPECT_FALSE(StyleOf(w) & PBS_VERTICAL);
    EXPECT_EQ(SendMessageA(w, PBM_GETRANGE, FALSE, 0), 1015);
    EXPECT_EQ(SendMessageA(w, PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(Position(*bar), 0);
    EXPECT_TRUE(ExStyleOf(w) & WS_EX_CLIENTEDGE) << "Ctl3D 0: sunken edge";
}

TEST_F(ProgressBarTest, DoPositionTakesStringsNullsAndIsClamped) {
    THostForm host;
    auto bar = MakeBar(host.Parent());
    TData twelve = MakeStr("12");
    bar->doPosition(twelve, 0);
    EXPECT_EQ(Position(*bar), 12);
    TData null;
    bar->doPosition(null, 0);
    EXPECT_EQ(Position(*bar), 0);
    TData above = MakeInt(5000);
    bar->doPosition(above, 0);
    EXPECT_EQ(Position(*bar), 1015) << "above Max the bar is full";
    TData done = MakeInt(1015);
    bar->doPosition(done, 0);
    EXPECT_EQ(Position(*bar), 1015);
}
