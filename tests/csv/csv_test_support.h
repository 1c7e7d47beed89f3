#pragma once
// What the CSV tests share: the radio they import into, a channel as the CSV sees it, and the
// hand-written files of tests/fixtures/csv.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>

#include "model/channel_label.h"
#include "model/csv_tones.h"
#include "model/frequency.h"
#include "model/radio_image.h"

namespace kq904::csvtest {

// A radio as a dealer has it: 21.4 MHz IF with the oscillator above, prescaler modulus 128,
// five-character names allowed and on, one channel in use.
inline RadioImage dealerRadio()
{
    RadioImage image;
    image.factory.set(FactorySettings::intermediateFrequency, 21'400'000);
    image.factory.set(FactorySettings::oscillatorAbove, true);
    image.featureFlags = FeatureFlags::channelName;
    image.general.set(GeneralSettings::fiveCharacterNames, true);
    image.setChannelCount(1);
    setReceiveFrequency(image, 0, 150'000'000);
    setTransmitFrequency(image, 0, 150'000'000);
    return image;
}

// Everything of a channel that the CSV carries.
struct CsvChannel {
    std::uint32_t receive = 0;
    std::uint32_t transmit = 0; // ignored when transmit is disabled
    bool transmitDisabled = false;
    SubTone txTone;
    SubTone rxTone;
    bool wide = true;
    bool high = true;
    bool scan = true;
    std::string label;

    bool operator==(const CsvChannel& other) const
    {
        return receive == other.receive && (transmitDisabled || transmit == other.transmit)
            && transmitDisabled == other.transmitDisabled && txTone == other.txTone
            && rxTone == other.rxTone && wide == other.wide && high == other.high
            && scan == other.scan && label == other.label;
    }
};

inline std::ostream& operator<<(std::ostream& out, SubTone tone)
{
    static constexpr const char* kinds[] = {"none", "CTCSS", "DCS"};
    out << kinds[static_cast<int>(tone.kind)];
    if (tone.kind != SubToneKind::None)
        out << "#" << tone.index;
    return out;
}

inline void PrintTo(const CsvChannel& c, std::ostream* out)
{
    *out << "{rx " << c.receive << ", tx "
         << (c.transmitDisabled ? "off" : std::to_string(c.transmit)) << ", tones " << c.txTone
         << "/" << c.rxTone << (c.wide ? ", wide" : ", narrow") << (c.high ? ", high" : ", low")
         << (c.scan ? ", scan" : ", no scan") << ", \"" << c.label << "\"}";
}

inline CsvChannel csvChannel(const RadioImage& image, int channel)
{
    // The label as the listing shows it; building it may repair name bytes, so on a copy.
    RadioImage copy = image;
    copy.applyFeatureGating();
    const auto& record = image.channels[static_cast<std::size_t>(channel)];
    CsvChannel c;
    c.receive = receiveFrequency(image, channel);
    c.transmit = transmitFrequency(image, channel);
    c.transmitDisabled =
        record.get(ChannelRecord::timeOut) == ChannelRecord::timeOutTransmitDisabled;
    c.txTone = storedSubTone(image, channel, Half::Transmit);
    c.rxTone = storedSubTone(image, channel, Half::Receive);
    c.wide = record.get(ChannelRecord::rxWide);
    c.high = record.get(ChannelRecord::highPower);
    c.scan = record.get(ChannelRecord::scan);
    c.label = channelLabel(copy, channel);
    return c;
}

inline constexpr SubTone noTone{};
inline constexpr SubTone ctcss(unsigned index)
{
    return {SubToneKind::Ctcss, index};
}
inline constexpr SubTone dcs(unsigned index)
{
    return {SubToneKind::Dcs, index};
}

inline std::filesystem::path fixture(const std::string& name)
{
    return std::filesystem::path(KQ904_SOURCE_DIR) / "tests" / "fixtures" / "csv" / name;
}

inline std::string readText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeText(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

} // namespace kq904::csvtest
