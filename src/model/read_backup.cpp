#include "read_backup.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "set_file.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace kq904 {

namespace {

// Enough for a second's worth of readings, and a bound for a folder that refuses every name.
constexpr int kMaxSuffix = 999;

enum class Created { Ok, NameTaken, Failed };

// Creates `path` only if nothing is there yet, and writes the bytes through to the disk.
Created writeNewFile(
    const std::filesystem::path& path, std::span<const std::uint8_t> bytes, std::string& why)
{
    // "x": fail when the file exists, checked and created in one step.
    std::FILE* file = std::fopen(path.string().c_str(), "wbx");
    if (!file) {
        if (errno == EEXIST)
            return Created::NameTaken;
        why = std::strerror(errno);
        return Created::Failed;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
#ifndef _WIN32
    ok = ::fsync(::fileno(file)) == 0 && ok;
#endif
    if (!ok)
        why = std::strerror(errno);
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        if (why.empty())
            why = std::strerror(errno);
        std::error_code ignored;
        std::filesystem::remove(path, ignored); // no half-written backup left behind
        return Created::Failed;
    }
    return Created::Ok;
}

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
            Result::failure("cannot make the folder " + folder.string() + ": " + ec.message());
        return saved;
    }
    // The file as File > Save would write it: the version text goes into the factory block.
    RadioImage copy = image;
    auto version = copy.factory.range(FactorySettings::versionText);
    std::copy_n(kSetFileVersion, version.size(), version.begin());
    const auto bytes = encodeSetFile(copy);

    const std::uint32_t serial = image.id.get(IdSettings::serialNumber);
    for (int suffix = 0; suffix <= kMaxSuffix; ++suffix) {
        const std::filesystem::path path = folder / readBackupName(localTime, serial, suffix);
        std::string why;
        switch (writeNewFile(path, bytes, why)) {
        case Created::Ok:
            saved.path = path;
            return saved;
        case Created::NameTaken:
            continue;
        case Created::Failed:
            saved.result = Result::failure("cannot write " + path.string() + ": " + why);
            return saved;
        }
    }
    saved.result = Result::failure("no free backup name left in " + folder.string());
    return saved;
}

} // namespace kq904
