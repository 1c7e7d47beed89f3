// Files as CHIRP writes and reads them (its 18-column generic CSV): each row is read as CHIRP
// reads it, and whatever the radio then holds differently from the file is reported.
#include <gtest/gtest.h>

#include "csv_test_support.h"
#include "model/csv_import.h"
#include "model/name_folding.h"

using namespace kq904;
using namespace kq904::csvtest;

namespace {

using Problems = std::vector<std::string>;

struct ChirpCase {
    const char* why;
    std::string text;
    CsvChannel channel2; // what channel 2, not in use before, holds afterwards
    Problems problems;
};

TEST(CsvChirp, RowsAreReadAsChirpReadsThem)
{
    const std::string header = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,"
                               "DtcsCode,DtcsPolarity,Mode\n";
    const ChirpCase cases[] = {
        {"Cross without CrossMode is Tone->Tone, and said so",
            header + "2,X,146.52,,0.6,Cross,67.0,71.9,023,NN,FM\n",
            {146'520'000, 146'520'000, false, ctcss(0), ctcss(1), true, true, true, "X"},
            {"line 2 (channel 2): Tone \"Cross\" without a CrossMode column is taken as Tone->Tone "
             "(transmit 67.0 Hz, receive 71.9 Hz), as CHIRP reads it; check the sub-tones"}},
        {"only rToneFreq: it is the TSQL tone too",
            "Location,Frequency,Tone,rToneFreq\n2,146.52,TSQL,100.0\n",
            {146'520'000, 146'520'000, false, ctcss(11), ctcss(11), true, true, true, "CH02"}, {}},
        {"only cToneFreq: it is the Tone tone too",
            "Location,Frequency,Tone,cToneFreq\n2,146.52,Tone,100.0\n",
            {146'520'000, 146'520'000, false, ctcss(11), noTone, true, true, true, "CH02"}, {}},
        {"DtcsCode 0023 is code 023; Offset .6 is 0.6 MHz",
            header + "2,D,146.52,-,.6,DTCS,88.5,88.5,0023,NN,FM\n",
            {146'520'000, 145'920'000, false, dcs(0), dcs(0), true, true, true, "D"}, {}},
        {"a short row is refused by its line, the next row still counts",
            header + "2,A,146.52,,0.6\n2,B,146.55,,0.6,,88.5,88.5,023,NN,FM\n",
            {146'550'000, 146'550'000, false, noTone, noTone, true, true, true, "B"},
            {"line 2: the row has 5 fields but the header has 11; row skipped"}},
    };
    for (const ChirpCase& c : cases) {
        RadioImage image = dealerRadio();
        const CsvImport imported = importChannelsCsv(image, c.text);
        ASSERT_TRUE(imported.result.ok) << c.why << ": " << imported.result.error;
        // Channel 1, in use before, is left as it was: not this test's concern.
        Problems rows = imported.problems;
        std::erase(rows, "channel 1 was not imported and keeps its settings");
        EXPECT_EQ(rows, c.problems) << c.why;
        EXPECT_EQ(csvChannel(image, 1), c.channel2) << c.why;
    }
}

// Outside the factory bands a frequency is stored as the Channel Setting form stores it, with a
// word naming the channel and the bands.
TEST(CsvChirp, FrequenciesOutsideTheBandsAreStoredWithAWarning)
{
    RadioImage image = dealerRadio();
    image.factory.set(FactorySettings::band1Low, 136'000'000);
    image.factory.set(FactorySettings::band1High, 174'000'000);
    image.factory.set(FactorySettings::band2Low, 400'000'000);
    image.factory.set(FactorySettings::band2High, 480'000'000);
    const CsvImport imported = importChannelsCsv(image,
        "Location,Frequency,Duplex,Offset\n1,121.5,,\n2,174.0,split,480.0125\n3,136.0,off,\n");
    ASSERT_TRUE(imported.result.ok);
    EXPECT_EQ(imported.problems,
        (Problems{"line 2 (channel 1): the receive frequency 121.500000 MHz is outside the "
                  "radio's bands (136.000000-174.000000 and 400.000000-480.000000 MHz); stored "
                  "all the same",
            "line 3 (channel 2): the transmit frequency 480.012500 MHz is outside the radio's "
            "bands (136.000000-174.000000 and 400.000000-480.000000 MHz); stored all the same"}));
    EXPECT_EQ(receiveFrequency(image, 0), 121'500'000u);
    EXPECT_EQ(transmitFrequency(image, 1), 480'012'500u);
}

TEST(CsvChirp, NamesKeepOnlyWhatTheRadioCanShow)
{
    const std::pair<std::string, std::string> cases[] = {{"Zürich", "ZURICH"}, {"a-b c.1", "ABC1"},
        {"Straße", "STRASSE"}, {"Łódź", "LODZ"},
        {"Z\xFC"
         "rich",
            "ZURICH"}, // Latin-1, as older Windows programs write it
        {"Ωμέγα", ""}, {"Æsir", "AESIR"},
        {"\xE2\x82\xAC"
         "5",
            "5"}};
    for (const auto& [text, folded] : cases)
        EXPECT_EQ(foldToRadioCharacters(text), folded) << text;

    RadioImage image = dealerRadio();
    const CsvImport imported =
        importChannelsCsv(image, "Location,Name,Frequency\n1,Zürich,146.52\n2,***,146.52\n");
    ASSERT_TRUE(imported.result.ok);
    EXPECT_EQ(imported.problems,
        (Problems{"line 2 (channel 1): Name \"Zürich\" is stored as \"ZURIC\" (up to five capital "
                  "letters and digits)",
            "line 3 (channel 2): Name \"***\" has no letter or digit the radio can show; the name "
            "stays \"CH02\""}));
    EXPECT_EQ(csvChannel(image, 0).label, "ZURIC");
    EXPECT_EQ(csvChannel(image, 1).label, "CH02");
}

} // namespace
