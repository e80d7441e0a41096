// What the port list tells of an adapter, read from a fake sysfs and
// /dev/serial/by-id built in a temporary folder in the shape Linux gives
// them: a tty's device link into the device tree, the USB device some
// folders above it, udev's stable names as relative links.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "console/portListing.h"
#include "platform/portList.h"

namespace fs = std::filesystem;
using platform::TPortFacts;

namespace {

struct FakeSystem : ::testing::Test {
    fs::path root = fs::temp_directory_path() / ("qv-sysfs-" + std::to_string(::getpid()));
    const std::string usb = "sys/devices/pci0000:00/0000:00:14.0/usb1";

    FakeSystem() {
        fs::remove_all(root);
        // An FTDI adapter: the tty is a port below the USB interface.
        Device(usb + "/1-2", "0403", "6001", "A1B2C3", "FTDI", "FT232R USB UART");
        Tty("ttyUSB0", usb + "/1-2/1-2:1.0/ttyUSB0");
        fs::create_directories(root / "sys/bus/usb-serial/drivers/ftdi_sio");
        fs::create_symlink("../../../../../../../bus/usb-serial/drivers/ftdi_sio",
                           root / usb / "1-2/1-2:1.0/ttyUSB0/driver");
        // A CDC-ACM board without a serial number: the tty's device is the
        // interface itself.
        Device(usb + "/1-3", "2341", "0043", "", "", "");
        Tty("ttyACM0", usb + "/1-3/1-3:1.0");
        // A UART of the board: no USB device above it. A vendor file above
        // the sysfs folder is none of its business.
        Tty("ttyS0", "sys/devices/platform/serial8250/tty/ttyS0");
        Write(root / "idVendor", "dead");
        Write(root / "idProduct", "beef");
        fs::create_directories(root / "dev/serial/by-id");
        fs::create_symlink("../../ttyUSB0", root / "dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0");
        fs::create_symlink("../../ttyACM0", root / "dev/serial/by-id/usb-Arduino_Uno-if00");
        fs::create_directories(root / "dev/serial/by-path");
        fs::create_symlink("../../ttyUSB0", root / "dev/serial/by-path/pci-0000:00:14.0-usb-0:2:1.0-port0");
    }
    ~FakeSystem() override { fs::remove_all(root); }

    static void Write(const fs::path& file, const std::string& text) { std::ofstream(file) << text << "\n"; }
    void Device(const std::string& at, const std::string& vendor, const std::string& product, const std::string& serial,
                const std::string& maker, const std::string& name) {
        fs::create_directories(root / at);
        Write(root / at / "idVendor", vendor);
        Write(root / at / "idProduct", product);
        if (!serial.empty()) Write(root / at / "serial", serial);
        if (!maker.empty()) Write(root / at / "manufacturer", maker);
        if (!name.empty()) Write(root / at / "product", name);
    }
    // /sys/class/tty/NODE/device, a relative link as the kernel makes it.
    void Tty(const std::string& node, const std::string& device) {
        fs::create_directories(root / device);
        fs::create_directories(root / "sys/class/tty" / node);
        fs::create_symlink(fs::path("../../..") / fs::path(device).lexically_relative("sys"),
                           root / "sys/class/tty" / node / "device");
    }
    TPortFacts Describe(const std::string& path) { return platform::backend::DescribeDevice(path, root.string()); }
};

TEST_F(FakeSystem, UsbSerialAdapterHasItsNumbersSerialAndStableName) {
    const TPortFacts f = Describe("/dev/ttyUSB0");
    EXPECT_EQ(f.DevicePath, "/dev/ttyUSB0");
    EXPECT_EQ(f.UsbVendor, "0403");
    EXPECT_EQ(f.UsbProduct, "6001");
    EXPECT_EQ(f.Serial, "A1B2C3");
    EXPECT_EQ(f.Manufacturer, "FTDI");
    EXPECT_EQ(f.Product, "FT232R USB UART");
    EXPECT_EQ(f.StableName, "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0");
    EXPECT_EQ(f.Driver, "ftdi_sio");
    EXPECT_EQ(PortLine("COM33", f),
              "COM33 /dev/ttyUSB0 usb=0403:6001 serial=A1B2C3 "
              "by-id=/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0 usb-path=1-2 "
              "by-path=/dev/serial/by-path/pci-0000:00:14.0-usb-0:2:1.0-port0 driver=ftdi_sio product=\"FTDI FT232R "
              "USB UART\"");
}

TEST_F(FakeSystem, AcmBoardWithoutSerialNumber) {
    const TPortFacts f = Describe("/dev/ttyACM0");
    EXPECT_EQ(f.UsbVendor, "2341");
    EXPECT_EQ(f.UsbProduct, "0043");
    EXPECT_EQ(f.Serial, "");
    EXPECT_EQ(f.StableName, "/dev/serial/by-id/usb-Arduino_Uno-if00");
    EXPECT_EQ(
        PortJson("COM65", f),
        "{\"name\":\"COM65\",\"path\":\"/dev/ttyACM0\",\"usb_vendor\":\"2341\",\"usb_product\":\"0043\","
        "\"serial\":\"\",\"manufacturer\":\"\",\"product\":\"\",\"by_id\":\"/dev/serial/by-id/usb-Arduino_Uno-if00\","
        "\"location\":\"1-3\",\"by_path\":\"\",\"driver\":\"\"}");
}

TEST_F(FakeSystem, UartAndUnknownNodesHaveTheirPathOnly) {
    for (const char* path : {"/dev/ttyS0", "/dev/ttyUSB7", "/dev/pts/3"}) {
        const TPortFacts f = Describe(path);
        EXPECT_EQ(f.DevicePath, path);
        EXPECT_EQ(f.UsbVendor, "") << path;
        EXPECT_EQ(f.UsbProduct, "") << path;
        EXPECT_EQ(f.StableName, "") << path;
        EXPECT_EQ(PortLine("COM1", f), std::string("COM1 ") + path);
    }
}

// Since Linux 6.5 a UART's tty hangs below the serial core's port and
// controller devices, whose drivers ("port", "ctrl") name no hardware.
TEST_F(FakeSystem, UartDriverIsTheOneAboveTheSerialCore) {
    const fs::path uart = root / "sys/devices/platform/serial8250";
    const std::string core = "serial8250/serial8250:0/serial8250:0.1";
    Tty("ttyS1", "sys/devices/platform/" + core);
    for (const char* kind : {"serial-base/drivers/port", "serial-base/drivers/ctrl", "platform/drivers/serial8250"})
        fs::create_directories(root / "sys/bus" / kind);
    for (const auto& [device, driver] :
         {std::pair{uart / "serial8250:0/serial8250:0.1", "port"}, std::pair{uart / "serial8250:0", "ctrl"}}) {
        fs::create_symlink(fs::relative(root / "sys/bus/serial-base", device), device / "subsystem");
        fs::create_symlink(fs::relative(root / "sys/bus/serial-base/drivers" / driver, device), device / "driver");
    }
    fs::create_symlink(fs::relative(root / "sys/bus/platform/drivers/serial8250", uart), uart / "driver");
    EXPECT_EQ(PortLine("COM2", Describe("/dev/ttyS1")), "COM2 /dev/ttyS1 driver=serial8250");
}

TEST(PortListing, NothingKnownIsTheNameAlone) { EXPECT_EQ(PortLine("COM3", TPortFacts{}), "COM3"); }

}  // namespace
