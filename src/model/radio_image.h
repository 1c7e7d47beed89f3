#pragma once
// The radio's whole working configuration: fixed-size byte blocks laid out exactly as the radio's
// EEPROM and the table files. The bytes are the model; radio_layout.h names them.

#include <array>
#include <cstdint>

#include "radio_layout.h"

namespace kq904 {

inline constexpr int kChannelSlots = 99;

// The 20 bytes sent to EEPROM 0x0020 in every programming run; their meaning for the radio is
// not known, they are sent unchanged.
inline constexpr std::array<std::uint8_t, 20> kConstantBlock = {0xFF, 0x3A, 0x40, 0x34, 0x39, 0x2E,
    0x33, 0x27, 0x2C, 0x21, 0x26, 0x1A, 0x20, 0x14, 0x19, 0x0E, 0x13, 0x07, 0x0C, 0x00};

struct RadioImage {
    Block<FactorySettings> factory;
    Block<GeneralSettings> general;
    Block<CodeSettings> code;
    Block<IdSettings> id;
    Block<KillSettings> kill;
    std::array<Block<ChannelRecord>, kChannelSlots> channels;
    std::array<Block<ChannelExtra>, kChannelSlots> extras;
    Block<IfCounters> ifCounters;
    std::uint16_t featureFlags = 0;

    // The stored channel count byte as it is (may be out of range in damaged data).
    unsigned storedChannelCount() const { return general.get(GeneralSettings::channelCount); }
    // The channel count every user of the records relies on: always within 1-99.
    int channelCount() const;
    void setChannelCount(int count)
    {
        general.set(GeneralSettings::channelCount, static_cast<unsigned>(count));
    }
    // Pulls the stored channel count into 1-99, so nothing can index past the 99 records.
    void clampChannelCount();

    bool dtmfVersion() const { return general.get(GeneralSettings::dtmfVersion); }
    bool fiveCharacterNames() const { return general.get(GeneralSettings::fiveCharacterNames); }
    bool hasFeature(std::uint16_t flag) const { return (featureFlags & flag) != 0; }

    // Clears the DTMF-version and channel-name bits whose features are switched off; run before
    // every listing draw and when the factory form opens.
    void applyFeatureGating();

    bool operator==(const RadioImage&) const = default;
};

} // namespace kq904
