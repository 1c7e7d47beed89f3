#pragma once
// Whether a radio is on the cable, as a factory station needs to know between radios: a version
// request ("F") goes out every second, and any intact frame that comes back before the next one
// says a radio is there. Nothing else is sent, so a radio being plugged in or taken off is never
// half-written. It runs on the same 15 ms ticks and transport as the link, while the link is idle.

#include <cstdint>

#include "link/byte_transport.h"
#include "link/receive_parser.h"

namespace kq904 {

class PresenceProbe {
public:
    static constexpr std::uint16_t requestIntervalTicks = 67; // about a second
    static constexpr std::size_t pumpLimit = 256;

    explicit PresenceProbe(ByteTransport& transport);
    PresenceProbe(const PresenceProbe&) = delete;
    PresenceProbe& operator=(const PresenceProbe&) = delete;

    // Starts watching afresh: the first request goes out on the next tick, and nothing heard
    // before counts.
    void restart();
    // One tick: takes in what arrived, and sends the next request once the last one has had its
    // second.
    void tick();

    // A radio answered the request now out (or the last one).
    bool heard() const { return heard_; }
    // Requests in a row that had their whole second and got no answer.
    int unansweredInARow() const { return unanswered_; }

private:
    void pump();

    ByteTransport& transport_;
    ReceiveParser parser_;
    std::uint16_t countdown_ = 0; // ticks until the next request
    bool sent_ = false; // a request is out
    bool heard_ = false;
    bool answeredThisRequest_ = false;
    int unanswered_ = 0;
};

} // namespace kq904
