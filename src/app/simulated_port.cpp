#include "simulated_port.h"

#include <algorithm>

namespace kq904 {

SimulatedPort::SimulatedPort()
{
    clock_.start();
    replyDue_.setSingleShot(true);
    replyDue_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&replyDue_, &QTimer::timeout, &replyDue_, [this] {
        if (arrivalHandler_)
            arrivalHandler_();
        expectReply();
    });
}

void SimulatedPort::setArrivalHandler(std::function<void()> handler)
{
    arrivalHandler_ = std::move(handler);
    expectReply();
}

void SimulatedPort::expectReply()
{
    std::int64_t due = 0;
    if (!arrivalHandler_ || !radio_.nextDue(due)) {
        replyDue_.stop();
        return;
    }
    replyDue_.start(static_cast<int>(std::max<std::int64_t>(0, due - nowMs())));
}

bool SimulatedPort::open()
{
    open_ = true;
    return true;
}

bool SimulatedPort::writeByte(std::uint8_t byte)
{
    if (!open_)
        return false;
    radio_.receive(byte, nowMs());
    if (!replyDue_.isActive())
        expectReply();
    return true;
}

std::size_t SimulatedPort::readAvailable(std::span<std::uint8_t> out)
{
    if (!open_)
        return 0;
    const std::size_t n = radio_.takeDue(nowMs(), out);
    if (arrivalHandler_)
        expectReply();
    return n;
}

} // namespace kq904
