#include "sample_configuration.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "model/channel_label.h"
#include "model/frequency.h"

namespace kq904 {

namespace {

constexpr std::array<std::string_view, 20> kNames = {"DEPOT", "YARD", "GATE", "SEC1", "SEC2",
    "MAINT", "WX", "FIRE", "MED", "OPS1", "OPS2", "DOCK", "SHOP", "TALK", "REP1", "REP2", "EVENT",
    "PARK", "NIGHT", "SPARE"};

void setTone(RadioImage& image, int channel, Half half, bool dcs, unsigned index)
{
    auto& record = image.channels[static_cast<std::size_t>(channel)];
    if (half == Half::Transmit) {
        record.set(dcs ? ChannelRecord::txToneIsDcs : ChannelRecord::txToneIsCtcss, true);
        record.set(ChannelRecord::txTone, index);
    } else {
        record.set(dcs ? ChannelRecord::rxToneIsDcs : ChannelRecord::rxToneIsCtcss, true);
        record.set(ChannelRecord::rxTone, index);
    }
}

} // namespace

RadioImage sampleConfiguration(int channels)
{
    channels = std::clamp(channels, 1, kChannelSlots);
    RadioImage image;
    image.featureFlags =
        FeatureFlags::aniVersion | FeatureFlags::channelName | FeatureFlags::versionShow;
    image.factory.set(FactorySettings::intermediateFrequency, 21'400'000);
    image.factory.set(FactorySettings::band1Low, 136'000'000);
    image.factory.set(FactorySettings::band1High, 174'000'000);

    auto& general = image.general;
    image.setChannelCount(channels);
    // Bytes 8-11 always hold 0, 3, 3, 0 in a radio's general settings.
    const std::array<std::uint8_t, 4> fixed = {0, 3, 3, 0};
    std::copy(fixed.begin(), fixed.end(), general.range(GeneralSettings::fixedBytes).begin());
    general.set(GeneralSettings::dtmfVersion, true);
    general.set(GeneralSettings::fiveCharacterNames, true);
    general.set(GeneralSettings::keyBeep, true);
    general.set(GeneralSettings::priorityMode, true);
    general.set(GeneralSettings::powerSave, true);
    general.set(GeneralSettings::powerSaveRatio, 1);
    general.set(GeneralSettings::batteryLowWarning, true);
    general.set(GeneralSettings::priorityChannel, 0);
    general.set(GeneralSettings::unitIdDigit1, 1);
    general.set(GeneralSettings::unitIdDigit2, 0);
    general.set(GeneralSettings::unitIdDigit3, 4);
    image.code.set(CodeSettings::unitIdDigit4, 2);
    image.code.set(CodeSettings::unitIdDigit5, 7);
    image.code.set(CodeSettings::talkingTime, 1);
    image.code.set(CodeSettings::aniShowTime, 2);
    image.code.set(CodeSettings::homeChannel, 0);
    image.id.set(IdSettings::serialNumber, 41);

    for (int n = 0; n < channels; ++n) {
        const auto i = static_cast<unsigned>(n);
        // 150.0125 MHz upwards in 250 kHz steps, all on the 6.25 kHz raster.
        const std::uint32_t transmit = 150'012'500 + 250'000 * (i % 40);
        // Every fifth channel works through a repeater 600 kHz up.
        const std::uint32_t receive = (n % 5 == 4) ? transmit + 600'000 : transmit;
        auto& record = image.channels[i];
        record.set(ChannelRecord::rxWide, n % 3 != 2);
        record.set(ChannelRecord::txNarrow, n % 3 == 2);
        setTransmitFrequency(image, n, transmit);
        setReceiveFrequency(image, n, receive);
        record.set(ChannelRecord::highPower, n % 2 == 0);
        record.set(ChannelRecord::scan, n % 4 != 3);
        record.set(ChannelRecord::timeOut, i % 4);
        if (n % 20 == 6)
            record.set(ChannelRecord::timeOut, ChannelRecord::timeOutTransmitDisabled);
        if (n % 3 == 0) {
            setTone(image, n, Half::Transmit, false, 8 + i % 30);
            setTone(image, n, Half::Receive, false, 8 + i % 30);
        } else if (n % 3 == 1) {
            setTone(image, n, Half::Transmit, true, 10 + i % 50);
        }
        if (n % 7 == 1)
            record.set(ChannelRecord::busyLockBclo, true);
        if (n % 7 == 3)
            record.set(ChannelRecord::busyLockRbtlo, true);

        auto& extra = image.extras[i];
        if (n % 4 == 1) {
            extra.set(ChannelExtra::pttCodeEnable, true);
            extra.set(ChannelExtra::pttDigit1, (i + 1) % 10);
            extra.set(ChannelExtra::pttDigit2, (i + 3) % 10);
            extra.set(ChannelExtra::pttDigit3, (i + 5) % 10);
        }
        extra.set(ChannelExtra::selectiveCalling, n % 6 == 0);
        storeChannelName(image, n, kNames[i % kNames.size()]);
    }
    return image;
}

} // namespace kq904
