#include "usbInstanceId.h"

#include <cctype>
#include <vector>

#include "../base/asciiText.h"
#include "../base/hexText.h"

namespace platform {

namespace {

// "VID_0403" and the like: four hexadecimal digits after the prefix.
bool Number(std::string_view field, std::string_view prefix, std::string& out) {
    if (!StartsWithAscii(field, prefix) || !IsHexDigits(field.substr(prefix.size()), 4)) return false;
    out.clear();
    for (const char c : field.substr(prefix.size())) out += char(std::tolower(static_cast<unsigned char>(c)));
    return true;
}

}  // namespace

bool ParseUsbInstanceId(std::string_view id, TUsbInstance& usb) {
    const std::vector<std::string_view> parts = SplitFields(id, '\\');
    if (parts.size() != 3) return false;
    usb = TUsbInstance{};
    if (SameTextAscii(parts[0], "FTDIBUS")) {
        const std::vector<std::string_view> f = SplitFields(parts[1], '+');
        if (f.size() < 2 || !Number(f[0], "VID_", usb.Vendor) || !Number(f[1], "PID_", usb.Product)) return false;
        // The driver adds the port's letter to the serial number.
        if (f.size() >= 3 && f[2].size() > 1) usb.Serial = std::string(f[2].substr(0, f[2].size() - 1));
        return true;
    }
    if (!SameTextAscii(parts[0], "USB")) return false;
    const std::vector<std::string_view> f = SplitFields(parts[1], '&');
    if (f.size() < 2 || !Number(f[0], "VID_", usb.Vendor) || !Number(f[1], "PID_", usb.Product)) return false;
    for (size_t i = 2; i < f.size(); ++i) usb.Interface = usb.Interface || StartsWithAscii(f[i], "MI_");
    // An instance part with '&' in it is made up by Windows for a device
    // without a serial number, or for an interface.
    if (!usb.Interface && !parts[2].empty() && parts[2].find('&') == std::string_view::npos)
        usb.Serial = std::string(parts[2]);
    return true;
}

}  // namespace platform
