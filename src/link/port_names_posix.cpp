#include "link/port_names.h"

#include <QDir>
#include <QFileInfo>

namespace kq904 {

bool systemUsesComNames()
{
    return false; // serial ports are device files: /dev/ttyUSB0
}

QString stableDevicePath(const QString& devicePath)
{
    // udev keeps a link per USB serial adapter, named after its vendor, product and serial
    // number, that stays the same whichever ttyUSBn the adapter gets.
    const QString target = QFileInfo(devicePath).canonicalFilePath();
    if (target.isEmpty())
        return {};
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    const QStringList links =
        byId.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& link : links) {
        const QString path = byId.filePath(link);
        if (QFileInfo(path).canonicalFilePath() == target)
            return path;
    }
    return {};
}

} // namespace kq904
