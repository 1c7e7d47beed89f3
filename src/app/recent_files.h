#pragma once
// The File menu's recent-file list: the last four set files opened or saved, newest first,
// kept in the profile under "Recent File List" ("File1" ... "File4") so it survives the run.

#include <QSettings>
#include <QString>
#include <QStringList>

namespace kq904 {

class RecentFileList {
public:
    static constexpr int kSize = 4;
    static constexpr const char* kSection = "Recent File List";

    explicit RecentFileList(QSettings& store);

    // Newest first; at most four.
    QStringList entries() const { return entries_; }
    bool isEmpty() const { return entries_.isEmpty(); }

    // Puts the file first (moving it up when already listed, dropping the oldest when full)
    // and stores the list.
    void add(const QString& path);
    // Takes a file off the list (it could not be opened) and stores the list.
    void remove(const QString& path);

    // "&1 name" for the menu: the number as its accelerator, the file's name.
    static QString menuText(int index, const QString& path);

private:
    void store();

    QSettings& store_;
    QStringList entries_;
};

} // namespace kq904
