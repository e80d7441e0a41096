// Screen facts and colour values shared by every control.
#pragma once

#include <windows.h>

#include <cstdint>

namespace fw {

// LOGPIXELSY of the screen, read once per process.
int ScreenLogPixelsY();

// Font height for a size in points: -((points * dpi + 36) / 72), the
// quotient truncated.
int FontHeight(int points, int logPixelsY);

// A colour value with the top bit set is the system colour of its low byte;
// any other value is 0x00BBGGRR.
inline bool IsSystemColor(uint32_t value) { return (value & 0x80000000u) != 0; }
COLORREF ResolveColor(uint32_t value);

}  // namespace fw
