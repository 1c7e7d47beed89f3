#pragma once
// The serial ports as a person choosing one sees them: for every device the system reports and
// every "COMn" the profile maps, which COMn leads there, the device, its stable path, and what
// the hardware says of itself (USB vendor and product, manufacturer, description), so the
// programming cable can be told from a port built into the computer.
//
//   kq904-cli ports      one tab-separated line per entry (portsLine)
//   Port setting form    "COM1 (/dev/ttyUSB0, CH340 serial converter)" (deviceWords)

#include <QString>
#include <map>
#include <optional>
#include <vector>

#include "link/port_names.h"

namespace kq904 {

class ProfileSettings;

struct PortCatalogEntry {
    QString comName; // the first "COMn" that leads to the device; empty: none does
    SerialDevice device; // for a mapped device the system does not report: its path only
    bool reported = true; // the system reports the device (not only the profile names it)
};

class PortCatalog {
public:
    PortCatalog(std::vector<SerialDevice> devices, std::map<int, QString> configured,
        bool windowsNames = systemUsesComNames());
    // The devices present now and the profile's "Ports" section.
    static PortCatalog forSystem(const ProfileSettings& profile);

    const PortNameResolver& resolver() const { return resolver_; }
    // Every port name leads to `device` (kq904 --simulate): no adapter is offered then.
    void overrideAll(const QString& device) { resolver_.overrideAll(device); }

    // Every reported device (in COMn counting order), then every mapped device the system does
    // not report, each once.
    std::vector<PortCatalogEntry> entries() const;

    // The device "COMn" leads to, with what is known about it; nothing when it leads nowhere.
    std::optional<SerialDevice> deviceFor(int portNumber) const;
    // The one USB serial adapter present; nothing when there is none or more than one.
    std::optional<SerialDevice> onlyUsbAdapter() const;
    // The first "COMn" that leads to `device`; 0 when none does.
    int portNumberOf(const SerialDevice& device) const;

private:
    // The reported device `path` names (the same path, its name, or the same file through a
    // link); nothing when it names none of them.
    const SerialDevice* reported(const QString& path) const;

    std::vector<SerialDevice> devices_;
    std::map<int, QString> configured_; // empty where COMn is a device name of its own
    PortNameResolver resolver_;
};

// One line of kq904-cli ports, fields separated by tabs, "-" for what is unknown: the COM name,
// the device path, the stable path, USB vendor:product in hex, the manufacturer, the
// description.
QString portsLine(const PortCatalogEntry& entry);

// "/dev/ttyUSB0, CH340 serial converter": the device and what it says of itself, for a port
// list. The device is left out where it is the port name itself (Windows' "COM3").
QString deviceWords(const SerialDevice& device, const QString& portName = {});

} // namespace kq904
