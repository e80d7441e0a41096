#include "windowsVersion.h"

#include <windows.h>

namespace fw {

int ClassifyWindowsVersion(uint32_t platformId, uint32_t major, uint32_t minor) {
    if (platformId == VER_PLATFORM_WIN32_NT) {
        if (major >= 6) return 6;
        if (major <= 4) return 3;
        return minor != 0 ? 5 : 4;
    }
    if (platformId == VER_PLATFORM_WIN32_WINDOWS) {
        const bool win98OrLater = major > 4 || (major == 4 && minor > 9);
        return win98OrLater ? 2 : 1;
    }
    return 0;
}

int WindowsVersion() {
    static const int version = [] {
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof(info);
        if (!GetVersionExA(&info)) return 0;
        return ClassifyWindowsVersion(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
    }();
    return version;
}

bool IsWindowsNT() { return WindowsVersion() >= 3; }

}  // namespace fw
