#include "link/port_catalog.h"

#include <QFileInfo>
#include <QStringList>
#include <algorithm>

#include "link/profile_settings.h"

namespace kq904 {

namespace {

QString orDash(const QString& text)
{
    const QString simple = text.simplified(); // a tab or line break would split the line
    return simple.isEmpty() ? QStringLiteral("-") : simple;
}

QString hex4(std::uint16_t value)
{
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0'));
}

} // namespace

PortCatalog::PortCatalog(
    std::vector<SerialDevice> devices, std::map<int, QString> configured, bool windowsNames)
    : devices_(comNumberingOrder(std::move(devices)))
    , configured_(windowsNames ? std::map<int, QString>() : configured)
    , resolver_(devices_, std::move(configured), windowsNames)
{ }

PortCatalog PortCatalog::forSystem(const ProfileSettings& profile)
{
    return PortCatalog(systemSerialDevices(), profile.portDevices());
}

const SerialDevice* PortCatalog::reported(const QString& path) const
{
    if (path.isEmpty())
        return nullptr;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    for (const SerialDevice& device : devices_) {
        if (device.path == path || device.name == path
            || (!canonical.isEmpty() && QFileInfo(device.path).canonicalFilePath() == canonical))
            return &device;
    }
    return nullptr;
}

int PortCatalog::portNumberOf(const SerialDevice& device) const
{
    const int last = configured_.empty()
        ? ProfileSettings::kPortCount
        : std::max(ProfileSettings::kPortCount, configured_.rbegin()->first);
    for (int n = 1; n <= last; ++n) {
        const QString target = resolver_.resolve(QStringLiteral("COM%1").arg(n)).device;
        if (target.isEmpty())
            continue;
        const SerialDevice* found = reported(target);
        if (found ? found->path == device.path : target == device.path)
            return n;
    }
    return 0;
}

std::optional<SerialDevice> PortCatalog::deviceFor(int portNumber) const
{
    const QString target = resolver_.resolve(QStringLiteral("COM%1").arg(portNumber)).device;
    if (target.isEmpty())
        return std::nullopt;
    if (const SerialDevice* found = reported(target))
        return *found;
    return SerialDevice{QFileInfo(target).fileName(), target};
}

std::optional<SerialDevice> PortCatalog::onlyUsbAdapter() const
{
    const auto adapters = std::count_if(devices_.begin(), devices_.end(), isUsbSerialAdapter);
    if (adapters != 1 || resolver_.overridden())
        return std::nullopt;
    return *std::find_if(devices_.begin(), devices_.end(), isUsbSerialAdapter);
}

std::vector<PortCatalogEntry> PortCatalog::entries() const
{
    std::vector<PortCatalogEntry> entries;
    for (const SerialDevice& device : devices_) {
        const int n = portNumberOf(device);
        entries.push_back({n > 0 ? QStringLiteral("COM%1").arg(n) : QString(), device, true});
    }
    for (const auto& [number, path] : configured_) {
        if (reported(path))
            continue;
        const bool listed = std::any_of(entries.begin(), entries.end(),
            [&](const PortCatalogEntry& e) { return e.device.path == path; });
        if (listed)
            continue;
        SerialDevice device{QFileInfo(path).fileName(), path};
        device.stablePath = stableDevicePath(path);
        entries.push_back({QStringLiteral("COM%1").arg(number), device, false});
    }
    return entries;
}

QString portsLine(const PortCatalogEntry& entry)
{
    const SerialDevice& d = entry.device;
    const QString usb = d.vendorId && d.productId
        ? hex4(*d.vendorId) + QLatin1Char(':') + hex4(*d.productId)
        : QStringLiteral("-");
    return QStringList{orDash(entry.comName), orDash(d.path), orDash(d.stablePath), usb,
        orDash(d.manufacturer), orDash(d.description)}
        .join(QLatin1Char('\t'));
}

QString deviceWords(const SerialDevice& device, const QString& portName)
{
    QStringList words;
    if (device.path.compare(portName, Qt::CaseInsensitive) != 0
        && device.name.compare(portName, Qt::CaseInsensitive) != 0)
        words << device.path;
    // The description names the chip or cable best; the manufacturer stands in without one.
    const QString what =
        (!device.description.isEmpty() ? device.description : device.manufacturer).simplified();
    if (!what.isEmpty() && !words.contains(what))
        words << what;
    return words.join(QStringLiteral(", "));
}

} // namespace kq904
