#pragma once
// The built-in simulated radio of kq904 --simulate, reached in-process in real time: bytes the
// link writes go straight into the simulated radio, and its replies become readable when their
// time on the wall clock has come, so transfers take as long as with a radio on a cable.

#include <QElapsedTimer>
#include <QTimer>

#include "link/byte_transport.h"
#include "sim/simulated_radio.h"

namespace kq904 {

class SimulatedPort final : public ByteTransport {
public:
    SimulatedPort();

    SimulatedRadio& radio() { return radio_; }

    bool open() override;
    bool isOpen() const override { return open_; }
    bool writeByte(std::uint8_t byte) override;
    std::size_t readAvailable(std::span<std::uint8_t> out) override;
    // Fast transfer: told when the radio's next reply falls due.
    void setArrivalHandler(std::function<void()> handler) override;

private:
    std::int64_t nowMs() const { return clock_.elapsed(); }
    // Arms the timer for the radio's next reply, when someone wants to hear of it.
    void expectReply();

    SimulatedRadio radio_;
    QElapsedTimer clock_;
    bool open_ = false;
    std::function<void()> arrivalHandler_;
    QTimer replyDue_;
};

} // namespace kq904
