#include "platform/portList.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/serialPort.h"

using namespace platform;

namespace {

TEST(PortList, ComNames) {
    EXPECT_EQ(ComPortNumber("COM1"), 1);
    EXPECT_EQ(ComPortNumber("com255"), 255);
    EXPECT_EQ(ComPortNumber("CoM7"), 7);
    for (const char* bad : {"COM", "COM0", "COM256", "COM007", "COM12A", "LPT1", "COM1234", "", " COM1"})
        EXPECT_EQ(ComPortNumber(bad), 0) << bad;
    EXPECT_EQ(ComPortName(33), "COM33");
    EXPECT_EQ(ComPortName(0), "");
    EXPECT_EQ(ComPortName(256), "");
    for (const char* other : {"\\\\.\\COM7", "COM7:", "\\\\.\\com7:"}) EXPECT_EQ(PlainPortName(other), "COM7") << other;
    for (const char* kept : {"COM7", "\\\\.\\LPT1", "COM0:", "/dev/ttyS0", "\\\\.\\"})
        EXPECT_EQ(PlainPortName(kept), kept) << kept;
}

TEST(PortList, FoundDevicesHaveTheNamesOfTheirFamilies) {
    EXPECT_EQ(backend::SystemDevicePath(1), "/dev/ttyS0");
    EXPECT_EQ(backend::SystemDevicePath(32), "/dev/ttyS31");
    EXPECT_EQ(backend::SystemDevicePath(33), "/dev/ttyUSB0");
    EXPECT_EQ(backend::SystemDevicePath(66), "/dev/ttyACM1");
    EXPECT_EQ(backend::SystemDevicePath(255), "");
    for (const TFoundPort& f : FindSerialDevices())
        EXPECT_EQ(backend::SystemDevicePath(ComPortNumber(f.Name)), f.DevicePath);
}

TEST(PortList, RegisteredPathsWinAndAreListedFirst) {
    ASSERT_TRUE(RegisterPortPath("com200", "/dev/pts/77"));
    EXPECT_EQ(RegisteredPortPath("COM200"), "/dev/pts/77");
    EXPECT_EQ(DevicePathOfPort("Com200"), "/dev/pts/77");
    EXPECT_FALSE(RegisterPortPath("LPT1", "/dev/pts/77"));
    EXPECT_FALSE(RegisterPortPath("COM9", ""));
    // A registration replaces the system's device of that name.
    ASSERT_TRUE(RegisterPortPath("COM33", "/dev/pts/78"));
    EXPECT_EQ(DevicePathOfPort("COM33"), "/dev/pts/78");

    std::vector<std::string> listed;
    ASSERT_TRUE(SystemSerialBackend().ListPorts([&](const std::string& n) { listed.push_back(n); }));
    ASSERT_GE(listed.size(), 2u);
    EXPECT_EQ(listed[0], "COM33");
    EXPECT_EQ(listed[1], "COM200");
    EXPECT_EQ(std::count(listed.begin(), listed.end(), "COM33"), 1);

    UnregisterPortPath("COM200");
    UnregisterPortPath("COM33");
    EXPECT_FALSE(RegisteredPortPath("COM200"));
    EXPECT_EQ(DevicePathOfPort("COM33"), "/dev/ttyUSB0");
    EXPECT_FALSE(DevicePathOfPort("COM250"));
    EXPECT_FALSE(DevicePathOfPort("LPT1"));
}

TEST(PortList, FreeNameSkipsTakenNamesAndKeepsKnownPaths) {
    const std::vector<TFoundPort> found = FindSerialDevices();
    ASSERT_TRUE(RegisterPortPath("COM1", "/dev/pts/90"));
    const std::string a = RegisterFreePortPath("/dev/pts/91");
    const std::string b = RegisterFreePortPath("/dev/pts/92");
    ASSERT_FALSE(a.empty());
    ASSERT_FALSE(b.empty());
    EXPECT_NE(a, "COM1");
    EXPECT_NE(a, b);
    EXPECT_LT(ComPortNumber(a), ComPortNumber(b));
    for (const TFoundPort& f : found) {
        EXPECT_NE(a, f.Name);
        EXPECT_NE(b, f.Name);
        // A device that is there already keeps its own name.
        EXPECT_EQ(RegisterFreePortPath(f.DevicePath), f.Name);
    }
    EXPECT_EQ(RegisterFreePortPath("/dev/pts/91"), a);
    EXPECT_EQ(RegisterFreePortPath("/dev/pts/90"), "COM1");
    EXPECT_EQ(RegisterFreePortPath(""), "");
    UnregisterPortPath("COM1");
    UnregisterPortPath(a);
    UnregisterPortPath(b);
}

}  // namespace
