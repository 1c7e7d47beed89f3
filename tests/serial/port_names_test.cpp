// How "COMn" and device paths map to the device the serial port opens.
#include <gtest/gtest.h>

#include <QStringList>

#include "link/port_catalog.h"
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

// kq904-cli ports and the Port setting form: which COMn leads to each device, what the adapter
// says of itself, and the mapped devices the system does not report.
TEST(PortCatalog, EveryDeviceAndEveryMappedPortOnceWithWhatIsKnown)
{
    SerialDevice adapter{"ttyUSB0", "/dev/ttyUSB0"};
    adapter.stablePath = "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0";
    adapter.vendorId = 0x1a86;
    adapter.productId = 0x7523;
    adapter.manufacturer = "QinHeng Electronics";
    adapter.description = "CH340\tserial converter";
    const PortCatalog catalog({{"ttyS0", "/dev/ttyS0"}, adapter},
        {{3, "/dev/ttyS0"}, {7, "/tmp/radio"}, {9, "/tmp/radio"}}, false);
    QStringList lines;
    for (const PortCatalogEntry& entry : catalog.entries())
        lines << portsLine(entry);
    EXPECT_EQ(lines.join('\n').toStdString(),
        QStringList({"COM1\t/dev/ttyUSB0\t/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0\t"
                     "1a86:7523\tQinHeng Electronics\tCH340 serial converter",
                        "COM2\t/dev/ttyS0\t-\t-\t-\t-", "COM7\t/tmp/radio\t-\t-\t-\t-"})
            .join('\n')
            .toStdString());

    EXPECT_EQ(
        deviceWords(*catalog.deviceFor(1)).toStdString(), "/dev/ttyUSB0, CH340 serial converter");
    EXPECT_FALSE(catalog.deviceFor(4).has_value());
    ASSERT_TRUE(catalog.onlyUsbAdapter().has_value());
    EXPECT_EQ(catalog.portNumberOf(*catalog.onlyUsbAdapter()), 1);
    const PortCatalog two({adapter, {"ttyACM0", "/dev/ttyACM0"}}, {}, false);
    EXPECT_FALSE(two.onlyUsbAdapter().has_value());
    const PortCatalog windows({{"COM3", "\\\\.\\COM3"}}, {{1, "ignored"}}, true);
    ASSERT_EQ(windows.entries().size(), 1u);
    EXPECT_EQ(portsLine(windows.entries()[0]).toStdString(), "COM3\t\\\\.\\COM3\t-\t-\t-\t-");
    EXPECT_EQ(deviceWords(*windows.deviceFor(3), "COM3").toStdString(), "");
}
