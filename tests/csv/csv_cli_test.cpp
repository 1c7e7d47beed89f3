// kq904-cli export-csv and import-csv, run as a dealer runs them: what they write, what they
// report, their exit statuses, and the files they leave alone.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli/cli_runner.h"
#include "csv_test_support.h"
#include "model/set_file.h"
#include "model/tone_tables.h"

using namespace kq904;
using namespace kq904::csvtest;
using kq904::test::CliRun;
using kq904::test::runCli;
using kq904::test::TempDir;

namespace {

class CsvCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The data directory of a dealer whose program shows channel names.
        writeText(dir_.path() / "kq904.ini", "channel_name\r\n");
        RadioImage plan = planOfEveryKind();
        ASSERT_TRUE(saveSetFile(plan, path("plan.set")).ok);
    }

    std::string path(const std::string& name) const { return (dir_.path() / name).string(); }
    CliRun run(const std::vector<std::string>& args) const { return runCli(args, dir_.path()); }

    TempDir dir_;
};

TEST_F(CsvCliTest, ExportWritesTheChannelListOfTheSetFile)
{
    const CliRun exported = run({"export-csv", "plan.set", "plan.csv"});
    EXPECT_EQ(exported.exitStatus, 0) << exported.err;
    EXPECT_EQ(exported.out, "8 channels written to plan.csv\n");
    // The plan's cross modes and low power are what CHIRP's 18-column reader would change.
    EXPECT_EQ(exported.err,
        "kq904-cli: warning: channel 7: cross mode DTCS->Tone; CHIRP versions that read 18 "
        "columns ignore CrossMode and RxDtcsCode and take it as Tone->Tone\n"
        "kq904-cli: warning: channel 8: cross mode ->DTCS; CHIRP versions that read 18 columns "
        "ignore CrossMode and RxDtcsCode and take it as Tone->Tone\n"
        "kq904-cli: warning: channel 2: Low power; CHIRP versions that read 18 columns have no "
        "Power column and give it the default power\n");
    EXPECT_EQ(readText(path("plan.csv")), readText(fixture("exported_plan.csv")));

    // Without the channel-name feature of the data directory the radio shows tags.
    std::filesystem::create_directory(path("plain"));
    const CliRun tags =
        run({"export-csv", "--data-dir", path("plain"), "plan.set", path("tags.csv")});
    EXPECT_EQ(tags.exitStatus, 0) << tags.err;
    EXPECT_NE(readText(path("tags.csv")).find("\r\n1,CA01,146.520000,"), std::string::npos);
}

TEST_F(CsvCliTest, ExportReportsWhatTheFormatCannotHoldAndStillWrites)
{
    RadioImage plan = planOfEveryKind();
    storeSubTone(plan, 1, Half::Transmit, ctcss(kCtcssUserSet));
    ASSERT_TRUE(saveSetFile(plan, path("user.set")).ok);
    const CliRun exported = run({"export-csv", "user.set", "user.csv"});
    EXPECT_EQ(exported.exitStatus, 0);
    EXPECT_TRUE(exported.err.starts_with(
        "kq904-cli: warning: channel 2: the transmit sub-tone is the user-set CTCSS entry, which "
        "has no fixed value; exported as no sub-tone\n"))
        << exported.err;
    EXPECT_TRUE(std::filesystem::exists(path("user.csv")));
}

// Export and import again: the set file comes back byte for byte.
TEST_F(CsvCliTest, ExportThenImportGivesTheSameSetFile)
{
    ASSERT_EQ(run({"export-csv", "plan.set", "plan.csv"}).exitStatus, 0);
    const CliRun imported = run({"import-csv", "plan.csv", "plan.set", "again.set"});
    EXPECT_EQ(imported.exitStatus, 0) << imported.err;
    EXPECT_EQ(imported.out,
        "8 channels taken from plan.csv; 8 channels in use; written to "
        "again.set\n");
    EXPECT_EQ(imported.err, "");
    EXPECT_EQ(readText(path("again.set")), readText(path("plan.set")));
}

