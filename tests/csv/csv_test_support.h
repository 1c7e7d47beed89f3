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

inline void setChannel(
    RadioImage& image, int channel, std::uint32_t receive, std::uint32_t transmit, const char* name)
{
    setReceiveFrequency(image, channel, receive);
    setTransmitFrequency(image, channel, transmit);
    auto& record = image.channels[static_cast<std::size_t>(channel)];
    record.set(ChannelRecord::rxWide, true);
    record.set(ChannelRecord::highPower, true);
    record.set(ChannelRecord::scan, true);
    storeChannelName(image, channel, name);
}

// One channel of each kind a dealer's plan holds.
inline RadioImage planOfEveryKind()
{
    RadioImage image = dealerRadio();
    image.setChannelCount(8);
    setChannel(image, 0, 146'520'000, 146'520'000, "CALL");
    storeSubTone(image, 0, Half::Transmit, ctcss(11));
    storeSubTone(image, 0, Half::Receive, ctcss(11));

    // A 2 m repeater 600 kHz down, narrow, low power, not scanned, transmit tone only.
    setChannel(image, 1, 146'940'000, 146'340'000, "RPT1");
    storeSubTone(image, 1, Half::Transmit, ctcss(11));
    image.channels[1].set(ChannelRecord::rxWide, false);
    image.channels[1].set(ChannelRecord::txNarrow, true);
    image.channels[1].set(ChannelRecord::highPower, false);
    image.channels[1].set(ChannelRecord::scan, false);

    setChannel(image, 2, 442'100'000, 447'100'000, "UHF");
    storeSubTone(image, 2, Half::Transmit, dcs(0));
    storeSubTone(image, 2, Half::Receive, dcs(0));

    // Further apart than any repeater: a split.
    setChannel(image, 3, 145'800'000, 435'000'000, "SAT");
    // 4.99375 MHz apart is no repeater offset: a split too.
    setChannel(image, 4, 150'006'250, 155'000'000, "ODD");

    setChannel(image, 5, 162'550'000, 162'550'000, "WX");
    image.channels[5].set(ChannelRecord::timeOut, ChannelRecord::timeOutTransmitDisabled);

    setChannel(image, 6, 151'625'000, 151'625'000, "X1");
    storeSubTone(image, 6, Half::Transmit, dcs(82));
    storeSubTone(image, 6, Half::Receive, ctcss(17));

    setChannel(image, 7, 151'625'000, 151'625'000, "X2");
    storeSubTone(image, 7, Half::Receive, dcs(50));
    return image;
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
