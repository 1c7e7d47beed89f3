#include "sim/pty/stop_signals.h"

#include <cerrno>
#include <csignal>
#include <cstring>

#include <sys/signalfd.h>
#include <unistd.h>

namespace kq904 {

std::unique_ptr<StopSignals> StopSignals::catchThem(std::string* error)
{
    sigset_t signals;
    sigemptyset(&signals);
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&signals, s);
    int fd = -1;
    if (sigprocmask(SIG_BLOCK, &signals, nullptr) == 0)
        fd = signalfd(-1, &signals, SFD_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = std::strerror(errno);
        return nullptr;
    }
    return std::unique_ptr<StopSignals>(new StopSignals(fd));
}

StopSignals::~StopSignals()
{
    if (fd_ >= 0)
        ::close(fd_);
}

} // namespace kq904
