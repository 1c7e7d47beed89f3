#include "recent_files.h"

#include <QDir>
#include <QFileInfo>

namespace kq904 {

namespace {

QString key(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}

// Entries are kept as absolute paths, so one file is one entry however it was named.
QString normalised(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

RecentFileList::RecentFileList(QSettings& store)
    : store_(store)
{
    store_.beginGroup(QLatin1String(kSection));
    for (int i = 0; i < kSize; ++i) {
        const QString path = store_.value(key(i)).toString();
        if (!path.isEmpty() && !entries_.contains(path))
            entries_.append(path);
    }
    store_.endGroup();
}

void RecentFileList::add(const QString& path)
{
    const QString entry = normalised(path);
    entries_.removeAll(entry);
    entries_.prepend(entry);
    while (entries_.size() > kSize)
        entries_.removeLast();
    store();
}

void RecentFileList::remove(const QString& path)
{
    if (entries_.removeAll(normalised(path)) + entries_.removeAll(path) > 0)
        store();
}

QString RecentFileList::menuText(int index, const QString& path)
{
    QString name = QFileInfo(path).fileName();
    // A literal '&' in a file name must not become an accelerator.
    name.replace(QLatin1Char('&'), QLatin1String("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(name);
}

void RecentFileList::store()
{
    store_.beginGroup(QLatin1String(kSection));
    store_.remove(QString());
    for (int i = 0; i < entries_.size(); ++i)
        store_.setValue(key(i), entries_.at(i));
    store_.endGroup();
    store_.sync();
}

} // namespace kq904
