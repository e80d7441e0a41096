#include "usbInstanceId.h"

#include <cctype>
#include <vector>

namespace platform {

namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (size_t start = 0;;) {
        const size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string_view::npos ? at : at - start));
        if (at == std::string_view::npos) return parts;
        start = at + 1;
    }
}

bool StartsWithNoCase(std::string_view text, std::string_view start) {
    if (text.size() < start.size()) return false;
    for (size_t i = 0; i < start.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) != start[i]) return false;
    return true;
}

// "VID_0403" and the like: four hexadecimal digits after the prefix.
bool Number(std::string_view field, std::string_view prefix, std::string& out) {
    if (!StartsWithNoCase(field, prefix) || field.size() != prefix.size() + 4) return false;
    out.clear();
    for (const char c : field.substr(prefix.size())) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
        out += char(std::tolower(static_cast<unsigned char>(c)));
    }
    return true;
}

}  // namespace

bool ParseUsbInstanceId(std::string_view id, TUsbInstance& usb) {
    const std::vector<std::string_view> parts = Split(id, '\\');
    if (parts.size() != 3) return false;
    usb = TUsbInstance{};
    if (StartsWithNoCase(parts[0], "FTDIBUS") && parts[0].size() == 7) {
        const std::vector<std::string_view> f = Split(parts[1], '+');
        if (f.size() < 2 || !Number(f[0], "VID_", usb.Vendor) || !Number(f[1], "PID_", usb.Product)) return false;
        // The driver adds the port's letter to the serial number.
        if (f.size() >= 3 && f[2].size() > 1) usb.Serial = std::string(f[2].substr(0, f[2].size() - 1));
        return true;
    }
    if (!StartsWithNoCase(parts[0], "USB") || parts[0].size() != 3) return false;
    const std::vector<std::string_view> f = Split(parts[1], '&');
    if (f.size() < 2 || !Number(f[0], "VID_", usb.Vendor) || !Number(f[1], "PID_", usb.Product)) return false;
    for (size_t i = 2; i < f.size(); ++i) usb.Interface = usb.Interface || StartsWithNoCase(f[i], "MI_");
    // An instance part with '&' in it is made up by Windows for a device
    // without a serial number, or for an interface.
    if (!usb.Interface && !parts[2].empty() && parts[2].find('&') == std::string_view::npos)
        usb.Serial = std::string(parts[2]);
    return true;
}

}  // namespace platform
