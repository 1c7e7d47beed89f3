#include "atomic_file.h"

#include <cerrno>
#include <random>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kq904 {

namespace {

Result writeFailure(const std::filesystem::path& path, const std::string& reason)
{
    return Result::failure("cannot write " + path.string() + ": " + reason);
}

Result writeFailure(const std::filesystem::path& path, int error)
{
    return writeFailure(path, std::generic_category().message(error));
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

std::string randomSuffix()
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device source;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string suffix(8, ' ');
    for (char& c : suffix)
        c = kLetters[pick(source)];
    return suffix;
}

// The file a write to `path` must replace: through a symbolic link, the file it names, so that
// the link itself survives the rename.
std::filesystem::path replacedFile(const std::filesystem::path& path)
{
    std::error_code ec;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec)))
        return path;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : resolved;
}

// Durability of the rename itself; the new content is already in place, so a directory that
// cannot be synced is not a failed write.
void syncDirectory(const std::filesystem::path& dir)
{
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    (void)::fsync(fd);
    ::close(fd);
}

} // namespace

Result writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    const std::filesystem::path target = replacedFile(path);
    struct stat existing { };
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return writeFailure(path, EISDIR);
    // Renaming over a device or a pipe would replace the node itself.
    if (exists && !S_ISREG(existing.st_mode))
        return writeFailure(path, "not a regular file");

    std::filesystem::path dir = target.parent_path();
    if (dir.empty())
        dir = ".";
    const std::string stem = "." + target.filename().string() + ".";

    // O_EXCL with a random name instead of mkstemp: the file is created with the usual 0666 less
    // the umask, as a plain create of the target would have been.
    std::filesystem::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = dir / (stem + randomSuffix() + ".tmp");
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return writeFailure(path, errno);
    }
    if (fd < 0)
        return writeFailure(path, EEXIST);

    if (exists)
        (void)::fchmod(fd, existing.st_mode & 07777); // best effort: the content matters more

    if (!writeAll(fd, bytes) || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(temporary.c_str());
        return writeFailure(path, error);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return writeFailure(path, error);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return writeFailure(path, error);
    }
    syncDirectory(dir);
    return Result::success();
}

} // namespace kq904
