// Channels copied as the clipboard carries them (CSV for CHIRP, tab-separated rows for
// spreadsheets) and pasted into the channels from the active one on.
#include <gtest/gtest.h>

#include "csv_test_support.h"
#include "model/csv_export.h"
#include "model/csv_import.h"

namespace kq904 {
namespace {

using csvtest::dealerRadio;

// A radio of five channels, each with its own frequency, name and tones.
RadioImage fiveChannels()
{
    RadioImage image = dealerRadio();
    image.setChannelCount(5);
    const char* names[] = {"ALPHA", "BRAVO", "CHAS", "DELTA", "ECHO"};
    for (int n = 0; n < 5; ++n) {
        setReceiveFrequency(image, n, 150'000'000u + 12'500u * static_cast<unsigned>(n));
        setTransmitFrequency(image, n, 155'000'000u + 25'000u * static_cast<unsigned>(n));
        storeChannelName(image, n, names[n]);
        image.channels[static_cast<std::size_t>(n)].set(ChannelRecord::highPower, n % 2 == 0);
    }
    return image;
}

// The rows of a channel list without their Location, which a paste does not keep.
std::vector<std::string> rowsWithoutLocation(const std::string& text)
{
    std::vector<std::string> rows;
    for (std::size_t at = text.find('\n') + 1; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        const std::string row = text.substr(at, end - at);
        rows.push_back(row.substr(row.find_first_of(",\t")));
        at = end + 1;
    }
    return rows;
}

TEST(CsvPaste, CopiedChannelsComeBackAsTheyWereWhereverTheyArePasted)
{
    const RadioImage original = fiveChannels();
    const std::vector<int> copied = {1, 3, 4};
    for (const char separator : {',', '\t'}) {
        const CsvExport clipboard = exportChannelsCsv(original, copied, separator);
        RadioImage image = original;
        const CsvImport pasted = pasteChannelsCsv(image, clipboard.text, 3);
        ASSERT_TRUE(pasted.result) << pasted.result.error;
        EXPECT_EQ(pasted.channelsTaken, 3);
        EXPECT_EQ(pasted.channelCount, 6); // channels 4-6: one more than before
        EXPECT_TRUE(pasted.problems.empty()) << pasted.problems.front();
        EXPECT_EQ(rowsWithoutLocation(exportChannelsCsv(image, std::vector<int>{3, 4, 5}).text),
            rowsWithoutLocation(exportChannelsCsv(original, copied).text));
        for (int n = 0; n < 3; ++n)
            EXPECT_EQ(image.channels[static_cast<std::size_t>(n)],
                original.channels[static_cast<std::size_t>(n)]);
    }
}

TEST(CsvPaste, RowsGoInOrderFromTheActiveChannelUpToTheLast)
{
    struct Case {
        const char* what;
        const char* text;
        int first;
        int taken;
        int count;
        std::string problem; // "" for none
    };
    const Case cases[] = {
        {"spreadsheet cells without Location, columns in another order",
            "Name\tFrequency\r\nNORTH\t146.520000\r\nSOUTH\t146.540000\r\n", 0, 2, 5, ""},
        {"a row that cannot be taken keeps the next row in its place",
            "Location,Frequency\r\n1,146.52\r\n2,lots\r\n3,146.56\r\n", 1, 2, 5,
            "line 3 (channel 3): Frequency \"lots\" is not a frequency in MHz; row skipped"},
        {"rows past channel 99 are left out", "Frequency\n146.52\n146.54\n146.56\n", 97, 2, 99,
            "line 4 and the rows after it: no channel past 99; left out"},
    };
    for (const Case& c : cases) {
        RadioImage image = fiveChannels();
        const CsvImport pasted = pasteChannelsCsv(image, c.text, c.first);
        ASSERT_TRUE(pasted.result) << c.what << ": " << pasted.result.error;
        EXPECT_EQ(pasted.channelsTaken, c.taken) << c.what;
        EXPECT_EQ(image.channelCount(), c.count) << c.what;
        EXPECT_EQ(pasted.problems.empty() ? "" : pasted.problems.back(), c.problem) << c.what;
        EXPECT_EQ(receiveFrequency(image, c.first), 146'520'000u) << c.what;
    }
}

TEST(CsvPaste, TextThatIsNoChannelListChangesNothing)
{
    for (const char* text : {"", "146.52\t146.54\n", "Location,Name\n1,A\n", "Frequency\nlots\n"}) {
        RadioImage image = fiveChannels();
        const CsvImport pasted = pasteChannelsCsv(image, text, 0);
        EXPECT_FALSE(pasted.result) << text;
        EXPECT_EQ(image, fiveChannels()) << text;
    }
}

} // namespace
} // namespace kq904
