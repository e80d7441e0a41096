#include "screen.h"

namespace fw {

int ScreenLogPixelsY() {
    static const int dpi = [] {
        HDC dc = GetDC(nullptr);
        const int value = GetDeviceCaps(dc, LOGPIXELSY);
        ReleaseDC(nullptr, dc);
        return value;
    }();
    return dpi;
}

int FontHeight(int points, int logPixelsY) { return -((points * logPixelsY + 36) / 72); }

COLORREF ResolveColor(uint32_t value) {
    if (IsSystemColor(value)) return GetSysColor(int(value & 0xFF));
    return COLORREF(value & 0x00FFFFFF);
}

}  // namespace fw
