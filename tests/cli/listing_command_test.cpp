// kq904-cli listing, run as a process: what it prints, where, and with which exit status.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "cli_runner.h"
#include "model/frequency.h"
#include "model/set_file.h"
#include "model/table_files.h"
#include "view/listing_text.h"

using namespace kq904;
using namespace kq904::test;

namespace {

const std::string kHeader1 =
    "                     Frequency        Pwr  Xtal          Lock         "
    "          Sub Tone       Ch Spacing";
const std::string kHeader2 = "Chn  TAG      Transmit    Receive     H/L  Shift MON     Out  Scan  "
                             "TOT      TX       RX       TX    RX";

// A configuration with names and the DTMF version, as the table files of a dealer's PC hold it.
RadioImage dealerTables(int channelCount, std::uint32_t baseHertz)
{
    RadioImage image;
    image.setChannelCount(channelCount);
    image.general.set(GeneralSettings::dtmfVersion, true);
    image.general.set(GeneralSettings::fiveCharacterNames, true);
    image.general[9] = 3;
    image.general[10] = 3;
    for (int n = 0; n < kChannelSlots; ++n) {
        setTransmitFrequency(image, n, baseHertz + 25000u * static_cast<std::uint32_t>(n));
        setReceiveFrequency(image, n, baseHertz + 25000u * static_cast<std::uint32_t>(n));
    }
    auto name = image.extras[1].range(ChannelExtra::name);
    name[0] = 'P';
    name[1] = 'O';
    name[2] = 'R';
    name[3] = 'T';
    return image;
}

void writeTables(const RadioImage& image, const std::filesystem::path& dir)
{
    for (TableFile file : {TableFile::Channel, TableFile::Set, TableFile::Factory, TableFile::Kill})
        ASSERT_TRUE(writeTableFile(image, dir, file).ok);
}

void writeText(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        result.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return result;
}

// Names and modification times of everything in a directory.
std::set<std::pair<std::string, std::filesystem::file_time_type>> snapshot(
    const std::filesystem::path& dir)
{
    std::set<std::pair<std::string, std::filesystem::file_time_type>> entries;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        entries.insert({entry.path().filename().string(), entry.last_write_time()});
    return entries;
}

} // namespace

// A first start with no files: one channel, all zero, the tag CH01.
TEST(CliListing, NoFilesListsTheDefaultChannel)
{
    TempDir dir;
    const CliRun run = runCli({"listing"}, dir.path());
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
        kHeader1 + "\n" + kHeader2 + "\n\n"
            + " 1  CH01       0.00000     0.00000     L    On  Normal   - - -- - - - - -    - - -  "
              "  - - -     W     N\n");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

// The table files and kq904.ini of --data-dir make the start-up image; without the features in
// kq904.ini the DTMF columns and the names are switched off as in the window.
TEST(CliListing, DataDirectoryTablesAndFeatureFlags)
{
    TempDir data;
    TempDir elsewhere;
    const RadioImage tables = dealerTables(3, 446006250);
    writeTables(tables, data.path());

    const CliRun gated = runCli({"listing", "--data-dir", data.path().string()}, elsewhere.path());
    EXPECT_EQ(gated.exitStatus, 0);
    const auto gatedLines = lines(gated.out);
    ASSERT_EQ(gatedLines.size(), 6u);
    EXPECT_EQ(gatedLines[1], kHeader2);
    EXPECT_EQ(gatedLines[4].substr(0, 23), " 2  PO02      446.03125");

    writeText(data.path() / "kq904.ini", "ani_version\r\nchannel_name\r\n");
    const auto before = snapshot(data.path());
    const CliRun full = runCli({"listing", "--data-dir=" + data.path().string()}, elsewhere.path());
    EXPECT_EQ(full.exitStatus, 0);
    EXPECT_EQ(full.err, "");
    RadioImage expected = tables;
    expected.featureFlags = FeatureFlags::aniVersion | FeatureFlags::channelName;
    EXPECT_EQ(full.out, screenListingText(expected));
    EXPECT_NE(full.out.find(" 2  PORT "), std::string::npos);
    EXPECT_NE(full.out.find("PTT"), std::string::npos);
    EXPECT_EQ(snapshot(data.path()), before); // nothing written
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere.path()));
}

