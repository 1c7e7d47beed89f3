#pragma once
// The byte-by-byte receive parser: finds three '<', takes the length byte, then collects the body
// and checksum while keeping a running XOR. It stores the length byte at rxBuffer[0], the command
// letter at [1], parameters from [2] (read-reply data from [5]) and the checksum last.
//
// Exactly three '<' must precede the length byte (a fourth is taken as the length 60). A length
// of 1 to 33 completes; any other length is abandoned once 33 bytes followed it, so nothing ever
// lands outside the 34-byte buffer whatever the radio or the line sends.

#include <array>
#include <cstdint>
#include <span>

namespace kq904 {

class ReceiveParser {
public:
    enum class State : std::uint8_t {
        Idle = 0,
        Abandoned = 2,
        Complete = 4,
        Body = 5,
        Preamble = 6,
        Length = 7,
    };

    static constexpr std::size_t bufferSize = 34;

    // Takes one byte; true when it completed a frame.
    bool feed(std::uint8_t byte);
    // Forgets any partial or completed frame.
    void reset() { state_ = State::Idle; }

    State state() const { return state_; }
    bool complete() const { return state_ == State::Complete; }
    // True when the completed frame's XOR comes out at 0.
    bool checksumOk() const { return check_ == 0; }
    std::uint8_t letter() const { return buffer_[1]; }
    std::uint8_t length() const { return length_; }
    // The length byte and everything that followed it, checksum included.
    std::span<const std::uint8_t> frame() const;
    const std::array<std::uint8_t, bufferSize>& rxBuffer() const { return buffer_; }

private:
    void store(std::uint8_t byte);

    State state_ = State::Idle;
    std::uint8_t count_ = 0; // '<' seen, then body bytes stored
    std::uint8_t length_ = 0;
    std::uint8_t check_ = 0;
    std::size_t position_ = 0;
    std::array<std::uint8_t, bufferSize> buffer_{};
};

} // namespace kq904
