#include "soak/transfer_oracle.h"

#include <algorithm>

namespace kq904::soak {

namespace {

constexpr std::uint16_t kGeneralAddress = 0x0008;
constexpr std::uint16_t kConstantAddress = 0x0020;
constexpr std::uint16_t kKillAddress = 0x04EE;
constexpr std::uint16_t kCodeAddress = 0x0500;
constexpr std::uint16_t kIdAddress = 0x0514;
constexpr std::uint16_t kFirstRecord = 0x0043;
constexpr std::uint16_t kFirstExtra = 0x054A;
constexpr int kChannelsMax = 99;

// The 20 fixed bytes sent ahead of the IF counters.
constexpr std::array<std::uint8_t, 20> kConstant = {0xFF, 0x3A, 0x40, 0x34, 0x39, 0x2E, 0x33, 0x27,
    0x2C, 0x21, 0x26, 0x1A, 0x20, 0x14, 0x19, 0x0E, 0x13, 0x07, 0x0C, 0x00};

std::uint32_t littleEndian32(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8
        | static_cast<std::uint32_t>(bytes[at + 2]) << 16
        | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

bool prescaler64(const RadioImage& image)
{
    return (image.general.bytes[5] & 0x80) != 0;
}

Request write(BlockKind block, std::uint16_t address, std::size_t count, int channel = -1)
{
    return {'W', block, channel, address, static_cast<std::uint8_t>(count)};
}

Request read(BlockKind block, std::uint16_t address, std::size_t count, int channel = -1)
{
    return {'R', block, channel, address, static_cast<std::uint8_t>(count)};
}

std::uint16_t recordAddress(int n)
{
    return static_cast<std::uint16_t>(kFirstRecord + 12 * n);
}

std::uint16_t extraAddress(int n)
{
    return static_cast<std::uint16_t>(kFirstExtra + 7 * n);
}

template <typename Array> std::vector<std::uint8_t> bytesOf(const Array& bytes, std::size_t count)
{
    return {bytes.begin(), bytes.begin() + static_cast<long>(count)};
}

void recomputeBandBits(RadioImage& image, int n)
{
    auto& record = image.channels[static_cast<std::size_t>(n)].bytes;
    auto& extra = image.extras[static_cast<std::size_t>(n)].bytes;
    const bool p64 = prescaler64(image);
    const std::uint32_t tx = synthesizerHertz(std::span(record).subspan(4, 3), p64);
    const std::uint32_t oscillator = synthesizerHertz(std::span(record).first(3), p64);
    const std::uint32_t intermediate = littleEndian32(image.factory.bytes, 0);
    const bool above = (image.factory.bytes[12] & 0x01) != 0;
    const std::uint32_t rx = above ? oscillator - intermediate : oscillator + intermediate;
    record[8] =
        static_cast<std::uint8_t>((record[8] & 0x7F) | (inEitherBand(image, tx) ? 0x80 : 0));
    extra[0] = static_cast<std::uint8_t>((extra[0] & ~0x04) | (inEitherBand(image, rx) ? 0x04 : 0));
}

} // namespace

std::vector<Request> programmingRequests(const RadioImage& image)
{
    const int count = std::clamp(static_cast<int>(image.general.bytes[3]), 1, kChannelsMax);
    std::vector<Request> requests;
    for (int n = 0; n < count; ++n) {
        requests.push_back(write(BlockKind::ChannelRecord, recordAddress(n), 9, n));
        requests.push_back(write(BlockKind::ChannelExtra, extraAddress(n), 7, n));
    }
    requests.push_back(write(BlockKind::General, kGeneralAddress, 24));
    requests.push_back(write(BlockKind::Constant, kConstantAddress, 28));
    requests.push_back(write(BlockKind::Kill, kKillAddress, 17));
    requests.push_back(write(BlockKind::Code, kCodeAddress, 14));
    requests.push_back(write(BlockKind::Id, kIdAddress, 8));
    requests.push_back({'D', BlockKind::End});
    return requests;
}

int radioChannelCount(const Eeprom& radio)
{
    return radio[kGeneralAddress + 3];
}

std::vector<Request> readingRequests(const Eeprom& radio, bool viaVersion)
{
    std::vector<Request> requests;
    if (viaVersion)
        requests.push_back({'F', BlockKind::Version});
    requests.push_back(read(BlockKind::General, kGeneralAddress, 24));
    requests.push_back(read(BlockKind::Code, kCodeAddress, 14));
    requests.push_back(read(BlockKind::Id, kIdAddress, 8));
    const int count = std::min(radioChannelCount(radio), kChannelsMax);
    for (int n = 0; n < count; ++n) {
        requests.push_back(read(BlockKind::ChannelRecord, recordAddress(n), 9, n));
        requests.push_back(read(BlockKind::ChannelExtra, extraAddress(n), 7, n));
    }
    return requests;
}

std::vector<Request> sequenceRequests(
    Sequence sequence, const RadioImage& image, const Eeprom& radio)
{
    if (sequence == Sequence::Programming)
        return programmingRequests(image);
    return readingRequests(radio, sequence == Sequence::VersionThenReading);
}

std::vector<std::uint8_t> prepareWrite(RadioImage& image, const Request& request)
{
    const auto n = static_cast<std::size_t>(std::max(request.channel, 0));
    switch (request.block) {
    case BlockKind::ChannelRecord:
        recomputeBandBits(image, request.channel);
        return bytesOf(image.channels[n].bytes, 9);
    case BlockKind::ChannelExtra:
        return bytesOf(image.extras[n].bytes, 7);
    case BlockKind::General:
        return bytesOf(image.general.bytes, 24);
    case BlockKind::Constant: {
        const auto counters = ifCountersFor(littleEndian32(image.factory.bytes, 0),
            prescaler64(image), (image.factory.bytes[12] & 0x01) != 0);
        std::copy(counters.begin(), counters.end(), image.ifCounters.bytes.begin());
        std::vector<std::uint8_t> data(kConstant.begin(), kConstant.end());
        data.insert(data.end(), counters.begin(), counters.end());
        return data;
    }
    case BlockKind::Kill:
        image.kill.bytes[0] = 0xCF;
        return bytesOf(image.kill.bytes, 17);
    case BlockKind::Code:
        return bytesOf(image.code.bytes, 14);
    case BlockKind::Id:
        return bytesOf(image.id.bytes, 8);
    case BlockKind::End:
    case BlockKind::Version:
        break;
    }
    return {};
}

void applyWrite(Eeprom& radio, const Request& request, std::span<const std::uint8_t> data)
{
    if (request.letter != 'W' || request.address + data.size() > radio.size())
        return;
    std::copy(data.begin(), data.end(), radio.begin() + request.address);
}

void applyReading(RadioImage& image, const Eeprom& radio)
{
    const auto at = [&](std::size_t address) { return radio.begin() + static_cast<long>(address); };
    std::copy_n(at(kGeneralAddress), 24, image.general.bytes.begin());
    if (image.general.bytes[3] > kChannelsMax)
        image.general.bytes[3] = kChannelsMax;
    std::copy_n(at(kCodeAddress), 14, image.code.bytes.begin());
    std::copy_n(at(kIdAddress), 8, image.id.bytes.begin());
    const int count = std::min(radioChannelCount(radio), kChannelsMax);
    for (int n = 0; n < count; ++n) {
        std::copy_n(
            at(recordAddress(n)), 9, image.channels[static_cast<std::size_t>(n)].bytes.begin());
        std::copy_n(
            at(extraAddress(n)), 7, image.extras[static_cast<std::size_t>(n)].bytes.begin());
    }
}

std::uint32_t synthesizerHertz(std::span<const std::uint8_t> half, bool prescaler64)
{
    // f = step x (B x P + A): A the swallow count in bits 7-1 of byte 0, B the program count
    // from byte 1 and bits 2-0 of byte 2, the 5 kHz step in bit 7 of byte 2.
    const std::uint32_t a = half[0] >> 1;
    const std::uint32_t b = (half[2] & 0x07u) * 256u + half[1];
    const std::uint32_t step = (half[2] & 0x80) ? 5000u : 6250u;
    const std::uint32_t modulus = prescaler64 ? 64u : 128u;
    return step * (b * modulus + a);
}

bool inEitherBand(const RadioImage& image, std::uint32_t hertz)
{
    const auto& f = image.factory.bytes;
    return (littleEndian32(f, 16) <= hertz && hertz <= littleEndian32(f, 20))
        || (littleEndian32(f, 24) <= hertz && hertz <= littleEndian32(f, 28));
}

std::array<std::uint8_t, 8> ifCountersFor(
    std::uint32_t intermediateHertz, bool prescaler64, bool oscillatorAbove)
{
    const std::uint32_t q5 = intermediateHertz / 5000u;
    const std::uint32_t q6 = intermediateHertz / 6250u;
    const std::uint32_t modulus = prescaler64 ? 64u : 128u;
    const auto swallow = [&](std::uint32_t q) {
        return static_cast<std::uint8_t>(prescaler64 ? (q % 64u) * 2u : (q * 2u) & 0xFFu);
    };
    const std::uint32_t p5 = q5 / modulus;
    const std::uint32_t p6 = q6 / modulus;
    return {swallow(q5), static_cast<std::uint8_t>(p5 & 0xFF),
        static_cast<std::uint8_t>(p5 >> 8 & 0xFF),
        static_cast<std::uint8_t>(oscillatorAbove ? 1 : 0), swallow(q6),
        static_cast<std::uint8_t>(p6 & 0xFF), static_cast<std::uint8_t>(p6 >> 8 & 0xFF), 0};
}

int replyTicks(int latencyMs, int delayMs)
{
    const int due = latencyMs + delayMs;
    return 1 + (due + 14) / 15;
}

} // namespace kq904::soak
