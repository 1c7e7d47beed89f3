// stop_requests.h on POSIX systems: the signals are blocked and read from a signalfd that a
// QSocketNotifier watches, so nothing runs inside a signal handler.
#include "cli/stop_requests.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstring>

#include <sys/signalfd.h>
#include <unistd.h>

namespace kq904::cli {

struct StopRequests::Platform {
    int fd = -1;
    sigset_t previousMask{};
    std::unique_ptr<QSocketNotifier> notifier;

    ~Platform()
    {
        notifier.reset();
        if (fd >= 0)
            ::close(fd);
        sigprocmask(SIG_SETMASK, &previousMask, nullptr);
    }
};

std::unique_ptr<StopRequests> StopRequests::catchThem(
    std::function<void()> onStop, std::string* error)
{
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    // SIGHUP too: the terminal went away, but the radios under way still deserve their end.
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&stopSignals, s);
    auto platform = std::make_unique<Platform>();
    if (sigprocmask(SIG_BLOCK, &stopSignals, &platform->previousMask) != 0) {
        if (error)
            *error = std::strerror(errno);
        return nullptr;
    }
    platform->fd = signalfd(-1, &stopSignals, SFD_CLOEXEC | SFD_NONBLOCK);
    if (platform->fd < 0) {
        if (error)
            *error = std::strerror(errno);
        return nullptr; // the destructor restores the mask
    }
    platform->notifier = std::make_unique<QSocketNotifier>(platform->fd, QSocketNotifier::Read);
    const int fd = platform->fd;
    QObject::connect(platform->notifier.get(), &QSocketNotifier::activated,
        platform->notifier.get(), [fd, onStop = std::move(onStop)] {
            signalfd_siginfo info{};
            while (::read(fd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) { }
            onStop();
        });
    return std::unique_ptr<StopRequests>(new StopRequests(std::move(platform)));
}

StopRequests::StopRequests(std::unique_ptr<Platform> platform)
    : platform_(std::move(platform))
{ }

StopRequests::~StopRequests() = default;

} // namespace kq904::cli
