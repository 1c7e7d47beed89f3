#include "link/profile_settings.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace kq904 {

namespace {

const QString kSection = QStringLiteral("Settings/");
const QString kPortsGroup = QStringLiteral("Ports");

} // namespace

ProfileSettings::ProfileSettings()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
        QString::fromLatin1(kOrganisation), QString::fromLatin1(kApplication)))
{ }

ProfileSettings::ProfileSettings(const QString& iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{ }

ProfileSettings::~ProfileSettings() = default;

long long ProfileSettings::integer(const char* key, long long fallback) const
{
    const QVariant value = settings_->value(kSection + QLatin1String(key));
    if (!value.isValid())
        return fallback;
    // Stored integers come back as text from an INI file written by another run.
    bool ok = false;
    const long long number = value.toString().trimmed().toLongLong(&ok);
    return ok ? number : fallback;
}

int ProfileSettings::portIndex() const
{
    return static_cast<int>(integer("COM", 0));
}

void ProfileSettings::setPortIndex(int index)
{
    settings_->setValue(kSection + QStringLiteral("COM"), index);
}

QString ProfileSettings::portName() const
{
    return QStringLiteral("COM%1").arg(static_cast<long long>(portIndex()) + 1);
}

int ProfileSettings::baudRate() const
{
    return static_cast<int>(integer("BAUD", kDefaultBaudRate));
}

void ProfileSettings::setBaudRate(int baud)
{
    settings_->setValue(kSection + QStringLiteral("BAUD"), baud);
}

std::uint32_t ProfileSettings::serialNumber() const
{
    return static_cast<std::uint32_t>(integer("SERIAL_NUMBER", 0));
}

void ProfileSettings::setSerialNumber(std::uint32_t serial)
{
    settings_->setValue(
        kSection + QStringLiteral("SERIAL_NUMBER"), static_cast<qulonglong>(serial));
}

bool ProfileSettings::autoIncrement() const
{
    return integer("OK_ADD_ONE", 0) != 0;
}

void ProfileSettings::setAutoIncrement(bool on)
{
    settings_->setValue(kSection + QStringLiteral("OK_ADD_ONE"), on ? 1 : 0);
}

bool ProfileSettings::fastLink() const
{
    return integer("FAST_LINK", 0) == 1;
}

void ProfileSettings::setFastLink(bool on)
{
    settings_->setValue(kSection + QStringLiteral("FAST_LINK"), on ? 1 : 0);
}

bool ProfileSettings::readBackup() const
{
    return integer("READ_BACKUP", 1) != 0;
}

void ProfileSettings::setReadBackup(bool on)
{
    settings_->setValue(kSection + QStringLiteral("READ_BACKUP"), on ? 1 : 0);
}

std::map<int, QString> ProfileSettings::portDevices() const
{
    std::map<int, QString> devices;
    settings_->beginGroup(kPortsGroup);
    const QStringList keys = settings_->childKeys();
    for (const QString& key : keys) {
        if (!key.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
            continue;
        bool ok = false;
        const int number = key.mid(3).toInt(&ok);
        const QString device = settings_->value(key).toString().trimmed();
        if (ok && number > 0 && !device.isEmpty())
            devices[number] = device;
    }
    settings_->endGroup();
    return devices;
}

void ProfileSettings::setPortDevice(int portNumber, const QString& device)
{
    settings_->setValue(kPortsGroup + QStringLiteral("/COM%1").arg(portNumber), device);
}

void ProfileSettings::clearPortDevice(int portNumber)
{
    settings_->remove(kPortsGroup + QStringLiteral("/COM%1").arg(portNumber));
}

QString ProfileSettings::serialLockPath() const
{
    const QString file = settings_->fileName();
    // The Windows registry has no folder to put a lock in: the user's configuration folder
    // serves instead.
    const bool registry =
        file.startsWith(QLatin1Char('\\')) && file.contains(QLatin1String("HKEY_"));
    if (registry)
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
            + QLatin1Char('/') + QLatin1String(kOrganisation) + QLatin1Char('/')
            + QLatin1String(kApplication) + QStringLiteral(".serial.lock");
    const QFileInfo info(file);
    return info.absolutePath() + QLatin1Char('/') + info.completeBaseName()
        + QStringLiteral(".serial.lock");
}

bool ProfileSettings::sync()
{
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

} // namespace kq904
