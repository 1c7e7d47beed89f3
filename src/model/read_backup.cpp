#include "read_backup.h"

#include <algorithm>
#include <cstdio>

#include "file_io.h"
#include "program_version.h"
#include "set_file.h"

namespace kq904 {

namespace {

// Enough for a second's worth of readings, and a bound for a folder that refuses every name.
constexpr int kMaxSuffix = 999;

} // namespace

std::string readBackupName(const std::tm& localTime, std::uint32_t serial, int suffix)
{
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &localTime);
    char name[80];
    if (suffix > 0)
        std::snprintf(name, sizeof name, "%s-SN%07u-%d.set", stamp, serial, suffix);
    else
        std::snprintf(name, sizeof name, "%s-SN%07u.set", stamp, serial);
    return name;
}

SavedBackup saveReadBackup(
    const RadioImage& image, const std::filesystem::path& folder, const std::tm& localTime)
{
    SavedBackup saved;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        saved.result =
            Result::failure("cannot make the folder " + pathText(folder) + ": " + ec.message());
        return saved;
    }
    // The file as File > Save would write it: the version text goes into the factory block.
    RadioImage copy = image;
    auto version = copy.factory.range(FactorySettings::versionText);
    std::copy_n(kProgramVersion, version.size(), version.begin());
    const auto bytes = encodeSetFile(copy);

    const std::uint32_t serial = image.id.get(IdSettings::serialNumber);
    for (int suffix = 0; suffix <= kMaxSuffix; ++suffix) {
        const std::filesystem::path path = folder / readBackupName(localTime, serial, suffix);
        bool nameTaken = false;
        const Result written = writeNewFile(path, bytes, nameTaken);
        if (nameTaken)
            continue;
        if (written)
            saved.path = path;
        else
            saved.result = written;
        return saved;
    }
    saved.result = Result::failure("no free backup name left in " + pathText(folder));
    return saved;
}

} // namespace kq904
