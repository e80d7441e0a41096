// Device instance IDs as Windows reports them for serial adapters.
#include "platform/usbInstanceId.h"

#include <gtest/gtest.h>

namespace {

TEST(usbInstanceId, TellsTheAdapterOfEachShape) {
    const struct {
        const char* id;
        const char* vendor;
        const char* product;
        const char* serial;
        bool interface;
    } cases[] = {
        {"USB\\VID_2341&PID_0043\\85736323838351F0E1C1", "2341", "0043", "85736323838351F0E1C1", false},
        {"USB\\VID_1A86&PID_7523&MI_00\\6&2B1D5E0&0&0000", "1a86", "7523", "", true},
        {"USB\\VID_10C4&PID_EA60\\5&1A2B3C4D&0&2", "10c4", "ea60", "", false},
        {"FTDIBUS\\VID_0403+PID_6001+A1B2C3A\\0000", "0403", "6001", "A1B2C3", false},
        {"FTDIBUS\\VID_0403+PID_6010+FT4XYZB\\0000", "0403", "6010", "FT4XYZ", false},
        {"usb\\vid_0403&pid_6015&rev_1000\\DN01ABCD", "0403", "6015", "DN01ABCD", false},
    };
    for (const auto& c : cases) {
        platform::TUsbInstance usb;
        ASSERT_TRUE(platform::ParseUsbInstanceId(c.id, usb)) << c.id;
        EXPECT_EQ(usb.Vendor, c.vendor) << c.id;
        EXPECT_EQ(usb.Product, c.product) << c.id;
        EXPECT_EQ(usb.Serial, c.serial) << c.id;
        EXPECT_EQ(usb.Interface, c.interface) << c.id;
    }
    for (const char* other : {"ACPI\\PNP0501\\1", "ROOT\\PORTS\\0000", "USB\\ROOT_HUB30\\4&1234&0&0",
                              "USB\\VID_12&PID_0043\\X", "USB\\VID_2341&PID_0043", "", "USBX\\VID_2341&PID_0043\\1"}) {
        platform::TUsbInstance usb;
        EXPECT_FALSE(platform::ParseUsbInstanceId(other, usb)) << other;
    }
}

}  // namespace
