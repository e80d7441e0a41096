// Linux: the process's own entries under /proc.
#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "../processUse.h"

namespace platform {

namespace {

// Entries of a /proc folder, without "." and "..".
int32_t CountEntries(const char* path) {
    DIR* dir = ::opendir(path);
    if (!dir) return -1;
    int32_t count = 0;
    while (const dirent* e = ::readdir(dir))
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) ++count;
    ::closedir(dir);
    return count;
}

}  // namespace

TProcessUse MeasureProcessUse() {
    TProcessUse use;
    // The listing's own descriptor is open while it counts.
    const int32_t descriptors = CountEntries("/proc/self/fd");
    use.Descriptors = descriptors < 0 ? -1 : descriptors - 1;
    use.Threads = CountEntries("/proc/self/task");
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        long long kb = 0;
        while (std::fgets(line, sizeof line, status))
            if (std::sscanf(line, "VmHWM: %lld kB", &kb) == 1) use.PeakResidentKb = kb;
        std::fclose(status);
    }
    return use;
}

std::string HostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return "";
    return name;
}

}  // namespace platform
