#include "in_process_transport.h"

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
    const std::int64_t radioNow = (tick_ - deliveryDelayTicks_) * tickMs;
    return n + radio_.takeDue(radioNow, out.subspan(n));
}

void InProcessTransport::inject(std::span<const std::uint8_t> bytes)
{
    for (const std::uint8_t b : bytes)
        injected_.push_back({tick_ + deliveryDelayTicks_, b});
}

} // namespace kq904
