#include "frequency.h"

#include <array>
#include <charconv>

#include "byte_utils.h"

namespace kq904 {

namespace {

struct HalfFields {
    ChannelRecord::Field swallow;
    ChannelRecord::Field programLow;
    ChannelRecord::Field programHigh;
    ChannelRecord::Bit stepIs5k;
};

constexpr HalfFields fieldsOf(Half half)
{
    if (half == Half::Receive)
        return {ChannelRecord::rxSwallow, ChannelRecord::rxProgramLow, ChannelRecord::rxProgramHigh,
            ChannelRecord::rxStepIs5k};
    return {ChannelRecord::txSwallow, ChannelRecord::txProgramLow, ChannelRecord::txProgramHigh,
        ChannelRecord::txStepIs5k};
}

std::uint32_t intermediateFrequency(const RadioImage& image)
{
    return image.factory.get(FactorySettings::intermediateFrequency);
}

bool oscillatorAbove(const RadioImage& image)
{
    return image.factory.get(FactorySettings::oscillatorAbove);
}

} // namespace

unsigned prescalerModulus(const RadioImage& image)
{
    return image.general.get(GeneralSettings::prescalerFlag) ? 64u : 128u;
}

std::uint32_t decodeHalf(const RadioImage& image, int channel, Half half)
{
    const HalfFields f = fieldsOf(half);
    const auto& record = image.channels[static_cast<std::size_t>(channel)];
    const std::uint32_t swallow = record.get(f.swallow);
    const std::uint32_t program = record.get(f.programHigh) * 256u + record.get(f.programLow);
    const std::uint32_t step = record.get(f.stepIs5k) ? 5000u : 6250u;
    return step * (program * prescalerModulus(image) + swallow);
}

void encodeHalf(RadioImage& image, int channel, Half half, std::uint32_t hertz)
{
    const HalfFields f = fieldsOf(half);
    auto& record = image.channels[static_cast<std::size_t>(channel)];
    const bool step5k = hertz % 6250u != 0;
    const std::uint32_t n = step5k ? hertz / 5000u : hertz / 6250u;
    const std::uint32_t modulus = prescalerModulus(image);
    const std::uint32_t program = n / modulus;
    record.set(f.stepIs5k, step5k);
    record.set(f.swallow, n % modulus); // stored shifted left by one: bits 7-1
    record.set(f.programLow, program % 256u);
    record.set(f.programHigh, (program / 256u) % 8u);
}

std::uint32_t transmitFrequency(const RadioImage& image, int channel)
{
    return decodeHalf(image, channel, Half::Transmit);
}

std::uint32_t receiveFrequency(const RadioImage& image, int channel)
{
    const std::uint32_t oscillator = decodeHalf(image, channel, Half::Receive);
    return oscillatorAbove(image) ? oscillator - intermediateFrequency(image)
                                  : oscillator + intermediateFrequency(image);
}

void setTransmitFrequency(RadioImage& image, int channel, std::uint32_t hertz)
{
    encodeHalf(image, channel, Half::Transmit, hertz);
}

void setReceiveFrequency(RadioImage& image, int channel, std::uint32_t hertz)
{
    const std::uint32_t oscillator = oscillatorAbove(image) ? hertz + intermediateFrequency(image)
                                                            : hertz - intermediateFrequency(image);
    encodeHalf(image, channel, Half::Receive, oscillator);
}

std::uint32_t parseMegahertz(std::string_view text)
{
    const ScaledDecimal d = parseScaledDecimal(text);
    if (d.scale > 1000000u)
        return 0;
    return static_cast<std::uint32_t>(d.value * (1000000u / d.scale));
}

std::string formatMegahertz(std::uint32_t hertz)
{
    // to_chars, not printf: QApplication switches the C locale to the user's, and under a
    // comma locale "150,26250" would come back from the channel form as 15026250 MHz.
    std::array<char, 32> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
        static_cast<double>(hertz) / 1000000.0, std::chars_format::fixed, 5)
                         .ptr;
    std::string text(buffer.data(), end);
    constexpr std::size_t kWidth = 8; // a minimum: below 100 MHz the text gets a leading space
    if (text.size() < kWidth)
        text.insert(0, kWidth - text.size(), ' ');
    return text;
}

bool inBand(const RadioImage& image, std::uint32_t hertz)
{
    const auto& f = image.factory;
    return (f.get(FactorySettings::band1Low) <= hertz && hertz <= f.get(FactorySettings::band1High))
        || (f.get(FactorySettings::band2Low) <= hertz
            && hertz <= f.get(FactorySettings::band2High));
}

void updateBandBits(RadioImage& image, int channel)
{
    const auto n = static_cast<std::size_t>(channel);
    image.channels[n].set(
        ChannelRecord::txInBand, inBand(image, transmitFrequency(image, channel)));
    image.extras[n].set(ChannelExtra::rxInBand, inBand(image, receiveFrequency(image, channel)));
}

void computeIfCounters(RadioImage& image)
{
    const std::uint32_t ifHz = intermediateFrequency(image);
    auto& c = image.ifCounters;
    c.bytes.fill(0);
    if (prescalerModulus(image) == 64) {
        c.set(IfCounters::swallow5000, ((ifHz / 5000u) % 64u) << 1);
        c.set(IfCounters::program5000, ifHz / 320000u);
        c.set(IfCounters::swallow6250, ((ifHz / 6250u) % 64u) << 1);
        c.set(IfCounters::program6250, ifHz / 400000u);
    } else {
        c.set(IfCounters::swallow5000, ((ifHz / 5000u) << 1) & 0xFFu);
        c.set(IfCounters::program5000, ifHz / 640000u);
        c.set(IfCounters::swallow6250, ((ifHz / 6250u) << 1) & 0xFFu);
        c.set(IfCounters::program6250, ifHz / 800000u);
    }
    c.set(IfCounters::oscillatorAbove, oscillatorAbove(image) ? 1u : 0u);
}

} // namespace kq904
