// kq904-cli program, read and version against kq904-sim through a real pseudo-terminal: both
// programs as the user runs them, in real time. Each run stays short (three channels); the
// full 99-channel programming is measured by bench_programming instead.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <fstream>

#include "link/file_path.h"
#include "link/link_bench.h"
#include "model/set_file.h"
#include "model/table_files.h"
#include "support/sim_cli_fixture.h"

using namespace kq904;
using kq904::testing::CliRun;

namespace {

// Every run gets its own profile store, so no test sees the user's port settings.
class CliLink : public kq904::testing::SimCliFixture { };

std::vector<std::uint8_t> readBytes(const QString& path)
{
    std::ifstream in(toPath(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

template <typename Layout>
std::vector<std::uint8_t> eepromBlock(
    const std::vector<std::uint8_t>& eeprom, std::uint16_t address, std::size_t size = Layout::size)
{
    if (address + size > eeprom.size())
        return {};
    return {eeprom.begin() + address, eeprom.begin() + address + static_cast<long>(size)};
}

template <typename Layout>
std::vector<std::uint8_t> bytesOf(const Block<Layout>& block, std::size_t size = Layout::size)
{
    return {block.bytes.begin(), block.bytes.begin() + static_cast<long>(size)};
}

} // namespace

// The path a dealer takes: program a radio from a set file with a new serial number, read it
// back into another set file. The radio must end up holding exactly what the same programming
// gives in virtual time, and the file read back must hold what the radio holds.
TEST_F(CliLink, ProgramThenReadBackThroughAPseudoTerminal)
{
    constexpr int kChannels = 3;
    constexpr std::uint32_t kSerial = 1234567;
    RadioImage original;
    kq904::testing::fillImage(original, kChannels);
    const QString setFile = path("dealer.set");
    ASSERT_TRUE(saveSetFile(original, toPath(setFile)));
    const std::vector<std::uint8_t> setFileBytes = readBytes(setFile);
    // What the CLI programs: the start-up image of an empty data directory, then the set file,
    // then the serial number. The oracle programs the same in virtual time.
    kq904::testing::LinkBench oracle;
    loadTableFiles(oracle.image, toPath(dataDir()));
    ASSERT_TRUE(loadSetFile(oracle.image, toPath(setFile)));
    oracle.image.id.set(IdSettings::serialNumber, kSerial);
    ASSERT_TRUE(oracle.link.startProgramming());
    oracle.runToEnd();
    ASSERT_EQ(oracle.link.linkState(), LinkState::Programmed);

    const QString eepromFile = path("eeprom.bin");
    const QString device = startSim({"--save", eepromFile, "--link", path("radio")});
    ASSERT_FALSE(device.isEmpty());
    EXPECT_EQ(QFileInfo(path("radio")).symLinkTarget(), device);

    const CliRun program = cli({"program", "--port", path("radio"), "--data-dir", dataDir(),
        "--serial", QString::number(kSerial), setFile});
    EXPECT_EQ(program.out, "Programming OK\n") << program.err.toStdString();
    EXPECT_EQ(program.exitCode, 0);

    // The radio saves its EEPROM before it acknowledges the end of programming.
    const std::vector<std::uint8_t> eeprom = readBytes(eepromFile);
    ASSERT_EQ(eeprom.size(), 2048u);
    const std::vector<std::uint8_t> expected(
        oracle.radio.eeprom().begin(), oracle.radio.eeprom().end());
    EXPECT_EQ(eeprom, expected);
    EXPECT_EQ(eepromBlock<GeneralSettings>(eeprom, EepromMap::generalSettings),
        bytesOf(original.general));
    const std::uint8_t serialBytes[] = {0x87, 0xD6, 0x12, 0x00}; // 1234567, little-endian
    EXPECT_TRUE(std::equal(
        std::begin(serialBytes), std::end(serialBytes), eeprom.begin() + EepromMap::idSettings));

    const CliRun read = cli({"read", "--port", device, "--data-dir", dataDir(), path("back.set")});
    EXPECT_EQ(read.out, "READ OK\n") << read.err.toStdString();
    EXPECT_EQ(read.exitCode, 0);
    RadioImage back;
    ASSERT_TRUE(loadSetFile(back, toPath(path("back.set"))));
    EXPECT_EQ(
        bytesOf(back.general), eepromBlock<GeneralSettings>(eeprom, EepromMap::generalSettings));
    EXPECT_EQ(bytesOf(back.code, CodeSettings::transferred),
        eepromBlock<CodeSettings>(eeprom, EepromMap::codeSettings, CodeSettings::transferred));
    EXPECT_EQ(bytesOf(back.id), eepromBlock<IdSettings>(eeprom, EepromMap::idSettings));
    EXPECT_EQ(back.id.get(IdSettings::serialNumber), kSerial);
    for (int n = 0; n < kChannels; ++n) {
        SCOPED_TRACE(n);
        const auto i = static_cast<std::size_t>(n);
        EXPECT_EQ(bytesOf(back.channels[i]),
            eepromBlock<ChannelRecord>(eeprom, EepromMap::channelRecord(n)));
        EXPECT_EQ(
            bytesOf(back.extras[i]), eepromBlock<ChannelExtra>(eeprom, EepromMap::channelExtra(n)));
        // Apart from the in-band bits programming recomputes, the channel is the dealer's.
        RadioImage mine = original;
        updateBandBits(mine, n);
        EXPECT_EQ(back.channels[i], mine.channels[i]);
        EXPECT_EQ(back.extras[i], mine.extras[i]);
    }

    // Neither the given set file nor the table files were written.
    EXPECT_EQ(readBytes(setFile), setFileBytes);
    EXPECT_TRUE(QDir(dataDir()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());

    EXPECT_EQ(stopSim(), 0);
    EXPECT_FALSE(QFileInfo(path("radio")).isSymLink()) << "the link outlived kq904-sim";
    const QString log = simLog();
    EXPECT_TRUE(log.contains("W 0x0514 n=8")) << log.toStdString();
    EXPECT_TRUE(log.contains("R 0x054A n=7")) << log.toStdString();
}

// The port comes from the profile when none is given: "COM" + 1, and the device configured for
// that port name in the section "Ports".
TEST_F(CliLink, DefaultPortComesFromTheProfile)
{
    const QString device = startSim({"--version", "0x0123"});
    ASSERT_FALSE(device.isEmpty());
    writeProfile("[Settings]\nCOM=4\n[Ports]\nCOM5=" + device.toLocal8Bit() + "\n");
    const CliRun version = cli({"version", "--data-dir", dataDir()});
    EXPECT_EQ(version.out, "18\n") << version.err.toStdString(); // 0x0123 >> 4
    EXPECT_EQ(version.exitCode, 0);

    writeProfile("[Settings]\nCOM=5\n[Ports]\nCOM5=" + device.toLocal8Bit()
        + "\nCOM6=" + path("no-such-device").toLocal8Bit() + "\n");
    const CliRun wrongPort = cli({"version", "--data-dir", dataDir()});
    EXPECT_EQ(wrongPort.out, "Com Port Fail\n");
    EXPECT_EQ(wrongPort.exitCode, 2);
    EXPECT_TRUE(wrongPort.err.contains("no-such-device")) << wrongPort.err.toStdString();
}

TEST_F(CliLink, MissingDeviceIsComPortFail)
{
    for (const char* command : {"program", "version"}) {
        SCOPED_TRACE(command);
        const CliRun run =
            cli({command, "--port", path("no-such-device"), "--data-dir", dataDir()});
        EXPECT_EQ(run.out, "Com Port Fail\n");
        EXPECT_EQ(run.exitCode, 2);
    }
    const CliRun read =
        cli({"read", "--port", path("no-such-device"), "--data-dir", dataDir(), path("out.set")});
    EXPECT_EQ(read.out, "Com Port Fail\n");
    EXPECT_EQ(read.exitCode, 2);
    EXPECT_FALSE(QFile::exists(path("out.set")));
}

// A radio that stops answering after two frames: programming fails after the 3 s reply timeout,
// stdout keeps the program's words and stderr says on which device and why. The start-up image
// of an empty data directory has one channel: eight frames.
TEST_F(CliLink, SilentRadioGivesProgrammingFailAndSaysWhy)
{
    const QString device = startSim({"--fault", "silence@3"});
    ASSERT_FALSE(device.isEmpty());
    const CliRun program = cli({"program", "--port", device, "--data-dir", dataDir()});
    EXPECT_EQ(program.out, "Programming Fail\n");
    EXPECT_EQ(program.exitCode, 3);
    EXPECT_EQ(program.err,
        "kq904-cli: " + device
            + ": no answer from the radio within 3 s after frame 3 of 8 (W 0x0008: general "
              "settings)\n");
}

// A corrupted reply during a reading fails it, and no set file is written.
TEST_F(CliLink, CorruptedReplyGivesReadingFailAndNoFile)
{
    const QString device = startSim({"--fault", "corrupt-checksum@2"});
    ASSERT_FALSE(device.isEmpty());
    const CliRun read = cli({"read", "--port", device, "--data-dir", dataDir(), path("out.set")});
    EXPECT_EQ(read.out, "Reading Fail\n") << read.err.toStdString();
    EXPECT_EQ(read.exitCode, 3);
    EXPECT_FALSE(QFile::exists(path("out.set")));
}

// A radio that answers the version request with "2" is read in full; the version command then
// ends as a reading does, without writing anything.
TEST_F(CliLink, RadioAnsweringTwoIsReadInFull)
{
    // A radio holding two channels, so the reading stays short.
    std::vector<char> eeprom(2048, '\xFF');
    eeprom[EepromMap::generalSettings + GeneralSettings::channelCount.byte] = 2;
    {
        std::ofstream out(toPath(path("two-channels.bin")), std::ios::binary);
        out.write(eeprom.data(), static_cast<std::streamsize>(eeprom.size()));
    }
    const QString device =
        startSim({"--eeprom", path("two-channels.bin"), "--fault", "two-for-version@1"});
    ASSERT_FALSE(device.isEmpty());
    const CliRun version = cli({"version", "--port", device, "--data-dir", dataDir()});
    EXPECT_EQ(version.out, "READ OK\n") << version.err.toStdString();
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(QDir(dataDir()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    stopSim();
    const QString log = simLog();
    EXPECT_TRUE(log.contains("R 0x0008 n=24")) << log.toStdString();
    EXPECT_TRUE(log.contains("R 0x0551 n=7")) << log.toStdString(); // the second channel's extra
}

// The radio's end goes away in the middle of a programming (cable pulled): the transfer ends at
// once as failed, instead of waiting on a closed port for ever.
TEST_F(CliLink, PulledCableEndsTheTransferAsFailed)
{
    // The radio takes the first frame and then keeps quiet, so the programming is sure to be
    // waiting for an acknowledge when the cable is pulled.
    const QString device = startSim({"--fault", "silence@2"});
    ASSERT_FALSE(device.isEmpty());
    QProcess program;
    program.setProcessEnvironment(environment());
    program.start(binDir() + "/kq904-cli", {"program", "--port", device, "--data-dir", dataDir()});
    ASSERT_TRUE(program.waitForStarted(5000));
    QThread::msleep(1000); // start delay (495 ms), first frame, second frame sent
    sim_.kill();
    sim_.waitForFinished(5000);
    QElapsedTimer sincePulled;
    sincePulled.start();
    ASSERT_TRUE(program.waitForFinished(10000));
    // Well before the 3 s reply timeout would have ended it.
    EXPECT_LT(sincePulled.elapsed(), 1500);
    EXPECT_EQ(QString::fromLocal8Bit(program.readAllStandardOutput()), "Programming Fail\n");
    EXPECT_EQ(program.exitCode(), 3);
    const QString err = QString::fromLocal8Bit(program.readAllStandardError());
    EXPECT_TRUE(err.startsWith("kq904-cli: " + device
        + ": the device disappeared (cable or adapter unplugged) after frame 2 of 8"))
        << err.toStdString();
}

TEST_F(CliLink, BadArgumentsAreUsageErrors)
{
    const QStringList bad[] = {{"program", "--serial", "10000000"}, {"program", "--serial", "12a"},
        {"read"}, {"version", "extra"}, {"program", "--port="},
        {"program", "--serial", "5", "--serial-auto"}};
    for (const QStringList& args : bad) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << args.join(' ').toStdString();
    }
}

// --fast against the paced link on the same radio: the radio receives the same frames, byte for
// byte, for a programming and a reading. The trace stamps each reply with the moment it came in
// from the device (the radio's 20 ms), not the tick that took it in (30 ms on the paced link).
TEST_F(CliLink, FastTransferSendsThePacedFramesAndTheTraceShowsArrivalTimes)
{
    RadioImage image;
    kq904::testing::fillImage(image, 3);
    ASSERT_TRUE(saveSetFile(image, toPath(path("three.set"))));
    const QString device = startSim({"--latency", "20"});
    ASSERT_FALSE(device.isEmpty());
    const QStringList common = {"--port", device, "--data-dir", dataDir()};
    for (const QString& fast : {QString(), QString("--fast")}) {
        CliRun run = cli(QStringList{"program", path("three.set"), "--trace", path("p" + fast)}
            << common << (fast.isEmpty() ? QStringList() : QStringList{fast}));
        EXPECT_EQ(run.out, "Programming OK\n") << run.err.toStdString();
        run = cli(QStringList{"read", path("back.set")}
            << common << (fast.isEmpty() ? QStringList() : QStringList{fast}));
        EXPECT_EQ(run.out, "READ OK\n") << run.err.toStdString();
    }
    stopSim();
    // "#7 +1234ms W 0x0043 n=9 [...] -> ...": the frame and the answer, without the time.
    QStringList frames;
    for (const QString& line : simLog().split('\n', Qt::SkipEmptyParts))
        frames << line.section(' ', 2);
    // Paced programming and reading, then the same fast.
    ASSERT_EQ(frames.size(), 2 * (12 + 9));
    EXPECT_EQ(frames.mid(21).join('\n').toStdString(), frames.mid(0, 21).join('\n').toStdString());

    // Each reply's time after its request, in the paced trace.
    QFile trace(path("p"));
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    std::vector<double> delays;
    double sent = -1;
    for (const QString& line : QString::fromUtf8(trace.readAll()).split('\n')) {
        const QStringList fields = line.simplified().split(' ');
        if (fields.size() < 2 || line.startsWith('#'))
            continue;
        if (fields[1] == ">")
            sent = fields[0].toDouble();
        else if (fields[1] == "<" && sent >= 0)
            delays.push_back(fields[0].toDouble() - sent);
    }
    ASSERT_EQ(delays.size(), 12u);
    std::sort(delays.begin(), delays.end());
    EXPECT_GE(delays[6], 19.0);
    EXPECT_LT(delays[6], 27.0);
}
