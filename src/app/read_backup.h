#pragma once
// The desktop program keeps every good reading of a radio as a set file in the folder "backups"
// of the data directory, unless the profile says "READ_BACKUP" = 0. A backup that cannot be
// written is reported; the reading itself stays good either way.

#include <QDateTime>
#include <QString>
#include <filesystem>

#include "model/radio_image.h"

namespace kq904 {

class ProfileSettings;

class ReadBackup {
public:
    ReadBackup(ProfileSettings& profile, std::filesystem::path dataDir);

    struct Outcome {
        bool saved = false; // a backup file was written
        QString text; // for the user; empty when backups are turned off
    };

    // After "READ OK": saves the image as read, named after `when` (local time).
    Outcome keep(const RadioImage& image, const QDateTime& when = QDateTime::currentDateTime());

    std::filesystem::path folder() const;

private:
    ProfileSettings& profile_;
    std::filesystem::path dataDir_;
};

} // namespace kq904
