// Serial devices on POSIX systems get COM names from fixed number ranges per
// device family, so that a device keeps its name whatever else is plugged
// in: /dev/ttyS0 is COM1, /dev/ttyUSB0 COM33, /dev/ttyACM0 COM65 (the ranges
// Wine uses too).
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "../portList.h"

namespace platform {

namespace {
struct TFamily {
    const char* prefix;
    int first;
    int count;
};
constexpr TFamily Families[] = {
    {"ttyS", 1, 32},    {"ttyUSB", 33, 32},  {"ttyACM", 65, 32},
    {"ttyAMA", 97, 16}, {"ttySAC", 113, 16}, {"rfcomm", 129, 16},
};

bool IsCharDevice(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

// The kernel makes ttyS nodes for every possible UART; the ones without
// hardware have the port type 0 (unknown).
bool UartPresent(const std::string& node) {
    std::ifstream type("/sys/class/tty/" + node + "/type");
    int t = -1;
    if (!(type >> t)) return true;
    return t != 0;
}
}  // namespace

std::vector<TFoundPort> FindSerialDevices() {
    std::vector<TFoundPort> found;
    for (const TFamily& f : Families) {
        for (int i = 0; i < f.count; ++i) {
            const std::string node = f.prefix + std::to_string(i);
            const std::string path = "/dev/" + node;
            if (!IsCharDevice(path)) continue;
            if (std::string_view(f.prefix) == "ttyS" && !UartPresent(node)) continue;
            found.push_back({ComPortName(f.first + i), path});
        }
    }
    return found;
}

bool ListSystemPorts(const std::function<void(const std::string& name)>& each) {
    const std::vector<std::string> registered = RegisteredPortNames();
    for (const std::string& name : registered) each(name);
    for (const TFoundPort& found : FindSerialDevices())
        if (std::find(registered.begin(), registered.end(), found.Name) == registered.end()) each(found.Name);
    return true;
}

namespace backend {
std::string SystemDevicePath(int number) {
    for (const TFamily& f : Families)
        if (number >= f.first && number < f.first + f.count)
            return "/dev/" + std::string(f.prefix) + std::to_string(number - f.first);
    return {};
}
}  // namespace backend

}  // namespace platform
