#include "soak/pty_session.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include "link/serial_port.h"

namespace kq904::soak {

namespace {

constexpr int kTickMs = 15;

bool writeEeprom(const QString& path, const Eeprom& eeprom)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(
               reinterpret_cast<const char*>(eeprom.data()), static_cast<qint64>(eeprom.size()))
        == static_cast<qint64>(eeprom.size());
}

bool readEeprom(const QString& path, Eeprom& eeprom)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (bytes.size() != static_cast<qsizetype>(eeprom.size()))
        return false;
    std::copy(bytes.begin(), bytes.end(), eeprom.begin());
    return true;
}

// Starts kq904-sim and returns the device it serves, empty when it did not come up.
QString startSim(QProcess& sim, const QString& program, const QStringList& args)
{
    sim.start(program, args);
    if (!sim.waitForStarted(5000))
        return {};
    while (!sim.canReadLine() && sim.waitForReadyRead(5000)) { }
    return QString::fromLocal8Bit(sim.readLine()).trimmed();
}

void stopSim(QProcess& sim)
{
    if (sim.state() == QProcess::NotRunning)
        return;
    sim.terminate(); // kq904-sim saves its EEPROM on the way out
    if (!sim.waitForFinished(5000)) {
        sim.kill();
        sim.waitForFinished(5000);
    }
}

} // namespace

PtySessionRun runPtySession(const SessionPlan& plan, const Expectation& expected,
    const QString& simProgram, const QString& workDir)
{
    PtySessionRun run;
    SessionResult& result = run.result;
    const QString before = workDir + "/radio-before.bin";
    const QString after = workDir + "/radio-after.bin";
    QFile::remove(after);
    if (!writeEeprom(before, plan.eeprom)) {
        result.harness = "cannot write " + before.toStdString();
        return run;
    }
    QStringList args = {"--eeprom", before, "--save", after};
    for (const std::string& a : plan.simArguments())
        args << QString::fromStdString(a);

    QProcess sim;
    const QString device = startSim(sim, simProgram, args);
    if (device.isEmpty()) {
        result.harness = "kq904-sim did not start: " + sim.readAllStandardError().toStdString();
        stopSim(sim);
        return run;
    }

    QElapsedTimer clock;
    clock.start();
    {
        SerialPort port;
        port.setDevice(device);
        LineTap tap(port);
        RadioImage image = plan.image;
        Link link(image, tap);
        SessionDriver driver(plan, expected.tickBound, link, tap);
        link.setObserver(driver.observer());
        driver.setSettleTicks(20, 30);

        QEventLoop loop;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        tick.setInterval(kTickMs);
        QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
            if (!driver.tick())
                loop.quit();
        });
        // However late the timer runs, a session ends: the driver gives up past the tick bound,
        // this gives up on the wall clock well beyond that.
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &loop, [&] { loop.quit(); });
        guard.start(static_cast<int>((expected.tickBound + 200) * kTickMs * 3));

        driver.begin();
        tick.start();
        loop.exec();
        tick.stop();
        result = driver.result();
        if (!driver.finished() && result.harness.empty())
            result.harness = "the session ran out of wall-clock time";
        result.image = image;
        port.close();
    }
    run.elapsedMs = clock.elapsed();

    stopSim(sim);
    run.simLog = QString::fromLocal8Bit(sim.readAllStandardError());
    if (!readEeprom(after, result.eeprom) && result.harness.empty())
        result.harness = "kq904-sim left no EEPROM in " + after.toStdString();
    return run;
}

} // namespace kq904::soak
