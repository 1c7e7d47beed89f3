// Frequency, sub-tone and byte-helper encodings against the radio's worked examples.
#include <gtest/gtest.h>

#include "model/byte_utils.h"
#include "model/frequency.h"
#include "model/tone_tables.h"

using namespace kq904;

namespace {

struct EncodedHalf {
    const char* text;
    bool prescaler64;
    std::uint32_t hertz;
    std::uint8_t swallowByte;
    std::uint8_t programLow;
    unsigned programHigh;
    bool step5k;
};

// Transmit-half encodings: text -> Hz -> the three stored bytes -> back to the same Hz.
const EncodedHalf kHalves[] = {
    {"145.125", false, 145125000, 0x68, 0xB5, 0, false}, // 6250 step, N = 23220
    {"145.005", false, 145005000, (29001 % 128) * 2, (29001 / 128) % 256, (29001 / 128) / 256,
        true}, // not a multiple of 6250
    {"150", false, 150000000, (24000 % 128) * 2, 187, 0, false}, // both steps: 6250 wins
    {"145.125", true, 145125000, (23220 % 64) * 2, (23220 / 64) % 256, (23220 / 64) / 256, false},
    {"470.0125", true, 470012500, (75202 % 64) * 2, (75202 / 64) % 256, (75202 / 64) / 256, false},
};

} // namespace

TEST(FrequencyEncoding, TextToStoredBytesAndBack)
{
    for (const auto& c : kHalves) {
        SCOPED_TRACE(c.text);
        RadioImage image;
        image.general.set(GeneralSettings::prescalerFlag, c.prescaler64);
        image.channels[5][6] = 0x78; // spacing, crystal-shift and tone bits must survive
        const std::uint32_t hz = parseMegahertz(c.text);
        EXPECT_EQ(hz, c.hertz);
        setTransmitFrequency(image, 5, hz);
        EXPECT_EQ(image.channels[5][4], c.swallowByte);
        EXPECT_EQ(image.channels[5][5], c.programLow);
        EXPECT_EQ(image.channels[5].get(ChannelRecord::txProgramHigh), c.programHigh);
        EXPECT_EQ(image.channels[5].get(ChannelRecord::txStepIs5k), c.step5k);
        EXPECT_EQ(image.channels[5][6] & 0x78, 0x78);
        EXPECT_EQ(transmitFrequency(image, 5), c.hertz);
    }
}

TEST(FrequencyEncoding, ParsingAndFormatting)
{
    EXPECT_EQ(parseMegahertz("145.1"), 145100000u);
    EXPECT_EQ(parseMegahertz("145"), 145000000u);
    EXPECT_EQ(parseMegahertz("145.1234567"), 0u); // more than six decimals
    EXPECT_EQ(parseMegahertz(""), 0u);
    EXPECT_EQ(formatMegahertz(145125000), "145.12500");
    EXPECT_EQ(formatMegahertz(50000000), "50.00000");
    EXPECT_EQ(formatMegahertz(5000000), " 5.00000");
}

TEST(FrequencyEncoding, ReceiveSideAppliesIntermediateFrequency)
{
    RadioImage image;
    image.factory.set(FactorySettings::intermediateFrequency, 21400000);
    image.factory.set(FactorySettings::oscillatorAbove, true);
    setReceiveFrequency(image, 0, 145125000);
    EXPECT_EQ(decodeHalf(image, 0, Half::Receive), 145125000u + 21400000u);
    EXPECT_EQ(receiveFrequency(image, 0), 145125000u);

    image.factory.set(FactorySettings::oscillatorAbove, false);
    setReceiveFrequency(image, 1, 145125000);
    EXPECT_EQ(decodeHalf(image, 1, Half::Receive), 145125000u - 21400000u);
    EXPECT_EQ(receiveFrequency(image, 1), 145125000u);
    // The step follows the oscillator value: 123.725 MHz is a multiple of 6250 Hz.
    EXPECT_FALSE(image.channels[1].get(ChannelRecord::rxStepIs5k));
}

TEST(FrequencyEncoding, BandEdgesAreInside)
{
    RadioImage image;
    image.factory.set(FactorySettings::band1Low, 136000000);
    image.factory.set(FactorySettings::band1High, 174000000);
    image.factory.set(FactorySettings::band2Low, 400000000);
    image.factory.set(FactorySettings::band2High, 470000000);
    EXPECT_TRUE(inBand(image, 136000000));
    EXPECT_TRUE(inBand(image, 174000000));
    EXPECT_FALSE(inBand(image, 174000001));
    EXPECT_FALSE(inBand(image, 135999999));
    EXPECT_TRUE(inBand(image, 470000000));
    EXPECT_FALSE(inBand(image, 300000000));

    setTransmitFrequency(image, 2, 174000000);
    setReceiveFrequency(image, 2, 180000000);
    updateBandBits(image, 2);
    EXPECT_TRUE(image.channels[2].get(ChannelRecord::txInBand));
    EXPECT_FALSE(image.extras[2].get(ChannelExtra::rxInBand));
}

