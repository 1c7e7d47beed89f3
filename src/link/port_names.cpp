#include "link/port_names.h"

#include <QRegularExpression>
#include <QSerialPortInfo>
#include <algorithm>

#include "link/profile_settings.h"

namespace kq904 {

namespace {

bool isUsbAdapter(const SerialDevice& device)
{
    return device.name.startsWith(QLatin1String("ttyUSB"))
        || device.name.startsWith(QLatin1String("ttyACM"));
}

std::optional<std::uint16_t> identifier(bool known, quint16 value)
{
    return known ? std::optional<std::uint16_t>(value) : std::nullopt;
}

// Name order that counts trailing numbers as numbers: ttyS2 < ttyS10, ttyUSB0 < ttyUSB1.
bool nameBefore(const QString& a, const QString& b)
{
    static const QRegularExpression trailingNumber(QStringLiteral("^(.*?)(\\d+)$"));
    const auto ma = trailingNumber.match(a);
    const auto mb = trailingNumber.match(b);
    if (ma.hasMatch() && mb.hasMatch() && ma.captured(1) == mb.captured(1)) {
        const qulonglong na = ma.captured(2).toULongLong();
        const qulonglong nb = mb.captured(2).toULongLong();
        if (na != nb)
            return na < nb;
    }
    return a < b;
}

} // namespace

std::vector<SerialDevice> systemSerialDevices()
{
    std::vector<SerialDevice> devices;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : ports) {
        SerialDevice device{info.portName(), info.systemLocation()};
        device.stablePath = stableDevicePath(device.path);
        device.vendorId = identifier(info.hasVendorIdentifier(), info.vendorIdentifier());
        device.productId = identifier(info.hasProductIdentifier(), info.productIdentifier());
        device.manufacturer = info.manufacturer().trimmed();
        device.description = info.description().trimmed();
        devices.push_back(std::move(device));
    }
    return devices;
}

bool isUsbSerialAdapter(const SerialDevice& device)
{
    return isUsbAdapter(device) || device.vendorId.has_value();
}

std::vector<SerialDevice> comNumberingOrder(std::vector<SerialDevice> devices)
{
    std::sort(devices.begin(), devices.end(), [](const SerialDevice& a, const SerialDevice& b) {
        const bool usbA = isUsbAdapter(a);
        const bool usbB = isUsbAdapter(b);
        if (usbA != usbB)
            return usbA;
        return nameBefore(a.name, b.name);
    });
    return devices;
}

std::optional<int> comPortNumber(const QString& portName)
{
    if (!portName.startsWith(QLatin1String("COM"), Qt::CaseInsensitive) || portName.size() < 4)
        return std::nullopt;
    const QString digits = portName.mid(3);
    // Digits only: "COM-1" and "COM 3" are not port names.
    for (QChar c : digits) {
        if (!c.isDigit())
            return std::nullopt;
    }
    bool ok = false;
    const int number = digits.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

QString portDescription(const QString& portName, const QString& device)
{
    if (portName.isEmpty() || portName == device)
        return device;
    return QStringLiteral("%1 (%2)").arg(portName, device);
}

QString builtInPortNote(const QString& portName, const QString& device)
{
    if (!comPortNumber(portName.trimmed()))
        return {};
    const QString name = device.mid(device.lastIndexOf(QLatin1Char('/')) + 1);
    static const QRegularExpression builtIn(QStringLiteral("^tty(S|AMA)\\d+$"));
    if (!builtIn.match(name).hasMatch())
        return {};
    return QStringLiteral("%1 is %2, a serial port built into the computer; a USB programming "
                          "cable appears as ttyUSB or ttyACM")
        .arg(portName.trimmed().toUpper(), device);
}

PortNameResolver::PortNameResolver(
    std::vector<SerialDevice> devices, std::map<int, QString> configured, bool windowsNames)
    : ordered_(comNumberingOrder(std::move(devices)))
    , configured_(std::move(configured))
    , windowsNames_(windowsNames)
{ }

PortNameResolver PortNameResolver::forSystem(const ProfileSettings& profile)
{
    return PortNameResolver(systemSerialDevices(), profile.portDevices());
}

ResolvedPort PortNameResolver::resolve(const QString& portName) const
{
    if (!override_.isEmpty())
        return {override_, {}};
    const QString name = portName.trimmed();
    if (name.isEmpty())
        return {{}, QStringLiteral("no port given")};
    const std::optional<int> number = comPortNumber(name);
    if (!number)
        return {name, {}}; // a device path or a device name the system knows
    if (*number < 1)
        return {{}, QStringLiteral("there is no port 0 or below")};
    if (windowsNames_)
        return {QStringLiteral("COM%1").arg(*number), {}};
    if (const auto it = configured_.find(*number); it != configured_.end())
        return {it->second, {}};
    const std::size_t index = static_cast<std::size_t>(*number) - 1;
    if (index < ordered_.size())
        return {ordered_[index].path, {}};
    return {{},
        QStringLiteral("no device is configured for it and only %1 serial device(s) found")
            .arg(ordered_.size())};
}

std::vector<PortAssignment> PortNameResolver::comPortTable() const
{
    std::vector<PortAssignment> table;
    for (int n = 1; n <= ProfileSettings::kPortCount; ++n) {
        const QString name = QStringLiteral("COM%1").arg(n);
        table.push_back({n, name, resolve(name).device});
    }
    return table;
}

} // namespace kq904
