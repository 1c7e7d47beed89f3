// file_io.h on POSIX systems: open/read/write/fsync/rename.
#include "file_io.h"

#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "file_io_platform.h"

namespace kq904 {

namespace {

using fileio::errnoText;
using fileio::failure;

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

// Writes, flushes to the disk and closes; on failure removes the file. errno tells why.
bool fillAndClose(int fd, const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(path.c_str());
        errno = error;
        return false;
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(path.c_str());
        errno = error;
        return false;
    }
    return true;
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

FileHead readFileHead(const std::filesystem::path& path, std::size_t maxBytes)
{
    FileHead head;
    // Non-blocking, so that a pipe in place of a file cannot hang the program; it is refused
    // below, and regular files ignore the flag.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        head.result = failure("cannot open", path, errnoText(errno));
        return head;
    }
    struct stat info { };
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        head.result = failure("cannot open", path, errnoText(error));
        return head;
    }
    // Linux opens a directory for reading without complaint; only the read would fail.
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        head.result = failure(
            "cannot open", path, S_ISDIR(info.st_mode) ? errnoText(EISDIR) : "not a regular file");
        return head;
    }
    head.bytes.resize(maxBytes);
    std::size_t got = 0;
    while (got < maxBytes) {
        const ssize_t n = ::read(fd, head.bytes.data() + got, maxBytes - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            head.bytes.clear();
            head.result = failure("cannot read", path, errnoText(error));
            return head;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    head.bytes.resize(got);
    return head;
}

Result writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    const std::filesystem::path target = fileio::replacedFile(path);
    if (const auto why = fileio::unwritableTarget(target))
        return failure("cannot write", path, *why);
    struct stat existing { };
    const bool exists = ::stat(target.c_str(), &existing) == 0;

    // O_EXCL with a random name instead of mkstemp: the file is created with the usual 0666 less
    // the umask, as a plain create of the target would have been.
    std::filesystem::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = fileio::temporaryPath(target);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return failure("cannot write", path, errnoText(errno));
    }
    if (fd < 0)
        return failure("cannot write", path, errnoText(EEXIST));

    if (exists)
        (void)::fchmod(fd, existing.st_mode & 07777); // best effort: the content matters more

    if (!fillAndClose(fd, temporary, bytes))
        return failure("cannot write", path, errnoText(errno));
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return failure("cannot write", path, errnoText(error));
    }
    syncDirectory(fileio::directoryOf(target));
    return Result::success();
}

Result writeNewFile(
    const std::filesystem::path& path, std::span<const std::uint8_t> bytes, bool& nameTaken)
{
    nameTaken = false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        nameTaken = errno == EEXIST;
        return failure("cannot write", path, errnoText(errno));
    }
    if (!fillAndClose(fd, path, bytes))
        return failure("cannot write", path, errnoText(errno));
    return Result::success();
}

Result appendDurably(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
    std::span<const std::uint8_t> header)
{
    if (const auto why = fileio::unwritableTarget(path))
        return failure("cannot append to", path, *why);
    const int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return failure("cannot append to", path, errnoText(errno));
    struct stat info { };
    std::vector<std::uint8_t> out;
    bool ok = ::fstat(fd, &info) == 0;
    if (ok && info.st_size == 0) {
        out.assign(header.begin(), header.end());
    } else if (ok) {
        std::uint8_t last = '\n';
        ok = ::pread(fd, &last, 1, info.st_size - 1) == 1;
        if (last != '\n')
            out.push_back('\n');
    }
    out.insert(out.end(), bytes.begin(), bytes.end());
    // One write: with O_APPEND it lands at the end even if another program appends too.
    ok = ok && writeAll(fd, out) && ::fsync(fd) == 0;
    const int error = errno;
    if (::close(fd) != 0 && ok)
        return failure("cannot append to", path, errnoText(errno));
    if (!ok)
        return failure("cannot append to", path, errnoText(error));
    return Result::success();
}

} // namespace kq904
