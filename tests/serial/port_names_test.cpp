// How "COMn" and device paths map to the device the serial port opens.
#include <gtest/gtest.h>

#include "link/port_names.h"

using namespace kq904;

namespace {

// Deliberately out of order, as the system may report them.
const std::vector<SerialDevice> kDevices = {
    {"ttyS1", "/dev/ttyS1"},
    {"ttyUSB10", "/dev/ttyUSB10"},
    {"ttyS0", "/dev/ttyS0"},
    {"ttyACM0", "/dev/ttyACM0"},
    {"ttyUSB2", "/dev/ttyUSB2"},
};

struct Case {
    const char* name;
    const char* device; // empty: does not resolve
};

} // namespace

TEST(PortNames, ComNumbersCountUsbAdaptersFirstThenBuiltInPorts)
{
    const std::map<int, QString> configured = {{4, "/dev/serial/by-id/usb-radio-cable"}};
    const PortNameResolver resolver(kDevices, configured, false);
    const Case cases[] = {
        {"COM1", "/dev/ttyACM0"},
        {"COM2", "/dev/ttyUSB2"},
        {"COM3", "/dev/ttyUSB10"}, // numbers compare as numbers
        {"COM4", "/dev/serial/by-id/usb-radio-cable"}, // the profile's choice wins
        {"COM5", "/dev/ttyS1"},
        {"com5", "/dev/ttyS1"},
        {"COM6", ""}, // only five devices
        {"COM42", ""},
        {"COM0", ""}, // a stored index of -1
        {"", ""},
        {"/dev/pts/7", "/dev/pts/7"}, // paths as they are
        {"  /tmp/radio-link ", "/tmp/radio-link"},
        {"ttyS0", "ttyS0"}, // a device name QSerialPort completes itself
        {"COM-1", "COM-1"}, // not a COM number, so taken as a device name
        {"COM3a", "COM3a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ResolvedPort port = resolver.resolve(c.name);
        EXPECT_EQ(port.device.toStdString(), c.device);
        EXPECT_EQ(port.ok(), port.problem.isEmpty());
    }
}

TEST(PortNames, MissingDeviceSaysWhy)
{
    const PortNameResolver resolver({{"ttyS0", "/dev/ttyS0"}}, {}, false);
    const ResolvedPort port = resolver.resolve("COM3");
    EXPECT_FALSE(port.ok());
    EXPECT_TRUE(port.problem.contains("1 serial device")) << port.problem.toStdString();
}

TEST(PortNames, WindowsNamesAreDevicesOfTheirOwn)
{
    const PortNameResolver resolver(kDevices, {{3, "/dev/ttyS1"}}, true);
    EXPECT_EQ(resolver.resolve("COM3").device, "COM3");
    EXPECT_EQ(resolver.resolve("com12").device, "COM12");
    EXPECT_FALSE(resolver.resolve("COM0").ok());
}

TEST(PortNames, OverrideSendsEveryNameToOneDevice)
{
    PortNameResolver resolver(kDevices, {}, false);
    EXPECT_FALSE(resolver.overridden());
    resolver.overrideAll("/dev/pts/9");
    EXPECT_TRUE(resolver.overridden());
    for (const char* name : {"COM1", "COM42", "COM0", "/dev/ttyS0"})
        EXPECT_EQ(resolver.resolve(name).device, "/dev/pts/9") << name;
}

TEST(PortNames, TableForThePortFormCoversCom1ToCom42)
{
    const PortNameResolver resolver(kDevices, {{40, "/dev/ttyRadio"}}, false);
    const std::vector<PortAssignment> table = resolver.comPortTable();
    ASSERT_EQ(table.size(), 42u);
    EXPECT_EQ(table.front().portName, "COM1");
    EXPECT_EQ(table.front().device, "/dev/ttyACM0");
    EXPECT_EQ(table[4].device, "/dev/ttyS1");
    EXPECT_TRUE(table[5].device.isEmpty());
    EXPECT_EQ(table[39].portNumber, 40);
    EXPECT_EQ(table[39].device, "/dev/ttyRadio");
    EXPECT_EQ(table.back().portName, "COM42");
}

// A radio that never answers on "COM1" is most often a cable on another port: a built-in port
// reached through a COM name is pointed out, nothing else is.
TEST(PortNames, BuiltInPortIsPointedOutOnlyBehindAComName)
{
    const std::pair<QString, QString> noted[] = {{"COM1", "/dev/ttyS0"}, {"com2", "/dev/ttyAMA0"}};
    const std::pair<QString, QString> plain[] = {{"COM1", "/dev/ttyUSB0"}, {"COM3", "/dev/ttyACM1"},
        {"/dev/ttyS0", "/dev/ttyS0"}, {"COM1", "/dev/ttySx"}};
    for (const auto& [name, device] : noted)
        EXPECT_TRUE(builtInPortNote(name, device).startsWith(name.toUpper() + " is " + device));
    for (const auto& [name, device] : plain)
        EXPECT_TRUE(builtInPortNote(name, device).isEmpty()) << name.toStdString();
}