// A set file replaces the tables' configuration; the table files are not brought up to date.
TEST(CliListing, SetFileOverridesTheTables)
{
    TempDir dir;
    writeTables(dealerTables(3, 446006250), dir.path());
    writeText(dir.path() / "kq904.ini", "channel_name ani_version");
    RadioImage saved = dealerTables(5, 145000000);
    ASSERT_TRUE(saveSetFile(saved, dir.path() / "radio.set").ok);
    const auto before = snapshot(dir.path());

    const CliRun run = runCli({"listing", "radio.set"}, dir.path());
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "");
    saved.featureFlags = FeatureFlags::aniVersion | FeatureFlags::channelName;
    EXPECT_EQ(run.out, screenListingText(saved));
    EXPECT_EQ(lines(run.out).size(), 8u);
    EXPECT_EQ(snapshot(dir.path()), before);
}

// A file that is not a set file lists as it always did, with one warning line on stderr.
TEST(CliListing, FileThatIsNotASetFileWarnsAndListsAsBefore)
{
    TempDir dir;
    RadioImage saved = dealerTables(5, 145000000);
    auto bytes = encodeSetFile(saved);
    bytes[40] = 'x';
    writeText(dir.path() / "odd.set", std::string(bytes.begin(), bytes.end()) + "trailing");

    const CliRun run = runCli({"listing", "odd.set"}, dir.path());
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, screenListingText(saved));
    EXPECT_EQ(run.err,
        "kq904-cli: warning: odd.set: not a set file: 3773 bytes, a set file has 3765; bytes "
        "40-1023 are not filler\n");
}

// --print: the summary on rows 0-15 (DTMF version on), titles on 17-19, channel n on 20 + n.
TEST(CliListing, PrintedLayout)
{
    TempDir dir;
    writeTables(dealerTables(4, 145000000), dir.path());
    writeText(dir.path() / "kq904.ini", "ani_version");

    const CliRun run = runCli({"listing", "--print"}, dir.path());
    EXPECT_EQ(run.exitStatus, 0);
    const auto printed = lines(run.out);
    ASSERT_EQ(printed.size(), 24u);
    EXPECT_EQ(printed[0], "key Beep :                         Off");
    EXPECT_EQ(printed[15], "kill Feature:                      Off");
    EXPECT_EQ(printed[16], "");
    EXPECT_EQ(printed[18].substr(0, 8), "Chn  TAG");
    EXPECT_EQ(printed[19], "");
    EXPECT_EQ(printed[23].substr(0, 8), " 4  CH04");
}

// A set file that cannot be loaded: one line on stderr naming the file and the reason, nothing
// on stdout, exit status 1.
TEST(CliListing, SetFileThatFailsToLoad)
{
    TempDir dir;
    writeText(dir.path() / "short.set", std::string(2000, '0'));
    struct Case {
        std::string file;
        std::string reason;
    };
    for (const Case& c : {Case{"short.set", "not a set file: 2000 bytes, a set file has 3765"},
             Case{"missing.set", "cannot open"}}) {
        SCOPED_TRACE(c.file);
        const CliRun run = runCli({"listing", c.file}, dir.path());
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.file), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    }
}

// Bad arguments: the usage on stderr, nothing on stdout, exit status 2.
TEST(CliListing, BadArguments)
{
    TempDir dir;
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"lisitng"},
        {"listing", "--prnt"},
        {"listing", "a.set", "b.set"},
        {"listing", "--data-dir"},
        {"listing", "--print=yes"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        const CliRun run = runCli(args, dir.path());
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("Usage: kq904-cli"), std::string::npos) << run.err;
    }
}

// A data directory that does not exist is a failure, not an empty configuration.
TEST(CliListing, MissingDataDirectory)
{
    TempDir dir;
    const CliRun run = runCli({"listing", "--data-dir", "no-such-dir"}, dir.path());
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("no-such-dir"), std::string::npos) << run.err;
}

// --help prints the usage with every command on stdout.
TEST(CliListing, Help)
{
    TempDir dir;
    for (const auto& args : {std::vector<std::string>{"--help"}, {"listing", "--help"}}) {
        const CliRun run = runCli(args, dir.path());
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_NE(run.out.find("listing [--print] [--data-dir DIR] [FILE.set]"), std::string::npos);
    }
}
