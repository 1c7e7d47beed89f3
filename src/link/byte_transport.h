#pragma once
// What the link needs of a serial line: open it, write one byte, and take whatever bytes have
// already arrived without waiting. SerialPort implements it on QtSerialPort; the simulated
// radio offers an in-process one for tests.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace kq904 {

class ByteTransport {
public:
    virtual ~ByteTransport() = default;
    virtual bool open() = 0;
    virtual bool isOpen() const = 0;
    // Writes one byte; false when it could not be written (the wait for it is bounded).
    virtual bool writeByte(std::uint8_t byte) = 0;
    // Copies up to out.size() bytes that have already been received; never waits.
    virtual std::size_t readAvailable(std::span<std::uint8_t> out) = 0;

    // When a byte arrived is not known.
    static constexpr std::int64_t kArrivalUnknown = -1;
    // As readAvailable, and arrivedUs[i] := when byte i came in from the device, in
    // microseconds on the steady clock (std::chrono::steady_clock), where the transport knows
    // it: a serial trace then shows the radio's and the adapter's own latency rather than the
    // moment the link happened to look. arrivedUs holds at least out.size() entries.
    virtual std::size_t readAvailableTimed(
        std::span<std::uint8_t> out, std::span<std::int64_t> arrivedUs)
    {
        const std::size_t n = readAvailable(out);
        std::fill_n(arrivedUs.begin(), std::min(n, arrivedUs.size()), kArrivalUnknown);
        return n;
    }

    // Fast transfer: `handler` runs when bytes have arrived between polls (the serial port's
    // readyRead), from the event loop and never from inside a call into the transport, so it
    // may take them in at once. A transport that cannot tell never runs it; an empty handler
    // stops the calls.
    virtual void setArrivalHandler(std::function<void()> handler) { (void)handler; }
};

} // namespace kq904
