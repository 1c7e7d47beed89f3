// kq904-cli station against several kq904-sim radios that are swapped the way a factory line
// swaps them: every radio programmed once with its own number, one log line each, a failing
// radio that leaves the other ports alone, and a stop that lets the radios under way finish.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSettings>
#include <QThread>
#include <array>
#include <csignal>
#include <map>

#include "link/file_path.h"
#include "link/link_bench.h"
#include "model/set_file.h"
#include "support/sim_cli_fixture.h"

using namespace kq904;
using kq904::testing::CliRun;

namespace {

constexpr int kPorts = 3;

class Station : public kq904::testing::SimCliFixture {
protected:
    void SetUp() override
    {
        SimCliFixture::SetUp();
        RadioImage image;
        kq904::testing::fillImage(image, channels);
        ASSERT_TRUE(saveSetFile(image, toPath(path("line.set"))));
        writeProfile("[Settings]\nSERIAL_NUMBER=500\n");
    }

    // Starts the radios; each sim's extra arguments in `args`.
    void startRadios(const std::array<QStringList, kPorts>& args)
    {
        for (int i = 0; i < kPorts; ++i) {
            devices[i] = startSim(sims[i], args[i]);
            ASSERT_FALSE(devices[i].isEmpty());
        }
    }
    QStringList stationArgs(const QStringList& extra) const
    {
        QStringList args = {"station", "--data-dir", dataDir()};
        for (const QString& device : devices)
            args << "--port" << device;
        return args << extra << path("line.set");
    }
    QStringList logLines() const
    {
        QFile file(path("data/production-log.csv"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    // The serial numbers each radio was written with, in order, from the frame log of a sim
    // that has ended: the 8-byte write at 0x0514 holds the number little-endian.
    std::vector<std::uint32_t> programmedSerials(QProcess& sim)
    {
        simLogs[&sim] += QString::fromLocal8Bit(sim.readAllStandardError());
        static const QRegularExpression write(
            "W 0x0514 n=8 \\[0D 57 05 14 08 (\\w\\w) (\\w\\w) (\\w\\w) (\\w\\w)");
        std::vector<std::uint32_t> serials;
        for (auto m = write.globalMatch(simLogs[&sim]); m.hasNext();) {
            const auto match = m.next();
            std::uint32_t serial = 0;
            for (int b = 4; b >= 1; --b)
                serial = serial << 8 | match.captured(b).toUInt(nullptr, 16);
            serials.push_back(serial);
        }
        return serials;
    }
    void stopRadios()
    {
        for (QProcess& sim : sims) {
            sim.terminate();
            sim.waitForFinished(5000);
        }
    }

    int channels = 3;
    std::array<QProcess, kPorts> sims;
    std::array<QString, kPorts> devices;
    std::map<QProcess*, QString> simLogs;
};

const QRegularExpression kLine("^(\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d),"
                               "([^,]+),([^,]+),(\\d{7}),(\"[^\"]*\"|[^,]*),([^,]+),(\\d+\\.\\d)$");

} // namespace

TEST_F(Station, SwappedRadiosGetConsecutiveNumbersAndOneLogLineEach)
{
    const QStringList swapped = {"--swap-radios", "2600", "--latency", "2"};
    startRadios({swapped, swapped, swapped});
    const CliRun run = cli(stationArgs({"--fast", "--verify", "--count", "7"}));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "7 radios: 7 passed, 0 failed\n");
    EXPECT_TRUE(run.err.contains(": waiting for a radio")) << run.err.toStdString();

    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 8) << lines.join('\n').toStdString();
    EXPECT_EQ(lines[0], "time,port,device,serial,outcome,verify,seconds");
    std::map<QString, std::vector<std::uint32_t>> logged; // per device, in log order
    std::set<std::uint32_t> all;
    for (int i = 1; i < lines.size(); ++i) {
        const auto m = kLine.match(lines[i]);
        ASSERT_TRUE(m.hasMatch()) << lines[i].toStdString();
        EXPECT_EQ(m.captured(2), m.captured(3)); // the port as given: the device path here
        EXPECT_EQ(m.captured(5), "Programming OK");
        EXPECT_EQ(m.captured(6), "Verify OK");
        logged[m.captured(3)].push_back(m.captured(4).toUInt());
        all.insert(m.captured(4).toUInt());
    }
    EXPECT_EQ(all, (std::set<std::uint32_t>{500, 501, 502, 503, 504, 505, 506}));
    EXPECT_EQ(QSettings(profileFile(), QSettings::IniFormat).value("Settings/SERIAL_NUMBER"), 507);

    // What each radio really holds is what its line says: every swap a new radio, each
    // programmed once.
    stopRadios();
    for (int i = 0; i < kPorts; ++i) {
        SCOPED_TRACE(devices[i].toStdString());
        EXPECT_EQ(programmedSerials(sims[i]), logged[devices[i]]);
        EXPECT_GE(logged[devices[i]].size(), 1u);
    }
    EXPECT_GE(simLogs[&sims[0]].count("taken off the cable"), 1);
}

// 99 channels at the paced link's speed, so the stop falls while two radios are being written.
TEST_F(Station, AFailingRadioLeavesTheOthersAloneAndAStopFinishesTheRadiosUnderWay)
{
    channels = 99;
    SetUp();
    startRadios({QStringList{"--fault", "silence@5"}, QStringList{}, QStringList{}});
    QProcess station;
    startCli(station, stationArgs({}));
    // The failing radio's line comes after its 3 s timeout; the others are half-way then.
    QElapsedTimer waited;
    waited.start();
    while (logLines().size() < 2 && waited.elapsed() < 20000)
        QThread::msleep(50);
    ASSERT_EQ(logLines().size(), 2)
        << QString::fromLocal8Bit(station.readAllStandardError()).toStdString();
    ::kill(static_cast<pid_t>(station.processId()), SIGTERM);
    const CliRun run = finish(station);

    EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();
    EXPECT_EQ(run.out, "3 radios: 2 passed, 1 failed\n");
    EXPECT_TRUE(run.err.contains("stopping: no new radio starts")) << run.err.toStdString();
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 4) << lines.join('\n').toStdString();
    std::map<QString, std::string> outcomes;
    for (int i = 1; i < lines.size(); ++i) {
        const auto m = kLine.match(lines[i]);
        ASSERT_TRUE(m.hasMatch()) << lines[i].toStdString();
        outcomes[m.captured(3)] = (m.captured(5) + " " + m.captured(6)).toStdString();
    }
    // The radio's fifth frame is the programming's fourth: the version request that found it
    // came first.
    EXPECT_EQ(outcomes[devices[0]],
        "Programming Fail; no answer from the radio within 3 s after frame 4 of 204 "
        "(W 0x0551: channel 2 extra) -");
    EXPECT_EQ(outcomes[devices[1]], "Programming OK -");
    EXPECT_EQ(outcomes[devices[2]], "Programming OK -");
    stopRadios();
    EXPECT_EQ(programmedSerials(sims[1]).size(), 1u);
    EXPECT_EQ(programmedSerials(sims[2]).size(), 1u);
}
