#include "read_backup.h"

#include "link/file_path.h"
#include "link/profile_settings.h"
#include "model/read_backup.h"

namespace kq904 {

ReadBackup::ReadBackup(ProfileSettings& profile, std::filesystem::path dataDir)
    : profile_(profile)
    , dataDir_(std::move(dataDir))
{ }

std::filesystem::path ReadBackup::folder() const
{
    return dataDir_ / kBackupFolder;
}

ReadBackup::Outcome ReadBackup::keep(const RadioImage& image, const QDateTime& when)
{
    if (!profile_.readBackup())
        return {};
    const QDateTime local = when.toLocalTime();
    std::tm moment{};
    moment.tm_year = local.date().year() - 1900;
    moment.tm_mon = local.date().month() - 1;
    moment.tm_mday = local.date().day();
    moment.tm_hour = local.time().hour();
    moment.tm_min = local.time().minute();
    moment.tm_sec = local.time().second();
    const SavedBackup saved = saveReadBackup(image, folder(), moment);
    if (!saved.result)
        return {false,
            QStringLiteral("The reading was not kept as a backup: %1")
                .arg(QString::fromStdString(saved.result.error))};
    return {true, QStringLiteral("Reading kept as %1").arg(toQString(saved.path))};
}

} // namespace kq904
