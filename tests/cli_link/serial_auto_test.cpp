// kq904-cli program --serial-auto: each run takes the profile's SERIAL_NUMBER under a lock held
// across processes and stores the next one before the radio is written, so parallel runs never
// program the same number and a run that dies never hands its number out again.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSettings>
#include <QThread>
#include <QtEndian>
#include <array>
#include <set>

#include "model/radio_image.h"
#include "model/set_file.h"
#include "support/sim_cli_fixture.h"

using namespace kq904;
using kq904::testing::CliRun;

namespace {

class SerialAuto : public kq904::testing::SimCliFixture {
protected:
    std::uint32_t profileSerial() const
    {
        return QSettings(profileFile(), QSettings::IniFormat)
            .value("Settings/SERIAL_NUMBER")
            .toString()
            .toUInt();
    }
    // The serial number in the radio's saved EEPROM (little-endian at 0x0514).
    static std::uint32_t radioSerial(const QString& eeprom)
    {
        QFile file(eeprom);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        return bytes.size() < 2048 ? 0 : qFromLittleEndian<quint32>(bytes.constData() + 0x0514);
    }
};

} // namespace

TEST_F(SerialAuto, EightParallelRunsGetEightDistinctConsecutiveNumbers)
{
    constexpr int kRadios = 8;
    writeProfile("[Settings]\nSERIAL_NUMBER=100\n");
    std::array<QProcess, kRadios> sims;
    std::array<QProcess, kRadios> runs;
    QStringList devices;
    for (int i = 0; i < kRadios; ++i) {
        devices << startSim(sims[i], {"--save", path(QString("radio%1.bin").arg(i))});
        ASSERT_FALSE(devices.back().isEmpty());
    }
    // All at once, so their reservations fall together.
    for (int i = 0; i < kRadios; ++i)
        startCli(
            runs[i], {"program", "--serial-auto", "--port", devices[i], "--data-dir", dataDir()});
    std::set<std::uint32_t> said;
    std::set<std::uint32_t> programmed;
    const QRegularExpression named("^kq904-cli: serial number (\\d{7}) \\(the next radio gets");
    for (int i = 0; i < kRadios; ++i) {
        const CliRun run = finish(runs[i]);
        EXPECT_EQ(run.out, "Programming OK\n") << run.err.toStdString();
        const auto match = named.match(run.err);
        ASSERT_TRUE(match.hasMatch()) << run.err.toStdString();
        said.insert(match.captured(1).toUInt());
        programmed.insert(radioSerial(path(QString("radio%1.bin").arg(i))));
        sims[i].terminate();
        sims[i].waitForFinished(5000);
    }
    const std::set<std::uint32_t> expected = {100, 101, 102, 103, 104, 105, 106, 107};
    EXPECT_EQ(said, expected);
    EXPECT_EQ(programmed, expected);
    EXPECT_EQ(profileSerial(), 108u);
}

// The number is stored before the radio sees a byte: a run that dies mid-way has used it up. A
// port that never opened has not. An eight-digit number from a set file is written with a
// warning (here the port fails, but the warning comes first).
TEST_F(SerialAuto, TheNumberIsStoredBeforeTheRadioIsWritten)
{
    writeProfile("[Settings]\nSERIAL_NUMBER=41\n");
    RadioImage blank;
    blank.id.set(IdSettings::serialNumber, 0xFFFFFFFF);
    ASSERT_TRUE(saveSetFile(blank, path("blank.set").toStdString()));
    const QString noDevice = path("no-such-device");
    const CliRun plain =
        cli({"program", "--port", noDevice, "--data-dir", dataDir(), path("blank.set")});
    EXPECT_TRUE(plain.err.contains("warning: serial number 4294967295 has more than seven digits"))
        << plain.err.toStdString();
    const CliRun noPort =
        cli({"program", "--serial-auto", "--port", noDevice, "--data-dir", dataDir()});
    EXPECT_EQ(noPort.exitCode, 2);
    EXPECT_TRUE(noPort.err.contains("serial number 0000041 was not used"))
        << noPort.err.toStdString();
    EXPECT_EQ(profileSerial(), 41u);

    const QString device = startSim({"--fault", "silence@2"});
    ASSERT_FALSE(device.isEmpty());
    QProcess run;
    startCli(run, {"program", "--serial-auto", "--port", device, "--data-dir", dataDir()});
    ASSERT_TRUE(run.waitForStarted(5000));
    QThread::msleep(800); // past the start delay: the first frames are out
    run.kill();
    run.waitForFinished(5000);
    EXPECT_EQ(profileSerial(), 42u);
}
