#pragma once
// Radio images for the listing tests, built through the same setters the forms use, so each
// test states the settings it shows rather than raw bytes.

#include <cstdint>
#include <string_view>

#include "model/frequency.h"
#include "model/radio_image.h"

namespace kq904::test {

// An image as a dealer's radio would hold it: prescaler modulus 128, IF 21.4 MHz with the
// oscillator above the receive frequency, the given channel count.
inline RadioImage dealerImage(int channelCount)
{
    RadioImage image;
    image.factory.set(FactorySettings::intermediateFrequency, 21400000u);
    image.factory.set(FactorySettings::oscillatorAbove, true);
    image.setChannelCount(channelCount);
    for (int n = 0; n < kChannelSlots; ++n) {
        setTransmitFrequency(image, n, 145000000u + 12500u * static_cast<std::uint32_t>(n));
        setReceiveFrequency(image, n, 145000000u + 12500u * static_cast<std::uint32_t>(n));
    }
    return image;
}

inline Block<ChannelRecord>& record(RadioImage& image, int channel)
{
    return image.channels[static_cast<std::size_t>(channel)];
}

inline Block<ChannelExtra>& extra(RadioImage& image, int channel)
{
    return image.extras[static_cast<std::size_t>(channel)];
}

// Stores the five name bytes as given (NULs included), valid or not.
inline void storeNameBytes(RadioImage& image, int channel, std::string_view bytes)
{
    auto name = extra(image, channel).range(ChannelExtra::name);
    for (std::size_t i = 0; i < name.size(); ++i)
        name[i] = i < bytes.size() ? static_cast<std::uint8_t>(bytes[i]) : 0;
}

inline void setCtcss(RadioImage& image, int channel, Half half, unsigned index)
{
    auto& r = record(image, channel);
    const bool rx = half == Half::Receive;
    r.set(rx ? ChannelRecord::rxToneIsCtcss : ChannelRecord::txToneIsCtcss, true);
    r.set(rx ? ChannelRecord::rxTone : ChannelRecord::txTone, index);
}

inline void setDcs(RadioImage& image, int channel, Half half, unsigned index)
{
    auto& r = record(image, channel);
    const bool rx = half == Half::Receive;
    r.set(rx ? ChannelRecord::rxToneIsDcs : ChannelRecord::txToneIsDcs, true);
    r.set(rx ? ChannelRecord::rxTone : ChannelRecord::txTone, index);
}

} // namespace kq904::test
