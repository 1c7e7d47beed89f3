#include "frame.h"

namespace kq904 {

namespace {

Frame withLength(Frame body)
{
    // The length byte counts itself and the body; equally, the body plus the checksum.
    body.insert(body.begin(), static_cast<std::uint8_t>(body.size() + 1));
    return body;
}

std::uint8_t high(std::uint16_t address)
{
    return static_cast<std::uint8_t>(address >> 8);
}

std::uint8_t low(std::uint16_t address)
{
    return static_cast<std::uint8_t>(address & 0xFFu);
}

} // namespace

std::uint8_t xorChecksum(std::span<const std::uint8_t> bytes)
{
    std::uint8_t check = 0;
    for (const std::uint8_t b : bytes)
        check ^= b;
    return check;
}

Frame commandFrame(std::uint8_t letter)
{
    return withLength({letter});
}

Frame writeFrame(std::uint16_t address, std::span<const std::uint8_t> data)
{
    if (data.size() > FrameFormat::maxWriteData)
        return {};
    Frame body = {
        FrameLetter::write, high(address), low(address), static_cast<std::uint8_t>(data.size())};
    body.insert(body.end(), data.begin(), data.end());
    return withLength(std::move(body));
}

Frame readFrame(std::uint16_t address, std::uint8_t count)
{
    return withLength({FrameLetter::read, high(address), low(address), count});
}

Frame readReplyFrame(std::span<const std::uint8_t, 3> head, std::span<const std::uint8_t> data)
{
    if (data.size() > FrameFormat::maxReadData)
        return {};
    Frame body = {FrameLetter::readReply, head[0], head[1], head[2]};
    body.insert(body.end(), data.begin(), data.end());
    return withLength(std::move(body));
}

Frame versionReplyFrame(std::uint16_t version)
{
    return withLength({FrameLetter::versionReply, high(version), low(version)});
}

std::vector<std::uint8_t> wireBytes(std::span<const std::uint8_t> frame)
{
    if (frame.empty() || frame[0] != frame.size())
        return {};
    std::vector<std::uint8_t> wire(FrameFormat::preambleLength, FrameFormat::preambleByte);
    wire.insert(wire.end(), frame.begin(), frame.end());
    wire.push_back(xorChecksum(frame));
    return wire;
}

} // namespace kq904
