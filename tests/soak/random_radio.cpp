#include "soak/random_radio.h"

#include <algorithm>

namespace kq904::soak {

namespace {

void putLittleEndian32(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t clampedHertz(std::int64_t hertz)
{
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(hertz, 0, 0xFFFFFFFFll));
}

int randomChannelCount(SoakRandom& r, bool shortTransfers)
{
    // In real time a 99-channel transfer takes seconds: most real-time sessions stay short.
    if (shortTransfers && r.chance(70))
        return r.between(0, 12);
    return r.between(0, 120);
}

// A band around `hertz`: sometimes with the frequency exactly on an edge, sometimes one hertz
// outside it, so the inclusive edges of the band test are crossed.
void placeBand(SoakRandom& r, RadioImage& image, std::size_t lowAt, std::uint32_t hertz)
{
    std::int64_t low = hertz;
    std::int64_t high = hertz;
    const int roll = r.below(10);
    if (roll < 3)
        high += r.between(0, 5000000);
    else if (roll < 5)
        low -= r.between(0, 5000000);
    else if (roll < 7)
        low += 1; // just outside
    else {
        low -= r.between(0, 5000000);
        high += r.between(0, 5000000);
    }
    putLittleEndian32(image.factory.bytes, lowAt, clampedHertz(low));
    putLittleEndian32(image.factory.bytes, lowAt + 4, clampedHertz(high));
}

} // namespace

RadioImage randomImage(SoakRandom& r, bool shortTransfers)
{
    RadioImage image;
    const auto fill = [&](auto& block) {
        for (auto& b : block.bytes)
            b = r.byte();
    };
    fill(image.general);
    fill(image.code);
    fill(image.id);
    fill(image.kill);
    fill(image.factory);
    fill(image.ifCounters);
    for (auto& record : image.channels)
        fill(record);
    for (auto& extra : image.extras)
        fill(extra);
    image.general.bytes[3] = static_cast<std::uint8_t>(randomChannelCount(r, shortTransfers));

    const bool p64 = (image.general.bytes[5] & 0x80) != 0;
    const int used = std::clamp(static_cast<int>(image.general.bytes[3]), 1, 99);
    const auto& a = image.channels[static_cast<std::size_t>(r.below(used))].bytes;
    placeBand(r, image, 16, synthesizerHertz(std::span(a).subspan(4, 3), p64));
    const auto& b = image.channels[static_cast<std::size_t>(r.below(used))].bytes;
    const std::uint32_t oscillator = synthesizerHertz(std::span(b).first(3), p64);
    const std::uint32_t intermediate = static_cast<std::uint32_t>(r.between(0, 50000000));
    putLittleEndian32(image.factory.bytes, 0, intermediate);
    const bool above = (image.factory.bytes[12] & 0x01) != 0;
    placeBand(r, image, 24, above ? oscillator - intermediate : oscillator + intermediate);
    return image;
}

Eeprom randomEeprom(SoakRandom& r, bool shortTransfers)
{
    Eeprom eeprom{};
    for (auto& b : eeprom)
        b = r.byte();
    eeprom[0x0008 + 3] = static_cast<std::uint8_t>(randomChannelCount(r, shortTransfers));
    return eeprom;
}

std::vector<std::uint8_t> randomNoise(SoakRandom& r)
{
    std::vector<std::uint8_t> noise;
    int run = 0;
    const int length = r.between(1, 12);
    for (int i = 0; i < length; ++i) {
        std::uint8_t b = r.chance(30) ? 0x3C : r.byte();
        if (b == 0x3C && run == 2)
            b = 0x3D;
        run = b == 0x3C ? run + 1 : 0;
        noise.push_back(b);
    }
    if (noise.back() == 0x3C)
        noise.back() = 0x00;
    return noise;
}

} // namespace kq904::soak
