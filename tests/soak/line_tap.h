#pragma once
// A byte transport between the link and the real line (the in-process radio or a serial port)
// that watches both directions and adds frames of its own, as a line with a misbehaving radio
// would: it notes every frame the program sends and the tick it left on, counts the radio's
// answers, and puts stray frames into the bytes the program reads, at a chosen tick or a chosen
// number of ticks after a given request left.
//
// A stray frame is only ever put between two of the radio's frames, never inside one: spoiling
// a real answer is the radio's fault kinds' business, not the stray's.

#include <cstdint>
#include <map>
#include <vector>

#include "link/byte_transport.h"
#include "link/receive_parser.h"

namespace kq904::soak {

// A frame the program sent: length byte, body, checksum.
struct HostFrame {
    long tick = 0;
    std::vector<std::uint8_t> bytes;
    bool checksumOk = false;

    std::uint8_t letter() const { return bytes.size() > 1 ? bytes[1] : 0; }
};

class LineTap final : public ByteTransport {
public:
    explicit LineTap(ByteTransport& line);

    // The tick the program is about to run; the caller advances it before each Link::tick().
    void advanceTick() { ++tick_; }
    long tick() const { return tick_; }

    // Bytes readable from tick `at` on.
    void injectAt(long at, std::vector<std::uint8_t> bytes);
    // Bytes readable `offsetTicks` after request `request` (from 1: "W", "R", "D", "F") left.
    void injectAfterRequest(int request, int offsetTicks, std::vector<std::uint8_t> bytes);

    int requestsSent() const { return static_cast<int>(requestTicks_.size()); }
    // Complete frames read from the real line (the radio's answers; strays not counted).
    int answersReceived() const { return answers_; }
    // Strays whose tick is set and that have not reached the program yet.
    bool injectionsPending() const { return !scheduled_.empty(); }
    const std::vector<HostFrame>& hostFrames() const { return hostFrames_; }

    bool open() override { return line_.open(); }
    bool isOpen() const override { return line_.isOpen(); }
    bool writeByte(std::uint8_t byte) override;
    std::size_t readAvailable(std::span<std::uint8_t> out) override;

private:
    struct Injection {
        long at;
        std::vector<std::uint8_t> bytes;
    };

    void schedule(long at, std::vector<std::uint8_t> bytes);
    // Follows the radio's bytes; true while the line is between two frames.
    bool betweenFrames() const;
    void follow(std::uint8_t byte);

    ByteTransport& line_;
    long tick_ = 0;
    ReceiveParser sent_;
    ReceiveParser received_;
    std::vector<HostFrame> hostFrames_;
    std::vector<long> requestTicks_;
    std::multimap<int, Injection> afterRequest_; // by request number; `at` holds the offset
    std::vector<Injection> scheduled_; // in the order they become readable
    int answers_ = 0;
};

} // namespace kq904::soak
