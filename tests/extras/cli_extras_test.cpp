// kq904-cli program --verify and --trace, and the reason behind "Com Port Fail", as the user runs
// them: separate processes, kq904-sim on a real pseudo-terminal, in real time.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "support/sim_cli_fixture.h"

namespace {

using kq904::testing::CliRun;

// Every run gets its own profile store and data directory, which every command is given.
class CliExtras : public kq904::testing::SimCliFixture {
protected:
    CliRun cli(QStringList args)
    {
        args << "--data-dir" << dataDir();
        return SimCliFixture::cli(args);
    }
};

} // namespace

TEST_F(CliExtras, VerifyConfirmsAGoodRadio)
{
    const QString device = startSim({});
    ASSERT_FALSE(device.isEmpty());
    const CliRun run = cli({"program", "--port", device, "--verify"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "Programming OK\nVerify OK\n");
}

TEST_F(CliExtras, VerifyListsTheByteAWeakCellChanged)
{
    // The serial number's lowest byte: the radio acknowledges its write and keeps bit 0 flipped.
    const QString device = startSim({"--corrupt-eeprom", "0x0514"});
    ASSERT_FALSE(device.isEmpty());
    const CliRun run = cli({"program", "--port", device, "--verify", "--serial", "90"});
    EXPECT_EQ(run.exitCode, 4) << run.err.toStdString();
    EXPECT_EQ(run.out, "Programming OK\nVerify Fail\n0x0514: wrote 5A, read 5B\n");
    EXPECT_TRUE(run.err.contains("1 byte(s) other than written")) << run.err.toStdString();
}

// One line per frame, each with its time, direction and what it asked; times never go back.
TEST_F(CliExtras, TraceHasEveryFrameOfAReadingInOrder)
{
    // A radio with two channels.
    QByteArray eeprom(2048, char(0xFF));
    eeprom[0x0008 + 3] = 2;
    QFile image(path("radio.bin"));
    ASSERT_TRUE(image.open(QIODevice::WriteOnly));
    image.write(eeprom);
    image.close();
    const QString device = startSim({"--eeprom", image.fileName()});
    ASSERT_FALSE(device.isEmpty());
    const QString trace = path("trace.txt");
    const CliRun run = cli({"read", "--port", device, "--trace", trace, path("out.set")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    QFile file(trace);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromLatin1(file.readAll()).split('\n', Qt::SkipEmptyParts);
    const QRegularExpression frameLine(R"(^ *(\d+\.\d{3}) ([<>])((?: [0-9A-F]{2})+)  (\S.*)$)");
    QStringList words;
    double last = -1;
    for (const QString& line : lines) {
        if (line.startsWith('#'))
            continue;
        const auto match = frameLine.match(line);
        ASSERT_TRUE(match.hasMatch()) << line.toStdString();
        const double at = match.captured(1).toDouble();
        EXPECT_GE(at, last) << line.toStdString();
        last = at;
        words << match.captured(2) + " " + match.captured(4);
    }
    // Three settings blocks, then each channel's two records.
    const QStringList expected = {"> R 0x0008 24", "< r 24", "> R 0x0500 14", "< r 14",
        "> R 0x0514 8", "< r 8", "> R 0x0043 9", "< r 9", "> R 0x054A 7", "< r 7", "> R 0x004F 9",
        "< r 9", "> R 0x0551 7", "< r 7"};
    EXPECT_EQ(words, expected);
    EXPECT_TRUE(lines.contains("# READ OK"));
    // The first request waits out the port's start delay of 33 ticks.
    EXPECT_TRUE(
        lines.filter(QRegularExpression("^ *\\d")).first().contains("3C 3C 3C 05 52 00 08 18 47"));
}

TEST_F(CliExtras, TraceFileThatCannotBeWrittenStopsBeforeTheRadio)
{
    const CliRun run = cli({"version", "--port", "/dev/null", "--trace", path("no/such/dir/t")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains("cannot write the trace file")) << run.err.toStdString();
}

// stdout keeps the program's own words; stderr says which device and why.
TEST_F(CliExtras, ComPortFailComesWithTheReason)
{
    ASSERT_TRUE(QFile(path("plain-file")).open(QIODevice::WriteOnly));
    struct Case {
        QString device;
        QString reason;
    };
    const Case cases[] = {
        {path("missing-tty"), path("missing-tty") + ": not found"},
        {path("plain-file"), path("plain-file") + ": not a serial device"},
    };
    for (const Case& c : cases) {
        const CliRun run = cli({"program", "--port", c.device});
        EXPECT_EQ(run.exitCode, 2) << c.device.toStdString();
        EXPECT_EQ(run.out, "Com Port Fail\n");
        EXPECT_TRUE(run.err.contains(c.reason)) << run.err.toStdString();
    }
}
