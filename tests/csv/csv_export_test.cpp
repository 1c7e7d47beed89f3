// Exporting the channels: the rows other programs read, the duplex and tone modes chosen for
// each kind of channel, what the format cannot carry, and an image that export never changes.
#include <gtest/gtest.h>

#include <algorithm>

#include "csv_test_support.h"
#include "model/csv_export.h"
#include "model/tone_tables.h"

using namespace kq904;
using namespace kq904::csvtest;

namespace {

// The whole file for the plan (tests/fixtures/csv/exported_plan.csv), checked field by field by
// hand: receive frequencies with the IF
// taken off, offsets and splits, each tone mode, spacing, scan and power. TStep is the step of
// the stored oscillator frequency: 146.52 + 21.4 MHz needs 5 kHz, 145.8 + 21.4 MHz takes 6.25.
TEST(CsvExport, RowsOfEveryKindOfChannel)
{
    const CsvExport exported = exportChannelsCsv(planOfEveryKind());
    EXPECT_EQ(exported.channels, 8);
    EXPECT_EQ(exported.warnings.size(), 3u) << "the cross modes of 7 and 8, the low power of 2";
    EXPECT_EQ(exported.text, readText(fixture("exported_plan.csv")));
}

struct DuplexCase {
    std::uint32_t receive;
    std::uint32_t transmit;
    const char* duplexAndOffset;
};

// Where a repeater offset ends and a split begins.
TEST(CsvExport, RepeaterOffsetsUpToSeventyMegahertzOnTheFiveKilohertzRaster)
{
    const DuplexCase cases[] = {
        {146'000'000, 216'000'000, ",+,70.000000,"},
        {146'000'000, 216'005'000, ",split,216.005000,"},
        {216'000'000, 146'000'000, ",-,70.000000,"},
        {146'000'000, 146'012'500, ",split,146.012500,"},
        {146'000'000, 146'025'000, ",+,0.025000,"},
    };
    for (const DuplexCase& c : cases) {
        RadioImage image = dealerRadio();
        setChannel(image, 0, c.receive, c.transmit, "A");
        const CsvExport exported = exportChannelsCsv(image);
        EXPECT_NE(exported.text.find(c.duplexAndOffset), std::string::npos)
            << c.receive << " -> " << c.transmit << ": " << exported.text;
    }
}

// The factory's DCS inversion is one setting for the whole radio; every row carries it.
TEST(CsvExport, DcsPolarityComesFromTheFactoryInversionBits)
{
    const std::pair<std::pair<bool, bool>, const char*> cases[] = {{{false, false}, ",NN,"},
        {{true, false}, ",RN,"}, {{false, true}, ",NR,"}, {{true, true}, ",RR,"}};
    for (const auto& [bits, polarity] : cases) {
        RadioImage image = dealerRadio();
        image.general.set(GeneralSettings::dcsTxInverted, bits.first);
        image.general.set(GeneralSettings::dcsRxInverted, bits.second);
        EXPECT_NE(exportChannelsCsv(image).text.find(polarity), std::string::npos) << polarity;
    }
}

TEST(CsvExport, WhatTheFormatCannotCarryIsReported)
{
    RadioImage image = planOfEveryKind();
    image.general.set(GeneralSettings::toneSettingByUser, true);
    storeSubTone(image, 0, Half::Receive, ctcss(kCtcssUserSet));
    storeSubTone(image, 2, Half::Transmit, dcs(kDcsUserSet));
    image.channels[3].set(ChannelRecord::txToneIsDcs, true);
    image.channels[3].set(ChannelRecord::txTone, 100); // damaged: past the table
    image.channels[4].set(ChannelRecord::txNarrow, true); // receive stays wide
    // A disabled transmitter's spacing does not matter.
    image.channels[5].set(ChannelRecord::txNarrow, true);
    // 150.0 Hz is in the radio's table but not in CHIRP's, which drops such a row silently.
    storeSubTone(image, 6, Half::Receive, ctcss(50));

    const CsvExport exported = exportChannelsCsv(image);
    EXPECT_EQ(exported.warnings,
        (std::vector<std::string>{
            "channel 1: the receive sub-tone is the user-set CTCSS entry, which has no fixed "
            "value; exported as no sub-tone",
            "channel 3: the transmit sub-tone is the user-set DCS entry, which has no fixed value; "
            "exported as no sub-tone",
            "channel 3: cross mode ->DTCS; CHIRP versions that read 18 columns ignore CrossMode "
            "and RxDtcsCode and take it as Tone->Tone",
            "channel 4: the transmit DCS index 100 is not in the table; exported as no sub-tone",
            "channel 5: transmit is narrow but receive is wide; Mode gives the receive spacing",
            "channel 7: CTCSS tone 150.0 Hz is not in CHIRP's tone list; CHIRP leaves this "
            "channel out",
            "channel 7: cross mode DTCS->Tone; CHIRP versions that read 18 columns ignore "
            "CrossMode and RxDtcsCode and take it as Tone->Tone",
            "channel 8: cross mode ->DTCS; CHIRP versions that read 18 columns ignore CrossMode "
            "and RxDtcsCode and take it as Tone->Tone",
            "channel 2: Low power; CHIRP versions that read 18 columns have no Power column and "
            "give it the default power"}));
    // Channel 1 keeps its transmit tone; channel 3 keeps its receive code.
    EXPECT_NE(exported.text.find("\r\n1,CALL,146.520000,,0.000000,Tone,100.0,"), std::string::npos);
    EXPECT_NE(
        exported.text.find("\r\n3,UHF,442.100000,+,5.000000,Cross,88.5,88.5,023,NN,023,->DTCS,"),
        std::string::npos);
}

// Names and tags are those of the listing, with the listing's repairs, but only in the file.
TEST(CsvExport, NamesAsTheListingShowsThemWithoutTouchingTheImage)
{
    RadioImage image = planOfEveryKind();
    auto name = image.extras[1].range(ChannelExtra::name);
    name[1] = '-'; // invalid: the listing shows the default character 'H' there
    const RadioImage before = image;

    const CsvExport names = exportChannelsCsv(image);
    EXPECT_NE(names.text.find("\r\n2,RHT1,"), std::string::npos) << names.text;
    EXPECT_EQ(image, before);

    // Without the channel-name feature the listing shows tags with the channel number.
    image.featureFlags = 0;
    const CsvExport tags = exportChannelsCsv(image);
    EXPECT_NE(tags.text.find("\r\n1,CA01,"), std::string::npos) << tags.text;
    EXPECT_NE(tags.text.find("\r\n2,RH02,"), std::string::npos) << tags.text;
    EXPECT_EQ(image.featureFlags, 0);
    EXPECT_TRUE(image.general.get(GeneralSettings::fiveCharacterNames));
    image.featureFlags = before.featureFlags;
    EXPECT_EQ(image, before);
}

TEST(CsvExport, OnlyTheChannelsInUse)
{
    RadioImage image = planOfEveryKind();
    image.setChannelCount(2);
    const CsvExport exported = exportChannelsCsv(image);
    EXPECT_EQ(exported.channels, 2);
    EXPECT_EQ(std::count(exported.text.begin(), exported.text.end(), '\n'), 3);
    // A damaged count still gives at most the 99 channels there are.
    image.general.set(GeneralSettings::channelCount, 250);
    EXPECT_EQ(exportChannelsCsv(image).channels, 99);
}

} // namespace
