#include "framework/windowsVersion.h"

#include <windows.h>

#include <gtest/gtest.h>

using fw::ClassifyWindowsVersion;

TEST(WindowsVersion, NtFamilyClasses) {
    EXPECT_EQ(ClassifyWindowsVersion(VER_PLATFORM_WIN32_NT, 3, 51), 3);
    EXPECT_EQ(ClassifyWindowsVersion(VER_PLATFORM_WIN32_NT, 4, 0), 3);
    EXPECT_EQ(ClassifyWindowsVersion(VER_PLATFORM_WIN32_NT, 5, 0), 4);
    EXPECT_EQ(ClassifyWindowsVersion(VER_PLATFORM_WIN32_NT, 5, 1), 5);
    EXPECT_EQ(ClassifyWindowsVersion(VER_PLATFORM_WIN32_NT, 5, 2), 5);
    EXPECT_EQ(ClassifyWindowsVersion(VER_PLATFORM_WIN32_NT, 6, 0), 6);
    EXPECT_EQ(ClassifyWindowsVersion(VER_PLATFORM_WIN32_NT, 10, 0), 6);
}

TEST(WindowsVersion, Windows9xAndOtherPlatforms) {
    EXPECT_EQ(ClassifyWindowsVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 0), 1);
    EXPECT_EQ(ClassifyWindowsVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 9), 1);
    EXPECT_EQ(ClassifyWindowsVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10), 2);
    EXPECT_EQ(ClassifyWindowsVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 90), 2);
    EXPECT_EQ(ClassifyWindowsVersion(VER_PLATFORM_WIN32_WINDOWS, 5, 0), 2);
    EXPECT_EQ(ClassifyWindowsVersion(VER_PLATFORM_WIN32s, 3, 1), 0);
}

TEST(WindowsVersion, TheRunningSystemIsOfTheNtFamily) {
    // Wine reports an NT system.
    EXPECT_GE(fw::WindowsVersion(), 3);
    EXPECT_TRUE(fw::IsWindowsNT());
}
