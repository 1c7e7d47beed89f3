#include "sim/pty/pty_radio_server.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <poll.h>

namespace kq904 {

PtyRadioServer::PtyRadioServer(SimulatedRadio& radio, PtyMaster& pty)
    : radio_(radio)
    , pty_(pty)
    , start_(std::chrono::steady_clock::now())
{ }

std::int64_t PtyRadioServer::nowMs() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start_)
        .count();
}

void PtyRadioServer::exchange()
{
    std::array<std::uint8_t, 512> buffer{};
    for (;;) {
        const std::size_t got = pty_.readAvailable(buffer);
        if (got == 0)
            break;
        radio_.receive(std::span(buffer.data(), got), nowMs());
    }
    // Before the acknowledge of "D" leaves: whoever waits for it may look at the result at once.
    if (radio_.programmingEnds() != programmingEndsSeen_) {
        programmingEndsSeen_ = radio_.programmingEnds();
        if (programmingEnded_)
            programmingEnded_();
    }
    const std::vector<std::uint8_t> due = radio_.takeDue(nowMs());
    if (!due.empty()) {
        if (Result sent = pty_.write(due); !sent && replyLost_)
            replyLost_(sent.error);
    }
}

Result PtyRadioServer::serve(int stopFd)
{
    for (;;) {
        int timeoutMs = -1;
        if (std::int64_t dueMs = 0; radio_.nextDue(dueMs))
            timeoutMs = static_cast<int>(std::max<std::int64_t>(0, dueMs - nowMs()));
        std::array<pollfd, 2> fds = {{{pty_.fd(), POLLIN, 0}, {stopFd, POLLIN, 0}}};
        const int ready = ::poll(fds.data(), fds.size(), timeoutMs);
        if (ready < 0 && errno != EINTR)
            return Result::failure(std::string("poll: ") + std::strerror(errno));
        if (fds[1].revents != 0)
            return Result::success();
        if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL))
            return Result::failure("the pseudo-terminal failed");
        exchange();
    }
}

} // namespace kq904
