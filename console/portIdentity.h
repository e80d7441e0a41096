// Ports named by what they are rather than by the name the system gave
// them on this plugging: "usb:VID:PID[:SERIAL]" names an adapter wherever it
// is plugged, "usb-path:LOCATION" the USB socket whatever adapter is in it
// (LOCATION: the USB port path such as 1-2.3, or the /dev/serial/by-path
// name, whole or its last part).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/portList.h"

bool IsPortIdentity(std::string_view port);
// Why pattern is no identity the flasher reads; empty when it is one.
std::string IdentityFault(const std::string& pattern);

// The device pattern names among devices, when exactly one does; otherwise
// false, with why in failure (a malformed pattern, none or several
// matching) and the candidates that could be named.
bool ResolvePortIdentity(const std::string& pattern, const std::vector<platform::TPortFacts>& devices,
                         platform::TPortFacts& found, std::string& failure);

// The identities of the USB devices, one a line: "usb:0403:6001:A1B2C3
// usb-path:1-2 (/dev/ttyUSB0)".
std::string IdentityCandidates(const std::vector<platform::TPortFacts>& devices);
