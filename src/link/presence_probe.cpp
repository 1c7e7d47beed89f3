#include "link/presence_probe.h"

#include <algorithm>
#include <array>

#include "link/frame.h"

namespace kq904 {

PresenceProbe::PresenceProbe(ByteTransport& transport)
    : transport_(transport)
{ }

void PresenceProbe::restart()
{
    // What the radio said before (the end of a programming, a verification) answers nothing.
    std::array<std::uint8_t, pumpLimit> discard;
    while (transport_.isOpen() && transport_.readAvailable(discard) == discard.size()) { }
    parser_.reset();
    countdown_ = 0;
    sent_ = false;
    heard_ = false;
    answeredThisRequest_ = false;
    unanswered_ = 0;
}

void PresenceProbe::tick()
{
    pump();
    if (countdown_ != 0) {
        --countdown_;
        return;
    }
    if (sent_) {
        if (answeredThisRequest_) {
            unanswered_ = 0;
        } else {
            ++unanswered_;
            heard_ = false;
        }
    }
    answeredThisRequest_ = false;
    for (const std::uint8_t b : wireBytes(commandFrame(FrameLetter::versionRequest)))
        (void)transport_.writeByte(b); // a byte that does not get out shows as no answer
    sent_ = true;
    countdown_ = requestIntervalTicks - 1;
}

void PresenceProbe::pump()
{
    std::array<std::uint8_t, pumpLimit> chunk;
    const std::size_t n = std::min(transport_.readAvailable(chunk), chunk.size());
    for (std::size_t i = 0; i < n; ++i) {
        // Any intact frame is a radio: "f", or "2" from one that wants to be read.
        if (parser_.feed(chunk[i])) {
            if (parser_.checksumOk() && sent_) {
                answeredThisRequest_ = true;
                heard_ = true;
                unanswered_ = 0;
            }
            parser_.reset();
        }
    }
}

} // namespace kq904
