#include "link/transfer_failure.h"

#include <array>
#include <charconv>

#include "link/frame.h"
#include "model/radio_image.h"

namespace kq904 {

namespace {

std::string decimal(long value)
{
    std::array<char, 24> text{};
    const auto [end, ec] = std::to_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() ? std::string(text.data(), end) : std::string();
}

// "0x054A", as the trace and the simulator's log write addresses.
std::string address16(std::uint16_t address)
{
    std::array<char, 8> digits{};
    const auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(), address, 16);
    std::string hex(digits.data(), ec == std::errc() ? end : digits.data());
    for (char& c : hex)
        if (c >= 'a' && c <= 'f')
            c = static_cast<char>(c - 'a' + 'A');
    return "0x" + std::string(4 - std::min<std::size_t>(4, hex.size()), '0') + hex;
}

// The channel whose record (pitch 12) or extra record (pitch 7) starts at `address`, or -1.
int channelAt(std::uint16_t address, std::uint16_t first, int pitch)
{
    if (address < first)
        return -1;
    const int offset = address - first;
    const int channel = offset / pitch;
    return offset % pitch == 0 && channel < kChannelSlots ? channel : -1;
}

} // namespace

std::string framePart(std::uint8_t letter, std::uint16_t address)
{
    switch (letter) {
    case FrameLetter::endOfProgramming:
        return "end of programming";
    case FrameLetter::versionRequest:
        return "version request";
    case FrameLetter::write:
    case FrameLetter::read:
        break;
    default:
        return {};
    }
    switch (address) {
    case EepromMap::generalSettings:
        return "general settings";
    case EepromMap::constantBlock:
        return "constant block and IF counters";
    case EepromMap::killSettings:
        return "kill settings";
    case EepromMap::codeSettings:
        return "code settings";
    case EepromMap::idSettings:
        return "serial number and password";
    default:
        break;
    }
    // Dealers count channels from 1, as the listing does.
    if (const int n =
            channelAt(address, EepromMap::firstChannelRecord, EepromMap::channelRecordPitch);
        n >= 0)
        return "channel " + decimal(n + 1);
    if (const int n =
            channelAt(address, EepromMap::firstChannelExtra, EepromMap::channelExtraPitch);
        n >= 0)
        return "channel " + decimal(n + 1) + " extra";
    return {};
}

std::string frameText(const TransferFailure& failure)
{
    std::string text = "frame " + decimal(failure.frame);
    if (failure.frameCount > 0)
        text += " of " + decimal(failure.frameCount);
    std::string frame(1, static_cast<char>(failure.letter));
    if (failure.letter == FrameLetter::write || failure.letter == FrameLetter::read)
        frame += " " + address16(failure.address);
    if (const std::string part = framePart(failure.letter, failure.address); !part.empty())
        frame += ": " + part;
    return text + " (" + frame + ")";
}

std::string secondsText(int milliseconds)
{
    std::string text = decimal(milliseconds / 1000);
    if (int rest = milliseconds % 1000; rest != 0) {
        std::string fraction = decimal(1000 + rest).substr(1); // three digits, leading zeros
        while (fraction.back() == '0')
            fraction.pop_back();
        text += "." + fraction;
    }
    return text + " s";
}

std::string failureText(const TransferFailure& failure, std::string_view device)
{
    const std::string on = std::string(device) + ": ";
    const std::string frame = frameText(failure);
    switch (failure.cause) {
    case FailureCause::NoAnswer:
        return on + "no answer from the radio within " + secondsText(failure.waitedMs) + " after "
            + frame;
    case FailureCause::Refused:
        return on + "the radio refused " + frame;
    case FailureCause::Garbled:
        return on + "the radio's answer to " + frame
            + " arrived damaged (wrong checksum), and no good answer followed within "
            + secondsText(failure.waitedMs);
    case FailureCause::ShortReply:
        return on + "the radio's answer to " + frame
            + " carried fewer bytes than were asked for, and no full answer followed within "
            + secondsText(failure.waitedMs);
    case FailureCause::DeviceLost:
        // The device may go while the start delay still holds the first frame back.
        return on + "the device disappeared (cable or adapter unplugged) "
            + (failure.frame == 0 ? std::string("before the first frame") : "after " + frame);
    }
    return on + frame;
}

} // namespace kq904
