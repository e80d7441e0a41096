// The COM ports that Windows knows: the string values of
// HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, in the registry's order. A value of
// another type ends the list, as it always has for this program. What tells
// one adapter from another comes from the device manager (SetupAPI).
#include <windows.h>

#include <cfgmgr32.h>
#include <setupapi.h>

#include <vector>

#include "../portList.h"
#include "../usbInstanceId.h"
#include "systemText.h"

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

namespace {

// The device setup class of serial and parallel ports.
const GUID PortsClass = {0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

// A text property of a device; the first string of a list of them.
std::string DeviceText(HDEVINFO set, SP_DEVINFO_DATA& info, DWORD property) {
    DWORD size = 0;
    SetupDiGetDeviceRegistryPropertyW(set, &info, property, nullptr, nullptr, 0, &size);
    if (size == 0) return {};
    std::vector<wchar_t> text(size / sizeof(wchar_t) + 2, L'\0');
    if (!SetupDiGetDeviceRegistryPropertyW(set, &info, property, nullptr, reinterpret_cast<BYTE*>(text.data()), size,
                                           nullptr))
        return {};
    return Utf8OfWide(text.data());
}

std::string NodeText(DEVINST node, ULONG property) {
    ULONG size = 0;
    CM_Get_DevNode_Registry_PropertyW(node, property, nullptr, nullptr, &size, 0);
    if (size == 0) return {};
    std::vector<wchar_t> text(size / sizeof(wchar_t) + 2, L'\0');
    if (CM_Get_DevNode_Registry_PropertyW(node, property, nullptr, text.data(), &size, 0) != CR_SUCCESS) return {};
    return Utf8OfWide(text.data());
}

std::string InstanceId(DEVINST node) {
    wchar_t id[MAX_DEVICE_ID_LEN + 1] = {};
    return CM_Get_Device_IDW(node, id, MAX_DEVICE_ID_LEN, 0) == CR_SUCCESS ? Utf8OfWide(id) : std::string();
}

// The COM name the device has: its "PortName" value.
std::string PortNameOf(HDEVINFO set, SP_DEVINFO_DATA& info) {
    HKEY key = SetupDiOpenDevRegKey(set, &info, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) return {};
    wchar_t name[64] = {};
    DWORD size = sizeof name - sizeof(wchar_t);
    DWORD type = 0;
    const bool read =
        RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name), &size) == ERROR_SUCCESS &&
        type == REG_SZ;
    RegCloseKey(key);
    return read ? Utf8OfWide(name) : std::string();
}

// The USB facts of a port's device node. The numbers of an FTDI port or of
// one interface of a composite device are its parent's too, and the
// parent, the USB device itself, has the serial number and the location.
void ReadUsbFacts(DEVINST node, TPortFacts& facts) {
    TUsbInstance usb;
    if (!ParseUsbInstanceId(InstanceId(node), usb)) return;
    DEVINST parent = 0;
    TUsbInstance above;
    if (CM_Get_Parent(&parent, node, 0) == CR_SUCCESS && ParseUsbInstanceId(InstanceId(parent), above) &&
        above.Vendor == usb.Vendor && above.Product == usb.Product) {
        if (!above.Serial.empty()) usb.Serial = above.Serial;
        node = parent;
    }
    facts.UsbVendor = usb.Vendor;
    facts.UsbProduct = usb.Product;
    facts.Serial = usb.Serial;
    facts.Location = NodeText(node, CM_DRP_LOCATION_PATHS);
    if (facts.Location.empty()) facts.Location = NodeText(node, CM_DRP_LOCATION_INFORMATION);
}

}  // namespace

namespace backend {
std::string SystemDevicePath(int number) { return "\\\\.\\" + ComPortName(number); }

TPortFacts DescribeDevice(const std::string& devicePath, const std::string&) {
    TPortFacts facts;
    facts.DevicePath = devicePath;
    const std::string name = PlainPortName(devicePath);
    if (ComPortNumber(name) == 0) return facts;
    HDEVINFO set = SetupDiGetClassDevsW(&PortsClass, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) return facts;
    SP_DEVINFO_DATA info{};
    info.cbSize = sizeof info;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &info); ++i) {
        if (ComPortNumber(PortNameOf(set, info)) != ComPortNumber(name)) continue;
        facts.Manufacturer = DeviceText(set, info, SPDRP_MFG);
        facts.Product = DeviceText(set, info, SPDRP_FRIENDLYNAME);
        facts.Driver = DeviceText(set, info, SPDRP_SERVICE);
        ReadUsbFacts(info.DevInst, facts);
        break;
    }
    SetupDiDestroyDeviceInfoList(set);
    return facts;
}

// Windows has no links of stable names: its COM names are kept per adapter.
std::vector<std::string> StablyNamedDevices(const std::string&) { return {}; }
}  // namespace backend

}  // namespace platform
