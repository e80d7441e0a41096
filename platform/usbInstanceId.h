// What a Windows device instance ID tells of a USB serial adapter. The IDs
// come in the shapes the USB and FTDI bus drivers give them:
//   USB\VID_2341&PID_0043\85736323838351F0E1C1    a device: its serial number last
//   USB\VID_1A86&PID_7523&MI_00\6&2B1D5E0&0&0000  an interface of a composite device:
//                                                 the last part is Windows' own, the
//                                                 serial number is the parent's
//   FTDIBUS\VID_0403+PID_6001+A1B2C3A\0000        FTDI's: the serial number with the
//                                                 port's letter (A, B, ...) after it
#pragma once

#include <string>
#include <string_view>

namespace platform {

struct TUsbInstance {
    std::string Vendor;  // four hexadecimal digits, lower case as Linux gives them
    std::string Product;
    std::string Serial;      // empty where the ID carries none
    bool Interface = false;  // one interface of a composite device
};

// False for an ID of another bus (ACPI\PNP0501\1, ROOT\PORTS\0000) or one
// without both numbers.
bool ParseUsbInstanceId(std::string_view id, TUsbInstance& usb);

}  // namespace platform