TEST_F(CsvCliTest, ImportReportsEveryProblemAndWritesWhatItTook)
{
    const std::string before = readText(path("plan.set"));
    const std::string csv = fixture("problems.csv").string();
    const CliRun imported = run({"import-csv", csv, "plan.set", "out.set"});
    EXPECT_EQ(imported.exitStatus, 0);
    EXPECT_EQ(imported.out,
        "6 channels taken from " + csv
            + "; 10 channels in use; written to "
              "out.set\n");
    EXPECT_NE(imported.err.find(
                  "kq904-cli: " + csv + ": line 2: Location 0 is outside 1-99; row skipped\n"),
        std::string::npos)
        << imported.err;
    EXPECT_EQ(std::count(imported.err.begin(), imported.err.end(), '\n'), 18) << imported.err;

    RadioImage result;
    result.featureFlags = FeatureFlags::channelName; // as kq904.ini of the data directory says
    ASSERT_TRUE(loadSetFile(result, path("out.set")).ok);
    EXPECT_EQ(result.channelCount(), 10);
    EXPECT_EQ(csvChannel(result, 9).label, "AGAIN");
    // The set file started from is never written.
    EXPECT_EQ(readText(path("plan.set")), before);
}

TEST_F(CsvCliTest, AFileThatIsNotAChannelListWritesNothing)
{
    const std::string csv = fixture("not_a_channel_list.csv").string();
    const CliRun imported = run({"import-csv", csv, "plan.set", "out.set"});
    EXPECT_EQ(imported.exitStatus, 1);
    EXPECT_EQ(imported.out, "");
    EXPECT_EQ(imported.err,
        "kq904-cli: " + csv
            + ": line 1 is not the header of a channel list: it needs the columns Location and "
              "Frequency\n");
    EXPECT_FALSE(std::filesystem::exists(path("out.set")));
}

struct StatusCase {
    std::vector<std::string> args;
    int status;
    const char* firstLine; // of stderr, after any export warnings
};

TEST_F(CsvCliTest, ExitStatusesOfBadArgumentsAndUnusableFiles)
{
    const StatusCase cases[] = {
        {{"export-csv", "plan.set"}, 2,
            "kq904-cli: export-csv needs the set file and the CSV file to write"},
        {{"export-csv", "--port", "COM1", "plan.set", "x.csv"}, 2,
            "kq904-cli: unknown option '--port'"},
        {{"import-csv", "a.csv", "plan.set"}, 2,
            "kq904-cli: import-csv needs the CSV file, the set file to start from and the set "
            "file to write"},
        {{"import-csv", "--data-dir=", "a.csv", "plan.set", "b.set"}, 2,
            "kq904-cli: option '--data-dir' needs a directory"},
        {{"export-csv", "missing.set", "x.csv"}, 1,
            "kq904-cli: cannot open missing.set: No such "
            "file or directory"},
        {{"export-csv", "plan.set", "no/such/dir/x.csv"}, 1,
            "kq904-cli: cannot write "
            "no/such/dir/x.csv: "},
        {{"import-csv", "missing.csv", "plan.set", "b.set"}, 1,
            "kq904-cli: cannot open missing.csv: No such file or directory"},
        {{"import-csv", "plan.set", "plan.set", "b.set"}, 1, "kq904-cli: plan.set: line 1: byte "},
    };
    for (const StatusCase& c : cases) {
        const CliRun result = run(c.args);
        EXPECT_EQ(result.exitStatus, c.status) << c.args.front() << " " << c.args.back();
        std::string_view err = result.err;
        while (err.starts_with("kq904-cli: warning: "))
            err.remove_prefix(err.find('\n') + 1);
        EXPECT_TRUE(err.starts_with(c.firstLine)) << result.err;
        EXPECT_FALSE(std::filesystem::exists(path("b.set")));
        EXPECT_FALSE(std::filesystem::exists(path("x.csv")));
    }
}

} // namespace