TEST(FrequencyEncoding, IfCountersForBothModuli)
{
    RadioImage image;
    image.factory.set(FactorySettings::intermediateFrequency, 21400000);
    image.factory.set(FactorySettings::oscillatorAbove, true);
    computeIfCounters(image); // modulus 128
    EXPECT_EQ(image.ifCounters[0], ((21400000 / 5000) << 1) & 0xFF);
    EXPECT_EQ(image.ifCounters.get(IfCounters::program5000), 21400000u / 640000u);
    EXPECT_EQ(image.ifCounters[3], 1);
    EXPECT_EQ(image.ifCounters[4], ((21400000 / 6250) << 1) & 0xFF);
    EXPECT_EQ(image.ifCounters.get(IfCounters::program6250), 21400000u / 800000u);
    EXPECT_EQ(image.ifCounters[7], 0);

    image.general.set(GeneralSettings::prescalerFlag, true); // modulus 64
    image.factory.set(FactorySettings::oscillatorAbove, false);
    computeIfCounters(image);
    EXPECT_EQ(image.ifCounters[0], ((21400000 / 5000) % 64) << 1);
    EXPECT_EQ(image.ifCounters.get(IfCounters::program5000), 21400000u / 320000u);
    EXPECT_EQ(image.ifCounters[3], 0);
    EXPECT_EQ(image.ifCounters[4], ((21400000 / 6250) % 64) << 1);
    EXPECT_EQ(image.ifCounters.get(IfCounters::program6250), 21400000u / 400000u);
}

// The radio's worked example: an IF of 21.4 MHz for both prescaler moduli.
TEST(FrequencyEncoding, IfCountersWorkedExample)
{
    RadioImage image;
    image.factory.set(FactorySettings::intermediateFrequency, 21400000);
    computeIfCounters(image);
    EXPECT_EQ(image.ifCounters.bytes,
        (std::array<std::uint8_t, 8>{0x70, 0x21, 0x00, 0x00, 0xC0, 0x1A, 0x00, 0x00}));
    image.general.set(GeneralSettings::prescalerFlag, true);
    image.factory.set(FactorySettings::oscillatorAbove, true);
    computeIfCounters(image);
    EXPECT_EQ(image.ifCounters.bytes,
        (std::array<std::uint8_t, 8>{0x70, 0x42, 0x00, 0x01, 0x40, 0x35, 0x00, 0x00}));
}

TEST(ToneTables, TextsAndDamagedIndexes)
{
    RadioImage image;
    auto& ch = image.channels[0];
    EXPECT_EQ(toneText(image, 0, Half::Transmit), "- - -");
    ch.set(ChannelRecord::txToneIsDcs, true);
    ch.set(ChannelRecord::txTone, 82);
    EXPECT_EQ(toneText(image, 0, Half::Transmit), "D: 754");
    ch.set(ChannelRecord::txToneIsCtcss, true); // CTCSS wins when both are set
    ch.set(ChannelRecord::txTone, 38);
    EXPECT_EQ(toneText(image, 0, Half::Transmit), "T: 69.4 ");
    ch.set(ChannelRecord::txTone, 120); // past the table: shown, never read outside it
    EXPECT_EQ(toneText(image, 0, Half::Transmit), "T: ?");
    EXPECT_EQ(timeOutText(6), "?");
    EXPECT_EQ(timeOutText(5), "180 Sec");
    EXPECT_EQ(ctcssText(kCtcssUserSet), "- - -");
    EXPECT_EQ(dcsText(kDcsUserSet), "- - -");
}

TEST(ByteUtils, HexPackingAndDigitParsers)
{
    std::uint8_t out[5] = {0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
    packHexDigits("12aF9", out); // the text ends after 5 digits: the rest are zero nibbles
    EXPECT_EQ(out[0], 0x12);
    EXPECT_EQ(out[1], 0xAF);
    EXPECT_EQ(out[2], 0x90);
    EXPECT_EQ(out[3], 0x00);
    packHexDigits("12x456789A", out); // the first non-digit ends the digits
    EXPECT_EQ(out[0], 0x12);
    EXPECT_EQ(out[1], 0x00);
    EXPECT_EQ(unpackHexDigits(std::span<const std::uint8_t>(out, 2)), "1200");
    EXPECT_EQ(parseHexNumber("0x1F g"), 0x1Fu); // 'x' and 'g' skipped
    EXPECT_EQ(parseDecimalNumber("1a2-3"), 123u);
    EXPECT_EQ(swapBytes(0x1234), 0x3412);
    const auto d = parseScaledDecimal("145.125");
    EXPECT_EQ(d.value, 145125u);
    EXPECT_EQ(d.scale, 1000u);
}

TEST(RadioImage, ChannelCountIsAlwaysWithinTheRecords)
{
    RadioImage image;
    EXPECT_EQ(image.channelCount(), 1);
    image.setChannelCount(250);
    EXPECT_EQ(image.channelCount(), 99);
    image.clampChannelCount();
    EXPECT_EQ(image.storedChannelCount(), 99u);
    image.setChannelCount(0);
    image.clampChannelCount();
    EXPECT_EQ(image.storedChannelCount(), 1u);
}
