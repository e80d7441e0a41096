#include "portIdentity.h"

#include <cctype>

namespace {

bool SameHex(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool IsHex4(std::string_view text) {
    if (text.size() != 4) return false;
    for (const char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

std::vector<std::string_view> Fields(std::string_view text) {
    std::vector<std::string_view> fields;
    for (size_t start = 0;;) {
        const size_t colon = text.find(':', start);
        fields.push_back(text.substr(start, colon == std::string_view::npos ? colon : colon - start));
        if (colon == std::string_view::npos) return fields;
        start = colon + 1;
    }
}

std::string_view LastPart(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool IsPortIdentity(std::string_view port) { return port.rfind("usb:", 0) == 0 || port.rfind("usb-path:", 0) == 0; }

std::string IdentityFault(const std::string& pattern) {
    if (pattern.rfind("usb-path:", 0) == 0)
        return pattern.size() > 9 ? "" : "'" + pattern + "' names no socket: usb-path:LOCATION, such as usb-path:1-2";
    const std::vector<std::string_view> f = Fields(std::string_view(pattern).substr(4));
    if (f.size() < 2 || f.size() > 3 || !IsHex4(f[0]) || !IsHex4(f[1]) || (f.size() == 3 && f[2].empty()))
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
        const std::vector<std::string_view> f = Fields(std::string_view(pattern).substr(4));
        for (const platform::TPortFacts& d : devices)
            if (SameHex(d.UsbVendor, f[0]) && SameHex(d.UsbProduct, f[1]) && (f.size() < 3 || d.Serial == f[2]))
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
