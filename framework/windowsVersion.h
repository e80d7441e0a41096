// The coarse Windows version class the elements branch on.
#pragma once

#include <cstdint>

namespace fw {

// 0 unknown platform; 1 Windows 95, 2 Windows 98/ME; 3 NT 4 or older,
// 4 Windows 2000, 5 XP/2003, 6 Vista or later.
int ClassifyWindowsVersion(uint32_t platformId, uint32_t major, uint32_t minor);

// The class of the running system, from GetVersionEx, computed once.
int WindowsVersion();
bool IsWindowsNT();

}  // namespace fw
