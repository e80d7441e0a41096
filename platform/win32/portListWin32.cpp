// The COM ports that Windows knows: the string values of
// HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, in the registry's order. A value of
// another type ends the list, as it always has for this program.
#include <windows.h>

#include <vector>

#include "../portList.h"

namespace platform {

bool ListSystemPorts(const std::function<void(const std::string& name)>& each) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD values = 0;
    DWORD longestName = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, &longestName, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS) {
        RegCloseKey(key);
        return false;
    }
    for (DWORD index = 0; index < values; ++index) {
        std::vector<char> name(longestName + 1, '\0');
        DWORD nameLength = DWORD(name.size());
        if (RegEnumValueA(key, index, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        name.back() = '\0';
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExA(key, name.data(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
            break;
        // One byte more than asked for, so that data stored without its
        // terminating zero still ends.
        std::vector<char> data(size + 1, '\0');
        if (RegQueryValueExA(key, name.data(), nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size) !=
            ERROR_SUCCESS)
            continue;
        each(std::string(data.data()));
    }
    RegCloseKey(key);
    return true;
}

std::vector<TFoundPort> FindSerialDevices() {
    std::vector<TFoundPort> found;
    ListSystemPorts([&](const std::string& name) { found.push_back({name, "\\\\.\\" + name}); });
    return found;
}

namespace backend {
std::string SystemDevicePath(int number) { return "\\\\.\\" + ComPortName(number); }
// The registry's list is what Windows offers; it says nothing of adapters.
TPortFacts DescribeDevice(const std::string&, const std::string&) { return {}; }
std::vector<std::string> StablyNamedDevices(const std::string&) { return {}; }
}  // namespace backend

}  // namespace platform
