#pragma once
// Port names. The program and its settings name the radio's port "COMn" (n = 1 ... 42). On
// Windows that is the device COMn itself. Elsewhere "COMn" stands for the device configured
// for it in the profile section "Ports", or else for the n-th serial device the system
// reports: USB adapters (ttyUSB*, ttyACM*) first, then built-in ports, each group in name order
// (ttyUSB2 before ttyUSB10). A device path (/dev/ttyUSB0, a pseudo-terminal) is taken as it
// is wherever a port is named.

#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace kq904 {

class ProfileSettings;

// One serial device as the system reports it, with what it says about the hardware behind it
// (USB adapters tell the most).
struct SerialDevice {
    QString name; // "ttyUSB0"
    QString path; // "/dev/ttyUSB0"
    // The path that names this adapter whatever order it was plugged in, where the system has
    // one ("/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0"); empty: none.
    QString stablePath{};
    std::optional<std::uint16_t> vendorId{};
    std::optional<std::uint16_t> productId{};
    QString manufacturer{}; // "QinHeng Electronics"
    QString description{}; // "CH340 serial converter"
};

// A USB serial adapter (the programming cable), as opposed to a port built into the computer.
bool isUsbSerialAdapter(const SerialDevice& device);

// The stable path of a device (stablePath above), found by the system's naming rules;
// port_names_<platform>.cpp. Empty where the system keeps none.
QString stableDevicePath(const QString& devicePath);

// What a port name stands for: a device the serial port can open, or why there is none.
struct ResolvedPort {
    QString device;
    QString problem; // empty when device is set; says why without repeating the port name

    bool ok() const { return !device.isEmpty(); }
};

// One line of the "COMn -> device" table the Port setting form shows.
struct PortAssignment {
    int portNumber = 0;
    QString portName; // "COM3"
    QString device; // empty when COMn stands for no device
};

// The serial devices present now, as QSerialPortInfo reports them.
std::vector<SerialDevice> systemSerialDevices();

// The devices in the order "COMn" counts them (see above).
std::vector<SerialDevice> comNumberingOrder(std::vector<SerialDevice> devices);

// The port number of "COMn" (any letter case), or nothing when the name is not of that form.
std::optional<int> comPortNumber(const QString& portName);

// "COMn (/dev/ttyS0)" when a port name stood for a device, else the device alone.
QString portDescription(const QString& portName, const QString& device);

// When "COMn" led to a port built into the computer (ttyS*, ttyAMA*), says so: a USB
// programming cable appears as ttyUSB or ttyACM, so a radio that never answers there is most
// likely on another port. Empty otherwise.
QString builtInPortNote(const QString& portName, const QString& device);

// True where "COMn" is a device name of its own (Windows); port_names_<platform>.cpp.
bool systemUsesComNames();

class PortNameResolver {
public:
    // `devices` as the system reports them (any order); `configured` from the profile section
    // "Ports". `windowsNames`: "COMn" is a device name of its own (true on Windows).
    PortNameResolver(std::vector<SerialDevice> devices, std::map<int, QString> configured,
        bool windowsNames = systemUsesComNames());
    // The devices present now and the "Ports" section of the profile.
    static PortNameResolver forSystem(const ProfileSettings& profile);

    // Every port name resolves to `device` from now on: the desktop program's --simulate points
    // all ports at the simulated radio for one run.
    void overrideAll(const QString& device) { override_ = device; }
    bool overridden() const { return !override_.isEmpty(); }

    ResolvedPort resolve(const QString& portName) const;

    // COM1 ... COM42 and the device each stands for.
    std::vector<PortAssignment> comPortTable() const;

private:
    std::vector<SerialDevice> ordered_;
    std::map<int, QString> configured_;
    bool windowsNames_;
    QString override_;
};

} // namespace kq904
