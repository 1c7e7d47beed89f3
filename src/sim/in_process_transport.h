#pragma once
// A byte transport that joins a Link straight to a SimulatedRadio, for tests in virtual time.
// The caller advances the transport's clock by one tick before each Link::tick(); bytes the link
// writes reach the radio at once, and the radio's replies become readable `deliveryDelayTicks`
// ticks after they fall due (default 1: a reply to a frame sent in one tick is read in the next).
// Callers that take bytes in the moment they arrive (fast transfer) move the clock within a tick
// as well, to the moment the next byte becomes readable.

#include <cstdint>
#include <deque>
#include <span>
#include <vector>

#include "link/byte_transport.h"
#include "sim/simulated_radio.h"

namespace kq904 {

class InProcessTransport : public ByteTransport {
public:
    static constexpr std::int64_t tickMs = 15;

    explicit InProcessTransport(SimulatedRadio& radio, int deliveryDelayTicks = 1);

    bool open() override;
    bool isOpen() const override { return open_; }
    bool writeByte(std::uint8_t byte) override;
    std::size_t readAvailable(std::span<std::uint8_t> out) override;

    // Virtual time.
    void advanceTick()
    {
        ++tick_;
        withinTickMs_ = 0;
    }
    std::int64_t tick() const { return tick_; }
    std::int64_t nowMs() const { return tick_ * tickMs + withinTickMs_; }
    // Moves the clock to `ms` within the current tick (later than now, before the next tick).
    void advanceWithinTick(std::int64_t ms);
    // When the next byte for the link becomes readable; false when none is waiting.
    bool nextReadableMs(std::int64_t& ms) const;

    // The port will not open (a missing or busy device).
    void setOpenFails(bool fails) { openFails_ = fails; }
    // The device went away under an open port (cable pulled): the port reports closed.
    void loseDevice() { open_ = false; }
    int openAttempts() const { return openAttempts_; }
    // Raw bytes for the link, readable after the delivery delay as if the radio had sent them.
    void inject(std::span<const std::uint8_t> bytes);
    // Every byte the link wrote, in order.
    const std::vector<std::uint8_t>& written() const { return written_; }
    void clearWritten() { written_.clear(); }

private:
    struct InjectedByte {
        std::int64_t readableTick;
        std::uint8_t byte;
    };

    SimulatedRadio& radio_;
    int deliveryDelayTicks_;
    std::int64_t tick_ = 0;
    std::int64_t withinTickMs_ = 0;
    bool open_ = false;
    bool openFails_ = false;
    int openAttempts_ = 0;
    std::vector<std::uint8_t> written_;
    std::deque<InjectedByte> injected_;
};

} // namespace kq904
