#include "portIdentity.h"

#include "base/asciiText.h"
#include "base/hexText.h"

namespace {

std::string_view LastPart(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool IsPortIdentity(std::string_view port) { return port.rfind("usb:", 0) == 0 || port.rfind("usb-path:", 0) == 0; }

std::string IdentityFault(const std::string& pattern) {
    if (pattern.rfind("usb-path:", 0) == 0)
        return pattern.size() > 9 ? "" : "'" + pattern + "' names no socket: usb-path:LOCATION, such as usb-path:1-2";
    const std::vector<std::string_view> f = SplitFields(std::string_view(pattern).substr(4), ':');
    if (f.size() < 2 || f.size() > 3 || !IsHexDigits(f[0], 4) || !IsHexDigits(f[1], 4) ||
        (f.size() == 3 && f[2].empty()))
        return "'" + pattern + "' is not usb:VID:PID or usb:VID:PID:SERIAL (four hexadecimal digits each)";
    return "";
}

bool ResolvePortIdentity(const std::string& pattern, const std::vector<platform::TPortFacts>& devices,
                         platform::TPortFacts& found, std::string& failure) {
    failure = IdentityFault(pattern);
    if (!failure.empty()) return false;
    std::vector<const platform::TPortFacts*> matches;
    if (pattern.rfind("usb-path:", 0) == 0) {
        const std::string_view location = std::string_view(pattern).substr(9);
        for (const platform::TPortFacts& d : devices)
            if ((!d.Location.empty() && d.Location == location) ||
                (!d.PathName.empty() && (d.PathName == location || LastPart(d.PathName) == location)))
                matches.push_back(&d);
    } else {
        const std::vector<std::string_view> f = SplitFields(std::string_view(pattern).substr(4), ':');
        for (const platform::TPortFacts& d : devices)
            if (SameTextAscii(d.UsbVendor, f[0]) && SameTextAscii(d.UsbProduct, f[1]) &&
                (f.size() < 3 || d.Serial == f[2]))
                matches.push_back(&d);
    }
    if (matches.size() == 1) {
        found = *matches[0];
        return true;
    }
    const std::string candidates = IdentityCandidates(devices);
    failure =
        (matches.empty() ? "no serial adapter is " : std::to_string(matches.size()) + " adapters are ") + pattern +
        (matches.empty() ? "" : ": name one") +
        (candidates.empty() ? "; no USB serial adapter is plugged in" : "; the adapters plugged in:\n" + candidates);
    while (!failure.empty() && failure.back() == '\n') failure.pop_back();
    return false;
}

std::string IdentityCandidates(const std::vector<platform::TPortFacts>& devices) {
    std::string lines;
    for (const platform::TPortFacts& d : devices) {
        if (d.UsbVendor.empty()) continue;
        lines += "  usb:" + d.UsbVendor + ":" + d.UsbProduct + (d.Serial.empty() ? "" : ":" + d.Serial);
        if (!d.Location.empty()) lines += " usb-path:" + d.Location;
        lines += " (" + d.DevicePath + ")\n";
    }
    return lines;
}
