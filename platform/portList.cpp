#include "portList.h"

#include "../base/asciiText.h"

#include <cstdlib>
#include <algorithm>
#include <map>
#include <mutex>

namespace platform {

namespace {
// Number to path. The flasher registers at start, the element looks names
// up from whatever thread opens a port.
std::map<int, std::string>& Registered() {
    static std::map<int, std::string> table;
    return table;
}
std::mutex& RegisteredLock() {
    static std::mutex lock;
    return lock;
}
}  // namespace

int ComPortNumber(std::string_view name) {
    const TComPortName parsed = ParseComPortName(name);
    return name.size() <= 6 && parsed.Exact && parsed.Number >= 1 && parsed.Number <= 255 ? parsed.Number : 0;
}

std::string ComPortName(int number) {
    return number >= 1 && number <= 255 ? "COM" + std::to_string(number) : std::string();
}

std::string PlainPortName(std::string_view name) {
    std::string_view com = name;
    if (com.substr(0, 4) == "\\\\.\\") com.remove_prefix(4);
    if (!com.empty() && com.back() == ':') com.remove_suffix(1);
    const int n = ComPortNumber(com);
    return n != 0 && com.size() != name.size() ? ComPortName(n) : std::string(name);
}

bool RegisterPortPath(const std::string& name, const std::string& devicePath) {
    const int n = ComPortNumber(name);
    if (n == 0 || devicePath.empty()) return false;
    std::lock_guard<std::mutex> guard(RegisteredLock());
    Registered()[n] = devicePath;
    return true;
}

std::string RegisterFreePortPath(const std::string& devicePath) {
    if (devicePath.empty()) return {};
    const std::vector<TFoundPort> found = FindSerialDevices();
    std::lock_guard<std::mutex> guard(RegisteredLock());
    for (const auto& [n, path] : Registered())
        if (path == devicePath) return ComPortName(n);
    for (const TFoundPort& f : found)
        if (f.DevicePath == devicePath) return f.Name;
    for (int n = 1; n <= 255; ++n) {
        if (Registered().count(n)) continue;
        std::string name = ComPortName(n);
        if (std::any_of(found.begin(), found.end(), [&](const TFoundPort& f) { return f.Name == name; })) continue;
        Registered()[n] = devicePath;
        return name;
    }
    return {};
}

void UnregisterPortPath(std::string_view name) {
    const int n = ComPortNumber(name);
    std::lock_guard<std::mutex> guard(RegisteredLock());
    Registered().erase(n);
}

std::optional<std::string> RegisteredPortPath(std::string_view name) {
    const int n = ComPortNumber(name);
    std::lock_guard<std::mutex> guard(RegisteredLock());
    const auto it = Registered().find(n);
    if (it == Registered().end()) return std::nullopt;
    return it->second;
}

std::optional<std::string> DevicePathOfPort(std::string_view name) {
    const int n = ComPortNumber(name);
    if (n == 0) return std::nullopt;
    if (auto path = RegisteredPortPath(name)) return path;
    std::string path = backend::SystemDevicePath(n);
    if (path.empty()) return std::nullopt;
    return path;
}

namespace {
// Where the system describes its devices: / unless a test says otherwise.
std::string SystemRoot() {
    const char* given = std::getenv("QV_SYSTEM_ROOT");
    return given ? given : "";
}
}  // namespace

TPortFacts DescribePort(std::string_view name) {
    const std::optional<std::string> path = DevicePathOfPort(name);
    return path ? backend::DescribeDevice(*path, SystemRoot()) : TPortFacts{};
}

std::vector<TPortFacts> DescribeSerialDevices() {
    const std::string root = SystemRoot();
    std::vector<std::string> paths;
    for (const TFoundPort& found : FindSerialDevices()) paths.push_back(found.DevicePath);
    for (const std::string& path : backend::StablyNamedDevices(root))
        if (std::find(paths.begin(), paths.end(), path) == paths.end()) paths.push_back(path);
    std::vector<TPortFacts> devices;
    devices.reserve(paths.size());
    for (const std::string& path : paths) devices.push_back(backend::DescribeDevice(path, root));
    return devices;
}

std::vector<std::string> RegisteredPortNames() {
    std::lock_guard<std::mutex> guard(RegisteredLock());
    std::vector<std::string> names;
    for (const auto& entry : Registered()) names.push_back(ComPortName(entry.first));
    return names;
}

}  // namespace platform
