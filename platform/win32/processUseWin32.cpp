// Windows: the handle count, the process's threads in a system snapshot, and
// the peak working set.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include "../processUse.h"
#include "systemText.h"

namespace platform {

TProcessUse MeasureProcessUse() {
    TProcessUse use;
    DWORD handles = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &handles)) use.Descriptors = int32_t(handles);
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot != INVALID_HANDLE_VALUE) {
        THREADENTRY32 entry;
        entry.dwSize = sizeof entry;
        int32_t threads = 0;
        const DWORD self = GetCurrentProcessId();
        for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
            if (entry.th32OwnerProcessID == self) ++threads;
        CloseHandle(snapshot);
        use.Threads = threads;
    }
    PROCESS_MEMORY_COUNTERS memory;
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory))
        use.PeakResidentKb = int64_t(memory.PeakWorkingSetSize / 1024);
    return use;
}

std::string HostName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &size) ? Utf8OfWide(std::wstring_view(name, size)) : std::string();
}

}  // namespace platform
