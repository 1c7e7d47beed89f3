#include "sim/pty/pty_master.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace kq904 {

namespace {

std::string systemError(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

long long nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

} // namespace

std::unique_ptr<PtyMaster> PtyMaster::open(std::string* error)
{
    auto fail = [&](const char* what, int fd) -> std::unique_ptr<PtyMaster> {
        if (error)
            *error = systemError(what);
        if (fd >= 0)
            ::close(fd);
        return nullptr;
    };
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0)
        return fail("posix_openpt", -1);
    if (grantpt(master) != 0)
        return fail("grantpt", master);
    if (unlockpt(master) != 0)
        return fail("unlockpt", master);
    char name[256] = {};
    if (ptsname_r(master, name, sizeof name) != 0)
        return fail("ptsname", master);
    const int flags = fcntl(master, F_GETFL);
    if (flags < 0 || fcntl(master, F_SETFL, flags | O_NONBLOCK) != 0)
        return fail("fcntl", master);

    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0)
        return fail("open slave", master);
    termios tio{};
    if (tcgetattr(slave, &tio) != 0) {
        ::close(slave);
        return fail("tcgetattr", master);
    }
    cfmakeraw(&tio);
    cfsetispeed(&tio, B19200);
    cfsetospeed(&tio, B19200);
    if (tcsetattr(slave, TCSANOW, &tio) != 0) {
        ::close(slave);
        return fail("tcsetattr", master);
    }
    return std::unique_ptr<PtyMaster>(new PtyMaster(master, slave, name));
}

PtyMaster::PtyMaster(int master, int heldSlave, std::string slavePath)
    : master_(master)
    , heldSlave_(heldSlave)
    , slavePath_(std::move(slavePath))
{ }

PtyMaster::~PtyMaster()
{
    close();
}

void PtyMaster::close()
{
    if (heldSlave_ >= 0)
        ::close(heldSlave_);
    if (master_ >= 0)
        ::close(master_);
    heldSlave_ = -1;
    master_ = -1;
}

std::size_t PtyMaster::readAvailable(std::span<std::uint8_t> out)
{
    if (master_ < 0 || out.empty())
        return 0;
    for (;;) {
        const ssize_t got = ::read(master_, out.data(), out.size());
        if (got > 0)
            return static_cast<std::size_t>(got);
        if (got < 0 && errno == EINTR)
            continue;
        return 0; // EAGAIN: nothing there; EIO: no client has the slave open
    }
}

Result PtyMaster::write(std::span<const std::uint8_t> bytes, int timeoutMs)
{
    if (master_ < 0)
        return Result::failure("the pseudo-terminal is closed");
    const long long deadline = nowMs() + timeoutMs;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (put > 0) {
            done += static_cast<std::size_t>(put);
            continue;
        }
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0 && errno != EAGAIN)
            return Result::failure(systemError("write"));
        const long long left = deadline - nowMs();
        if (left <= 0)
            return Result::failure("the client is not taking bytes");
        pollfd pfd{master_, POLLOUT, 0};
        ::poll(&pfd, 1, static_cast<int>(left));
    }
    return Result::success();
}

} // namespace kq904
