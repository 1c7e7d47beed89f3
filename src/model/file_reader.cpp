#include "file_reader.h"

#include <cerrno>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kq904 {

namespace {

Result failure(const char* what, const std::filesystem::path& path, int error)
{
    return Result::failure(
        std::string(what) + " " + path.string() + ": " + std::generic_category().message(error));
}

} // namespace

FileHead readFileHead(const std::filesystem::path& path, std::size_t maxBytes)
{
    FileHead head;
    // Non-blocking, so that a pipe in place of a file cannot hang the program; it is refused
    // below, and regular files ignore the flag.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        head.result = failure("cannot open", path, errno);
        return head;
    }
    struct stat info { };
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        head.result = failure("cannot open", path, error);
        return head;
    }
    // Linux opens a directory for reading without complaint; only the read would fail.
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        head.result = S_ISDIR(info.st_mode)
            ? failure("cannot open", path, EISDIR)
            : Result::failure("cannot open " + path.string() + ": not a regular file");
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
            head.result = failure("cannot read", path, error);
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

} // namespace kq904
