#include "in_process_transport.h"

#include <algorithm>

namespace kq904 {

InProcessTransport::InProcessTransport(SimulatedRadio& radio, int deliveryDelayTicks)
    : radio_(radio)
    , deliveryDelayTicks_(deliveryDelayTicks)
{ }

bool InProcessTransport::open()
{
    ++openAttempts_;
    open_ = !openFails_;
    return open_;
}

bool InProcessTransport::writeByte(std::uint8_t byte)
{
    if (!open_)
        return false;
    written_.push_back(byte);
    radio_.receive(byte, nowMs());
    return true;
}

std::size_t InProcessTransport::readAvailable(std::span<std::uint8_t> out)
{
    if (!open_)
        return 0;
    std::size_t n = 0;
    while (n < out.size() && !injected_.empty() && injected_.front().readableTick <= tick_) {
        out[n++] = injected_.front().byte;
        injected_.pop_front();
    }
    // A reply that fell due at some moment is readable deliveryDelayTicks later.
    const std::int64_t radioNow = nowMs() - deliveryDelayTicks_ * tickMs;
    return n + radio_.takeDue(radioNow, out.subspan(n));
}

void InProcessTransport::advanceWithinTick(std::int64_t ms)
{
    withinTickMs_ = std::clamp<std::int64_t>(ms - tick_ * tickMs, withinTickMs_, tickMs - 1);
}

bool InProcessTransport::nextReadableMs(std::int64_t& ms) const
{
    bool any = false;
    if (!injected_.empty()) {
        ms = injected_.front().readableTick * tickMs;
        any = true;
    }
    if (std::int64_t due = 0; radio_.nextDue(due)) {
        due += deliveryDelayTicks_ * tickMs;
        ms = any ? std::min(ms, due) : due;
        any = true;
    }
    return any;
}

void InProcessTransport::inject(std::span<const std::uint8_t> bytes)
{
    for (const std::uint8_t b : bytes)
        injected_.push_back({tick_ + deliveryDelayTicks_, b});
}

} // namespace kq904
