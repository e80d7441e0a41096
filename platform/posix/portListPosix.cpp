// Serial devices on POSIX systems get COM names from fixed number ranges per
// device family, so that a device keeps its name whatever else is plugged
// in: /dev/ttyS0 is COM1, /dev/ttyUSB0 COM33, /dev/ttyACM0 COM65 (the ranges
// Wine uses too).
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
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
// The first line of a sysfs attribute; empty when there is none.
std::string Attribute(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}

// A tty's device is a USB interface (ACM) or a port below one (usb-serial
// drivers); the USB device itself is the first folder above it that has
// vendor and product numbers.
void ReadUsbDevice(const std::filesystem::path& tty, const std::filesystem::path& top, TPortFacts& facts) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (fs::path at = tty; !at.empty() && at != top && at != at.root_path(); at = at.parent_path()) {
        if (!fs::exists(at / "idVendor", error) || !fs::exists(at / "idProduct", error)) continue;
        facts.UsbVendor = Attribute(at / "idVendor");
        facts.UsbProduct = Attribute(at / "idProduct");
        facts.Serial = Attribute(at / "serial");
        facts.Manufacturer = Attribute(at / "manufacturer");
        facts.Product = Attribute(at / "product");
        facts.Location = at.filename().string();
        return;
    }
}
// The driver bound to a tty's device: the port of a usb-serial converter,
// the USB interface of an ACM device, a UART's platform or PnP device. Since
// Linux 6.5 a UART's tty hangs below the serial core's own port and
// controller devices (bus serial-base, drivers "port" and "ctrl"), which
// name no hardware: the driver is the one above them.
std::string DriverOf(const std::filesystem::path& tty, const std::filesystem::path& top) {
    namespace fs = std::filesystem;
    for (fs::path at = tty; !at.empty() && at != top && at != at.root_path(); at = at.parent_path()) {
        std::error_code error;
        if (fs::read_symlink(at / "subsystem", error).filename() == "serial-base") continue;
        const fs::path driver = fs::read_symlink(at / "driver", error);
        return error ? std::string() : driver.filename().string();
    }
    return "";
}

// udev's stable names of kind (by-id, by-path): each link's name and its
// target, relative as a rule.
void EachStableName(const std::string& root, const char* kind,
                    const std::function<void(const std::string& name, const std::filesystem::path& target)>& each) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(root + "/dev/serial/" + kind, error)) {
        std::error_code linkError;
        const fs::path target = fs::read_symlink(entry.path(), linkError);
        if (!linkError) each("/dev/serial/" + std::string(kind) + "/" + entry.path().filename().string(), target);
    }
}

// The node's stable name of kind; empty when it has none.
std::string StableNameOf(const std::string& root, const char* kind, const std::string& node) {
    std::string found;
    EachStableName(root, kind, [&](const std::string& name, const std::filesystem::path& target) {
        if (found.empty() && target.filename() == node) found = name;
    });
    return found;
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

TPortFacts DescribeDevice(const std::string& devicePath, const std::string& root) {
    namespace fs = std::filesystem;
    TPortFacts facts;
    facts.DevicePath = devicePath;
    const std::string node = fs::path(devicePath).filename().string();
    if (node.empty()) return facts;
    std::error_code error;
    const fs::path top = fs::canonical(root + "/sys", error);
    const fs::path tty = fs::canonical(root + "/sys/class/tty/" + node + "/device", error);
    if (!error) {
        ReadUsbDevice(tty, top, facts);
        facts.Driver = DriverOf(tty, top);
    }
    facts.StableName = StableNameOf(root, "by-id", node);
    facts.PathName = StableNameOf(root, "by-path", node);
    return facts;
}

std::vector<std::string> StablyNamedDevices(const std::string& root) {
    std::vector<std::string> paths;
    for (const char* kind : {"by-id", "by-path"}) {
        EachStableName(root, kind, [&](const std::string&, const std::filesystem::path& target) {
            // Relative links name a node of /dev; absolute ones a device path.
            const std::string path = target.is_absolute() ? target.string() : "/dev/" + target.filename().string();
            if (std::find(paths.begin(), paths.end(), path) == paths.end()) paths.push_back(path);
        });
    }
    return paths;
}
}  // namespace backend

}  // namespace platform
