// Importing channel lists: the hand-written files of other programs and spreadsheets, the rows
// and values the radio cannot take, what a row keeps of the channel it replaces, and files that
// must change nothing at all.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "csv_test_support.h"
#include "model/csv_export.h"
#include "model/csv_import.h"
#include "model/file_test_support.h"
#include "model/tone_tables.h"

using namespace kq904;
using namespace kq904::csvtest;

namespace {

using Problems = std::vector<std::string>;

struct Expected {
    int channel; // 1-based, as in the file
    CsvChannel content;
};

struct FixtureCase {
    const char* file;
    int channelCount;
    std::vector<Expected> channels;
    Problems problems;
};

void PrintTo(const FixtureCase& c, std::ostream* out)
{
    *out << c.file;
}

class CsvFixtureTest : public ::testing::TestWithParam<FixtureCase> { };

TEST_P(CsvFixtureTest, ImportsEveryRowAsWritten)
{
    const FixtureCase& c = GetParam();
    RadioImage image = dealerRadio();
    const CsvImport imported = importChannelsCsvFile(image, fixture(c.file));
    ASSERT_TRUE(imported.result.ok) << imported.result.error;
    EXPECT_EQ(imported.problems, c.problems);
    EXPECT_EQ(imported.channelCount, c.channelCount);
    EXPECT_EQ(image.channelCount(), c.channelCount);
    for (const Expected& e : c.channels)
        EXPECT_EQ(csvChannel(image, e.channel - 1), e.content) << "channel " << e.channel;
}

// {receive, transmit, disabled, tx tone, rx tone, wide, high, scan, label}
INSTANTIATE_TEST_SUITE_P(HandWrittenFiles, CsvFixtureTest,
    ::testing::Values(
        // Every duplex and every tone mode, CRLF line ends.
        FixtureCase{"plan_21_columns_crlf.csv", 11,
            {{1, {146'520'000, 146'520'000, false, noTone, noTone, true, true, true, "CALL"}},
                {2,
                    {146'940'000, 146'340'000, false, ctcss(11), noTone, false, false, false,
                        "RPT1"}},
                {3, {442'100'000, 447'100'000, false, dcs(0), dcs(0), true, true, true, "UHF"}},
                {4, {145'800'000, 435'000'000, false, ctcss(0), ctcss(0), true, true, true, "SAT"}},
                {5, {162'550'000, 0, true, noTone, noTone, true, true, false, "WX1"}},
                {6, {151'625'000, 151'625'000, false, ctcss(7), dcs(50), false, false, true, "X1"}},
                {7, {151'625'000, 151'625'000, false, dcs(82), noTone, false, false, true, "X2"}},
                {8, {151'625'000, 151'625'000, false, noTone, ctcss(17), false, false, true, "X3"}},
                {9, {151'625'000, 151'625'000, false, dcs(0), dcs(1), false, false, true, "X4"}},
                {10, {151'625'000, 151'625'000, false, ctcss(1), ctcss(2), true, true, true, "X5"}},
                {11, {151'625'000, 151'625'000, false, dcs(1), ctcss(7), true, true, true, "X6"}}},
            {"line 2 (channel 1): Name \"Call\" is stored as \"CALL\" (up to five capital letters "
             "and digits)"}},
        // The older 17 columns: no Power, no RxDtcsCode, no CrossMode; LF line ends. Channel 1
        // was in use and keeps its low power; the new channels are high.
        FixtureCase{"plan_17_columns_lf.csv", 3,
            {{1,
                 {147'000'000, 147'600'000, false, ctcss(13), ctcss(13), true, false, true,
                     "OLD1"}},
                {2,
                    {446'006'250, 446'006'250, false, dcs(66), dcs(66), false, true, false,
                        "OLD2"}},
                {3,
                    {146'460'000, 146'460'000, false, ctcss(7), ctcss(19), true, true, true,
                        "OLD3"}}},
            {"line 4 (channel 3): Tone \"Cross\" without a CrossMode column is taken as "
             "Tone->Tone (transmit 88.5 Hz, receive 131.8 Hz), as CHIRP reads it; check the "
             "sub-tones"}},
        // A byte-order mark, comments, quoted fields with commas, quotes and a line break,
        // columns in another order; a name the radio cannot hold as written.
        FixtureCase{"quoted_bom_comments.csv", 3,
            {{1, {155'340'000, 155'340'000, false, ctcss(24), noTone, true, true, true, "EMS"}},
                {2,
                    {155'160'000, 154'560'000, false, ctcss(25), ctcss(25), false, false, false,
                        "SAR2"}},
                {3, {153'950'000, 153'950'000, false, noTone, noTone, true, false, true, "FIRE"}}},
            {"line 5 (channel 2): Name \"SAR 2\" is stored as \"SAR2\" (up to five capital "
             "letters and digits)",
                "line 8 (channel 3): Name \"fire\" is stored as \"FIRE\" (up to five capital "
                "letters and digits)"}},
        // Tab-separated, lower-case header names, a trailing row of empty cells. No Skip
        // column: channel 1 was in use and stays out of the scan, channel 2 is new and scanned.
        FixtureCase{"spreadsheet_tabs.txt", 2,
            {{1,
                 {464'500'000, 464'500'000, false, ctcss(11), ctcss(11), false, false, false,
                     "TALK"}},
                {2, {464'550'000, 464'550'000, false, noTone, noTone, false, false, true, "HELP"}}},
            {"line 2 (channel 1): Name \"Talk\" is stored as \"TALK\" (up to five capital letters "
             "and digits)",
                "line 3 (channel 2): Name \"Help\" is stored as \"HELP\" (up to five capital "
                "letters and digits)"}}));

// Each row or value the radio cannot take is reported once, in file order, and only that is
// left out; then the channels no row gave.
TEST(CsvImport, RowsAndValuesTheRadioCannotTakeAreReportedAndLeftOut)
{
    RadioImage image = dealerRadio();
    const CsvImport imported = importChannelsCsvFile(image, fixture("problems.csv"));
    ASSERT_TRUE(imported.result.ok) << imported.result.error;
    EXPECT_EQ(imported.problems,
        (Problems{"line 2: Location 0 is outside 1-99; row skipped",
            "line 3: Location 100 is outside 1-99; row skipped",
            "line 4: Location \"one\" is not a channel number; row skipped",
            "line 5 (channel 1): CTCSS tone 69.9 is not in the radio's table; the channel has no "
            "sub-tones",
            "line 6 (channel 2): DCS code 017 is not in the radio's table; the channel has no "
            "sub-tones",
            "line 7 (channel 3): Frequency 146.523100 MHz cannot be stored by the radio (it "
            "would become 146.520000 MHz); row skipped",
            "line 8 (channel 4): Frequency 2000.000000 MHz cannot be stored by the radio (it "
            "would become 361.600000 MHz); row skipped",
            "line 9 (channel 5): Duplex \"x\" is not \"\", \"+\", \"-\", \"split\" or \"off\"; "
            "row skipped",
            "line 10 (channel 6): Mode \"AM\" is not FM or NFM; the spacing stays wide",
            "line 10 (channel 6): Power \"5W\" is not High or Low; the power stays High",
            "line 11 (channel 7): Duplex - with Offset 200.000000 MHz puts transmit out of "
            "range; row skipped",
            "line 12 (channel 8): no Frequency; row skipped",
            "line 13 (channel 9): DCS polarity RN differs from the radio's NN, a factory setting "
            "for all channels; the radio's is kept",
            "line 14 (channel 10): Skip \"maybe\" is not \"\", \"S\" or \"P\"; scan stays on",
            "line 14 (channel 10): Name \"Repeater\" is stored as \"REPEA\" (up to five capital "
            "letters and digits)",
            "line 15 (channel 10): an earlier row gave this channel too; this row replaces it",
            "channels 3-5 were not imported and are now in use with the old contents of their "
            "slots; check them",
            "channels 7-8 were not imported and are now in use with the old contents of their "
            "slots; check them"}));
    EXPECT_EQ(imported.channelsTaken, 6);
    EXPECT_EQ(image.channelCount(), 10);
    EXPECT_EQ(csvChannel(image, 0),
        (CsvChannel{146'520'000, 146'520'000, false, noTone, noTone, true, true, true, "TONE"}));
    EXPECT_EQ(csvChannel(image, 5),
        (CsvChannel{121'500'000, 121'500'000, false, noTone, noTone, true, true, true, "AIR"}));
    EXPECT_EQ(csvChannel(image, 8),
        (CsvChannel{146'520'000, 146'520'000, false, dcs(0), dcs(0), true, true, true, "POLAR"}));
    EXPECT_EQ(csvChannel(image, 9).receive, 146'600'000u);
    EXPECT_EQ(csvChannel(image, 9).label, "AGAIN");
}

// A configuration whose channels use everything the CSV carries, built as the forms build it.
RadioImage fullPlan()
{
    RadioImage image = dealerRadio();
    image.setChannelCount(99);
    std::mt19937 random(904);
    const char* names[] = {"DEPOT", "YARD", "GATE", "SEC1", "MAINT", "WX", "FIRE", "OPS2"};
    // Simplex, repeater offsets both ways, a split far away and splits off the 5 kHz raster.
    const std::int64_t offsets[] = {
        0, 600'000, -600'000, 5'000'000, -7'600'000, 283'000'000, 6'250, -4'993'750};
    for (int n = 0; n < kChannelSlots; ++n) {
        const auto i = static_cast<std::uint32_t>(n);
        const std::uint32_t receive =
            136'000'000 + 12'500 * (random() % 3000) + (n % 4 == 1 ? 5000 : 0);
        setReceiveFrequency(image, n, receive);
        setTransmitFrequency(
            image, n, static_cast<std::uint32_t>(receive + offsets[random() % std::size(offsets)]));
        auto& record = image.channels[i];
        const bool wide = random() % 2;
        record.set(ChannelRecord::rxWide, wide);
        record.set(ChannelRecord::txNarrow, !wide);
        record.set(ChannelRecord::highPower, random() % 2);
        record.set(ChannelRecord::scan, random() % 2);
        record.set(ChannelRecord::timeOut, n % 9 == 8 ? 7 : random() % 6);
        const auto tone = [&](unsigned pick) {
            switch (pick % 3) {
            case 0:
                return noTone;
            case 1:
                return ctcss(random() % kCtcssUserSet);
            default:
                return dcs(random() % kDcsUserSet);
            }
        };
        const SubTone tx = tone(random());
        storeSubTone(image, n, Half::Transmit, tx);
        storeSubTone(image, n, Half::Receive, n % 5 == 0 ? tx : tone(random()));
        storeChannelName(image, n, names[i % 8]);
    }
    return image;
}

// set -> CSV -> set: every exported field comes back, and the CSV alone carries them: imported
// into a radio with no channels, it exports as the same text.
TEST(CsvImport, RoundTripsKeepEveryExportedField)
{
    RadioImage original = fullPlan();
    const CsvExport exported = exportChannelsCsv(original);
    for (const std::string& warning : exported.warnings)
        ASSERT_NE(warning.find("CHIRP"), std::string::npos) << "not carried: " << warning;

    RadioImage again = original;
    const CsvImport imported = importChannelsCsv(again, exported.text);
    ASSERT_TRUE(imported.result.ok) << imported.result.error;
    EXPECT_TRUE(imported.problems.empty()) << imported.problems.front();
    EXPECT_EQ(imported.channelsTaken, 99);
    EXPECT_EQ(again, original);

    RadioImage blank = dealerRadio();
    ASSERT_TRUE(importChannelsCsv(blank, exported.text).result.ok);
    for (int n = 0; n < kChannelSlots; ++n)
        EXPECT_EQ(csvChannel(blank, n), csvChannel(original, n)) << "channel " << n + 1;
    EXPECT_EQ(exportChannelsCsv(blank).text, exported.text);
}

// What the format does not carry stays as it was on a channel in use; a slot that was not in
// use starts clean, whatever an earlier configuration left in it.
TEST(CsvImport, ChannelsInUseKeepWhatTheRowCannotSayNewOnesStartClean)
{
    RadioImage image = dealerRadio();
    image.setChannelCount(2);
    for (std::size_t n : {1u, 2u}) {
        setTransmitFrequency(image, static_cast<int>(n), 150'000'000);
        image.channels[n].set(ChannelRecord::busyLockBclo, true);
        image.channels[n].set(ChannelRecord::crystalShiftOff, true);
        image.channels[n].set(ChannelRecord::timeOut, 3);
        image.extras[n].set(ChannelExtra::pttCodeEnable, true);
        image.extras[n].set(ChannelExtra::pttDigit1, 9);
        image.extras[n].set(ChannelExtra::selectiveCalling, true);
    }
    const CsvImport imported = importChannelsCsv(
        image, "Location,Frequency,Duplex,Power\n2,146.520000,off,Low\n3,146.550000,,\n");
    ASSERT_TRUE(imported.result.ok) << imported.result.error;

    const auto& kept = image.channels[1];
    EXPECT_TRUE(kept.get(ChannelRecord::busyLockBclo));
    EXPECT_TRUE(kept.get(ChannelRecord::crystalShiftOff));
    EXPECT_EQ(kept.get(ChannelRecord::timeOut), 7u); // "off": transmit disabled
    EXPECT_TRUE(image.extras[1].get(ChannelExtra::pttCodeEnable));
    EXPECT_EQ(image.extras[1].get(ChannelExtra::pttDigit1), 9u);
    EXPECT_TRUE(image.extras[1].get(ChannelExtra::selectiveCalling));
    EXPECT_EQ(transmitFrequency(image, 1), 150'000'000u) << "a disabled transmitter keeps its "
                                                            "frequency";

    const auto& fresh = image.channels[2];
    EXPECT_FALSE(fresh.get(ChannelRecord::busyLockBclo));
    EXPECT_FALSE(fresh.get(ChannelRecord::crystalShiftOff));
    EXPECT_EQ(fresh.get(ChannelRecord::timeOut), 0u);
    EXPECT_FALSE(image.extras[2].get(ChannelExtra::pttCodeEnable));
    EXPECT_FALSE(image.extras[2].get(ChannelExtra::selectiveCalling));
    EXPECT_EQ(csvChannel(image, 2),
        (CsvChannel{146'550'000, 146'550'000, false, noTone, noTone, true, true, true, "CH03"}));
}

TEST(CsvImport, EnablingTransmitClearsTheDisabledCodeOnly)
{
    RadioImage image = dealerRadio();
    image.setChannelCount(3);
    image.channels[0].set(ChannelRecord::timeOut, 7);
    image.channels[1].set(ChannelRecord::timeOut, 6);
    image.channels[2].set(ChannelRecord::timeOut, 4);
    ASSERT_TRUE(
        importChannelsCsv(image, "Location,Frequency\n1,146.52\n2,146.52\n3,146.52\n").result.ok);
    EXPECT_EQ(image.channels[0].get(ChannelRecord::timeOut), 0u);
    EXPECT_EQ(image.channels[1].get(ChannelRecord::timeOut), 0u);
    EXPECT_EQ(image.channels[2].get(ChannelRecord::timeOut), 4u);
}

TEST(CsvImport, TheChannelCountBecomesTheHighestLocationTaken)
{
    RadioImage image = dealerRadio();
    image.setChannelCount(20);
    const CsvImport imported =
        importChannelsCsv(image, "Location,Frequency\n2,146.52\n12,146.55\n40,9999.0\n");
    ASSERT_TRUE(imported.result.ok);
    EXPECT_EQ(imported.channelCount, 12);
    EXPECT_EQ(image.channelCount(), 12);
    EXPECT_EQ(imported.problems,
        (Problems{"line 4 (channel 40): Frequency \"9999.0\" is not a frequency in MHz; row "
                  "skipped",
            "channel 1 was not imported and keeps its settings",
            "channels 3-11 were not imported and keep their settings",
            "channels 13-20 are no longer in use: the channel count is now 12 (it was 20)"}));
}

// Tag radios take the tag's two letters; the listing's own "AB07" form is a tag, not a name.
TEST(CsvImport, NamesFollowTheChannelNameFormInTagMode)
{
    RadioImage image = dealerRadio();
    image.featureFlags = 0; // no names: the radio shows tags
    const CsvImport imported = importChannelsCsv(
        image, "Location,Name,Frequency\n1,ab07,146.52\n2,Fire1,146.52\n3,12,146.52\n4,,146.52\n");
    ASSERT_TRUE(imported.result.ok);
    EXPECT_EQ(imported.problems,
        (Problems{"line 2 (channel 1): Name \"ab07\" is stored as the tag \"AB\" (the radio "
                  "shows two capital letters)",
            "line 3 (channel 2): Name \"Fire1\" is stored as the tag \"FI\" (the radio shows two "
            "capital letters)",
            "line 4 (channel 3): Name \"12\" cannot be a tag (two letters); the tag stays CH"}));
    EXPECT_EQ(csvChannel(image, 0).label, "AB01");
    EXPECT_EQ(csvChannel(image, 1).label, "FI02");
    EXPECT_EQ(csvChannel(image, 2).label, "CH03");
    EXPECT_EQ(csvChannel(image, 3).label, "CH04");
}

struct RefusedCase {
    const char* why;
    std::string text;
    std::string error;
};

// A file that is not a channel list changes nothing, not even a byte of the image.
TEST(CsvImport, AFileThatCannotBeUsedChangesNothing)
{
    const RefusedCase cases[] = {
        {"empty", "",
            "the file is empty; a channel list starts with a header line naming its columns "
            "(Location, Frequency, ...)"},
        {"no Frequency column", "Location,Name\n1,CALL\n",
            "line 1 is not the header of a channel list: it needs the columns Location and "
            "Frequency"},
        {"binary",
            std::string("\x7F"
                        "ELF\x02\x01\x01\0\0\0",
                10),
            "line 1: byte 0x7F is not text; the file is not a channel list"},
        {"not one usable row", "Location,Frequency\n0,146.52\n1,abc\n",
            "the file holds no channel the radio can take"},
    };
    for (const RefusedCase& c : cases) {
        RadioImage image = dealerRadio();
        const RadioImage before = image;
        const CsvImport imported = importChannelsCsv(image, c.text);
        EXPECT_FALSE(imported.result.ok) << c.why;
        EXPECT_EQ(imported.result.error, c.error) << c.why;
        EXPECT_EQ(image, before) << c.why;
    }
}

TEST(CsvImport, FilesThatCannotBeReadChangeNothing)
{
    kq904::testing::TempDir scratch;
    const std::filesystem::path big = scratch.path() / "big.csv";
    writeText(big, "Location,Frequency\r\n" + std::string(kCsvMaxFileSize, '#'));
    RadioImage image = dealerRadio();
    const RadioImage before = image;

    CsvImport imported = importChannelsCsvFile(image, big);
    EXPECT_EQ(imported.result.error,
        big.string() + " is larger than 1048576 bytes; it is not a channel list");
    imported = importChannelsCsvFile(image, scratch.path());
    EXPECT_EQ(imported.result.error, "cannot open " + scratch.path().string() + ": Is a directory");
    imported = importChannelsCsvFile(image, scratch.path() / "missing.csv");
    EXPECT_EQ(imported.result.error,
        "cannot open " + (scratch.path() / "missing.csv").string() + ": No such file or directory");
    imported = importChannelsCsvFile(image, fixture("not_a_channel_list.csv"));
    EXPECT_EQ(imported.result.error,
        fixture("not_a_channel_list.csv").string()
            + ": line 1 is not the header of a channel list: it needs the columns Location and "
              "Frequency");
    EXPECT_EQ(image, before);
}

// Random bytes and random text never crash the import and never leave the channel count out
// of range.
TEST(CsvImport, HostileInputGivesAReasonOrAUsableImage)
{
    std::mt19937 random(4242);
    const std::string alphabet = "0123456789.,-+\"\r\n\tLocationFrequencyDuplexsplitoffTSQL#";
    for (int round = 0; round < 300; ++round) {
        std::string text = round % 2 ? "Location,Frequency,Duplex,Offset,Tone,cToneFreq\n" : "";
        const std::size_t length = random() % 400;
        for (std::size_t i = 0; i < length; ++i)
            text +=
                round % 3 == 0 ? static_cast<char>(random()) : alphabet[random() % alphabet.size()];
        RadioImage image = dealerRadio();
        const RadioImage before = image;
        const CsvImport imported = importChannelsCsv(image, text);
        if (imported.result.ok) {
            EXPECT_GE(image.storedChannelCount(), 1u);
            EXPECT_LE(image.storedChannelCount(), 99u);
            EXPECT_GT(imported.channelsTaken, 0);
        } else {
            EXPECT_FALSE(imported.result.error.empty());
            EXPECT_EQ(image, before);
        }
    }
}

TEST(CsvImport, ALongListOfProblemsIsCut)
{
    std::string text = "Location,Frequency\n1,146.52\n";
    for (int i = 0; i < 300; ++i)
        text += "0,146.52\n";
    RadioImage image = dealerRadio();
    const CsvImport imported = importChannelsCsv(image, text);
    ASSERT_TRUE(imported.result.ok);
    ASSERT_EQ(imported.problems.size(), kCsvMaxProblems + 1);
    EXPECT_EQ(imported.problems.back(), "... and 100 more");
}

} // namespace
