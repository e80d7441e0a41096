// Which serial ports there are and where they live. On Windows the ports are
// the system's COM devices. Elsewhere every serial device found (/dev/ttyS*,
// /dev/ttyUSB*, /dev/ttyACM* and the like) has a fixed COM name, and a
// program can put any device path (a pseudo-terminal, an adapter) under a COM
// name of its choice; such a registration wins over a found device.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// n for a name "COM<n>" (letters in any case, n from 1 to 255 in decimal
// without leading zeros or anything after it), otherwise 0.
int ComPortNumber(std::string_view name);
// "COM<n>" for n from 1 to 255, otherwise the empty text.
std::string ComPortName(int number);
// The COM name of the other spellings Windows users give one: the device
// path "\\.\COM7" and the device name "COM7:". Any other name as it is.
std::string PlainPortName(std::string_view name);

// Puts devicePath under the COM name; false when the name is no COM name
// (see ComPortNumber) or the path is empty. A later registration of the
// same name replaces the earlier one.
bool RegisterPortPath(const std::string& name, const std::string& devicePath);
// Puts devicePath under the lowest COM name that is neither registered nor
// the name of a device found now, and returns that name; a path that is
// already registered or found keeps its name. Empty when no name is free.
std::string RegisterFreePortPath(const std::string& devicePath);
void UnregisterPortPath(std::string_view name);
std::optional<std::string> RegisteredPortPath(std::string_view name);
// Registered names, lowest number first.
std::vector<std::string> RegisteredPortNames();

// Where the port of this COM name lives: the registered path, otherwise the
// system's device for the name (which need not exist). Nothing for a name
// that is no COM name.
std::optional<std::string> DevicePathOfPort(std::string_view name);

struct TFoundPort {
    std::string Name;
    std::string DevicePath;
};
// The serial devices present now under their COM names, lowest number
// first (registrations not included).
std::vector<TFoundPort> FindSerialDevices();

// The port list of this system, in its order: on Windows the COM ports of
// the registry; elsewhere the registered names, then the devices found
// under names not registered. False when there is no list at all.
bool ListSystemPorts(const std::function<void(const std::string& name)>& each);

// What tells one adapter from another, as far as the system says: on Linux
// the device's path and, for a USB adapter, its vendor and product numbers
// (four hexadecimal digits each), serial number, maker's and product's
// names, the stable name under /dev/serial/by-id, and where it is plugged:
// the USB port path of its device ("1-2.3", bus 1, port 2, then port 3 of a
// hub) and the name under /dev/serial/by-path; and the kernel driver that
// serves the port (ftdi_sio, cdc_acm, serial8250; on Windows the driver's
// service, FTSER2K, usbser, Serial). Unknown facts stay empty.
struct TPortFacts {
    std::string DevicePath;
    std::string UsbVendor;
    std::string UsbProduct;
    std::string Serial;
    std::string Manufacturer;
    std::string Product;
    std::string StableName;
    std::string Location;
    std::string PathName;
    std::string Driver;
};
TPortFacts DescribePort(std::string_view name);
// Every serial device the system names now, with its facts: the devices of
// the port list and those behind /dev/serial's stable names. On Linux the
// environment's QV_SYSTEM_ROOT, when set, stands for / (for tests).
std::vector<TPortFacts> DescribeSerialDevices();

namespace backend {
// The system's device path for COM<number>.
std::string SystemDevicePath(int number);
// The facts of the device at devicePath. root is where the system's own
// description of its devices lies: empty for this system's, a folder with a
// tree of the same shape for a test.
TPortFacts DescribeDevice(const std::string& devicePath, const std::string& root);
// The device paths behind the stable names under root's /dev/serial.
std::vector<std::string> StablyNamedDevices(const std::string& root);
}  // namespace backend

}  // namespace platform
