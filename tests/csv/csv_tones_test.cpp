// Sub-tones in the CSV tone columns: every pairing of transmit and receive sub-tone the radio
// can hold, the columns as other programs write them, and the values the radio cannot take.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "model/csv_tones.h"
#include "model/tone_tables.h"

using namespace kq904;

namespace {

constexpr SubTone none{};
constexpr SubTone ctcss(unsigned index)
{
    return {SubToneKind::Ctcss, index};
}
constexpr SubTone dcs(unsigned index)
{
    return {SubToneKind::Dcs, index};
}

CsvToneInput inputOf(const CsvToneColumns& c)
{
    return {c.tone, c.rToneFreq, c.cToneFreq, c.dtcsCode, c.rxDtcsCode, c.crossMode};
}

TEST(CsvTones, EveryTableEntryIsFoundByTheTextWritten)
{
    for (unsigned i = 0; i < static_cast<unsigned>(kCtcssUserSet); ++i)
        EXPECT_EQ(findCtcssTone(csvCtcssText(i)), i) << csvCtcssText(i);
    for (unsigned i = 0; i < static_cast<unsigned>(kDcsUserSet); ++i)
        EXPECT_EQ(findDcsCode(csvDcsText(i)), i) << csvDcsText(i);
}

TEST(CsvTones, ToneTextsAreWrittenWithOneDecimal)
{
    EXPECT_EQ(csvCtcssText(0), "67.0");
    EXPECT_EQ(csvCtcssText(7), "88.5");
    EXPECT_EQ(csvCtcssText(11), "100.0");
    EXPECT_EQ(csvCtcssText(50), "150.0");
    // The table's "69.4 " is the standard 69.3 Hz tone; other programs know it by that value.
    EXPECT_EQ(csvCtcssText(38), "69.3");
    EXPECT_EQ(csvDcsText(0), "023");
}

struct LookupCase {
    const char* text;
    std::optional<unsigned> ctcss;
    std::optional<unsigned> dcs;
};

TEST(CsvTones, ValuesAreLookedUpAsNumbers)
{
    const std::vector<LookupCase> cases = {
        {"88.5", 7u, std::nullopt}, {" 88.50 ", 7u, std::nullopt}, {"67", 0u, std::nullopt},
        {"69.4", 38u, std::nullopt}, {"69.3", 38u, std::nullopt}, {"150.0", 50u, std::nullopt},
        {"88.4", std::nullopt, std::nullopt}, // close to a tone is not a tone
        {"88.55", std::nullopt, std::nullopt}, {"1e2", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt}, {"023", std::nullopt, 0u}, {"23", std::nullopt, 0u},
        {"754", std::nullopt, 82u},
        {"017", std::nullopt, std::nullopt}, // a standard code the radio's table lacks
        {"0023", std::nullopt, 0u}, // read as a number, as CHIRP reads it
        {"1023", std::nullopt, std::nullopt}, {"000", std::nullopt, std::nullopt},
        {"- - -", std::nullopt, std::nullopt}, // the user-set entries have no value
    };
    for (const LookupCase& c : cases) {
        EXPECT_EQ(findCtcssTone(c.text), c.ctcss) << c.text;
        EXPECT_EQ(findDcsCode(c.text), c.dcs) << c.text;
    }
}

struct PairingCase {
    SubTone transmit;
    SubTone receive;
    const char* tone;
    const char* crossMode;
};

// Each pairing is written in the mode other programs use for it and reads back as itself.
TEST(CsvTones, EveryPairingIsWrittenInItsModeAndReadBack)
{
    const std::vector<PairingCase> cases = {
        {none, none, "", "Tone->Tone"},
        {ctcss(7), none, "Tone", "Tone->Tone"},
        {ctcss(7), ctcss(7), "TSQL", "Tone->Tone"},
        {dcs(5), dcs(5), "DTCS", "Tone->Tone"},
        {ctcss(7), ctcss(9), "Cross", "Tone->Tone"},
        {ctcss(7), dcs(5), "Cross", "Tone->DTCS"},
        {dcs(5), ctcss(7), "Cross", "DTCS->Tone"},
        {dcs(5), none, "Cross", "DTCS->"},
        {none, ctcss(7), "Cross", "->Tone"},
        {none, dcs(5), "Cross", "->DTCS"},
        {dcs(5), dcs(6), "Cross", "DTCS->DTCS"},
    };
    for (const PairingCase& c : cases) {
        const CsvToneColumns columns = csvToneColumns(c.transmit, c.receive);
        EXPECT_EQ(columns.tone, c.tone) << c.tone << " " << c.crossMode;
        EXPECT_EQ(columns.crossMode, c.crossMode) << c.tone;
        const CsvTonesRead read = readCsvTones(inputOf(columns));
        EXPECT_EQ(read.transmit, c.transmit) << c.tone << " " << c.crossMode;
        EXPECT_EQ(read.receive, c.receive) << c.tone << " " << c.crossMode;
        EXPECT_TRUE(read.problems.empty()) << c.tone << " " << c.crossMode;
    }
}

TEST(CsvTones, ColumnsOfOtherProgramsMeanWhatTheyMeanThere)
{
    // Tone squelch takes its tone from cToneFreq; rToneFreq is the transmit tone of "Tone".
    CsvTonesRead read = readCsvTones({"TSQL", "88.5", "100.0", "023", "023", "Tone->Tone"});
    EXPECT_EQ(read.transmit, ctcss(11));
    EXPECT_EQ(read.receive, ctcss(11));
    read = readCsvTones({"Tone", "100.0", "88.5", "023", "023", "Tone->Tone"});
    EXPECT_EQ(read.transmit, ctcss(11));
    EXPECT_EQ(read.receive, none);
    // A 17-column file has no RxDtcsCode: DtcsCode serves both directions.
    read = readCsvTones({"Cross", "88.5", "88.5", "025", std::nullopt, "->DTCS"});
    EXPECT_EQ(read.receive, dcs(1));
    // Nor a CrossMode: a "Cross" row is then tone to tone.
    read = readCsvTones({"Cross", "88.5", "100.0", "023", std::nullopt, std::nullopt});
    EXPECT_EQ(read.transmit, ctcss(7));
    EXPECT_EQ(read.receive, ctcss(11));
    // Keywords in another case are still the same keywords.
    read = readCsvTones({"dtcs", "88.5", "88.5", "754", "023", "Tone->Tone"});
    EXPECT_EQ(read.transmit, dcs(82));
}

TEST(CsvTones, ValuesTheRadioCannotHoldLeaveNoSubToneAndAreReported)
{
    CsvTonesRead read = readCsvTones({"TSQL", "88.5", "69.9", "023", "023", ""});
    EXPECT_EQ(read.transmit, none);
    EXPECT_EQ(read.receive, none);
    EXPECT_EQ(read.problems,
        std::vector<std::string>{
            "CTCSS tone 69.9 is not in the radio's table; the channel has no sub-tones"});

    read = readCsvTones({"Cross", "88.5", "88.5", "017", "023", "DTCS->DTCS"});
    EXPECT_EQ(read.transmit, none);
    EXPECT_EQ(read.receive, dcs(0));
    EXPECT_EQ(read.problems,
        std::vector<std::string>{
            "DCS code 017 is not in the radio's table; transmit has no sub-tone"});

    read = readCsvTones({"DTCS-R", "88.5", "88.5", "023", "023", ""});
    EXPECT_EQ(read.transmit, none);
    EXPECT_EQ(read.problems,
        std::vector<std::string>{
            "tone mode DTCS-R is not one the radio has; the channel has no sub-tones"});

    read = readCsvTones({"Cross", "88.5", "88.5", "023", "023", "Tone->Pulse"});
    EXPECT_EQ(read.problems,
        std::vector<std::string>{
            "cross mode Tone->Pulse is not one the radio has; the channel has no sub-tones"});
}

TEST(CsvTones, StoringKeepsTheBusyLockBitOfTheToneByte)
{
    RadioImage image;
    image.channels[4].set(ChannelRecord::busyLockRbtlo, true);
    image.channels[4].set(ChannelRecord::rxToneIsDcs, true);
    storeSubTone(image, 4, Half::Transmit, dcs(82));
    storeSubTone(image, 4, Half::Receive, ctcss(50));
    EXPECT_TRUE(image.channels[4].get(ChannelRecord::busyLockRbtlo));
    EXPECT_EQ(storedSubTone(image, 4, Half::Transmit), dcs(82));
    EXPECT_EQ(storedSubTone(image, 4, Half::Receive), ctcss(50));
    EXPECT_FALSE(image.channels[4].get(ChannelRecord::rxToneIsDcs));
    storeSubTone(image, 4, Half::Transmit, none);
    EXPECT_EQ(storedSubTone(image, 4, Half::Transmit), none);
    EXPECT_EQ(image.channels[4][7], 0x80);
}

} // namespace
