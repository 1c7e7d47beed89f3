#pragma once
// What the link needs of a serial line: open it, write one byte, and take whatever bytes have
// already arrived without waiting. SerialPort implements it on QtSerialPort; the simulated
// radio offers an in-process one for tests.

#include <cstddef>
#include <cstdint>
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
};

} // namespace kq904
