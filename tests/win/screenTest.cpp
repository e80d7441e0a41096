#include "framework/screen.h"

#include <gtest/gtest.h>

TEST(Screen, FontHeightRule) {
    EXPECT_EQ(fw::FontHeight(8, 96), -11);  // (768 + 36) / 72 = 11.17
    EXPECT_EQ(fw::FontHeight(10, 96), -13);
    EXPECT_EQ(fw::FontHeight(8, 120), -13);
    EXPECT_EQ(fw::FontHeight(0, 96), 0);
    EXPECT_EQ(fw::FontHeight(9, 96), -12);  // 900 / 72 = 12.5, truncated
}

TEST(Screen, LogPixelsIsTheScreensAndStaysTheSame) {
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(fw::ScreenLogPixelsY(), dpi);
    EXPECT_EQ(fw::ScreenLogPixelsY(), fw::ScreenLogPixelsY());
}

TEST(Screen, ColourValuesResolveSystemColours) {
    EXPECT_EQ(fw::ResolveColor(0xFF00000F), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(fw::ResolveColor(0xFF000005), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(fw::ResolveColor(0xFF000016), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(fw::ResolveColor(0x00123456), COLORREF(0x00123456));
    EXPECT_TRUE(fw::IsSystemColor(0xFF000010));
    EXPECT_FALSE(fw::IsSystemColor(0x00FFFFFF));
}
