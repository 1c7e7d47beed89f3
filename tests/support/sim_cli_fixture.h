#pragma once
// kq904-cli and kq904-sim as the user runs them: separate processes in real time, talking through
// a real pseudo-terminal. Every test gets its own temporary folder with a private profile store
// (XDG_CONFIG_HOME) and a data directory, so no test sees the user's settings.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace kq904::testing {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

class SimCliFixture : public ::testing::Test {
protected:
    static QString binDir() { return QStringLiteral(KQ904_BIN_DIR); }

    void SetUp() override
    {
        ASSERT_TRUE(temp_.isValid());
        ASSERT_TRUE(QDir(temp_.path()).mkpath("config"));
        ASSERT_TRUE(QDir(temp_.path()).mkpath("data"));
    }
    void TearDown() override { stopSim(); }

    QString path(const QString& name) const { return temp_.filePath(name); }
    QString dataDir() const { return path("data"); }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", path("config"));
        return env;
    }

    // Starts kq904-sim and returns the device it serves on (empty when it did not start).
    QString startSim(const QStringList& args) { return startSim(sim_, args); }
    // The same for one more simulated radio, run by `sim`.
    QString startSim(QProcess& sim, const QStringList& args)
    {
        sim.setProcessEnvironment(environment());
        sim.start(binDir() + "/kq904-sim", args);
        if (!sim.waitForStarted(5000))
            return {};
        while (!sim.canReadLine() && sim.waitForReadyRead(5000)) { }
        return QString::fromLocal8Bit(sim.readLine()).trimmed();
    }

    // Ends kq904-sim as a user would (SIGTERM); returns its exit code, -1 when it had to be
    // killed or crashed.
    int stopSim()
    {
        if (sim_.state() == QProcess::NotRunning)
            return sim_.exitCode();
        sim_.terminate();
        if (!sim_.waitForFinished(5000)) {
            sim_.kill();
            sim_.waitForFinished(5000);
            return -1;
        }
        return sim_.exitStatus() == QProcess::NormalExit ? sim_.exitCode() : -1;
    }
    QString simLog() { return QString::fromLocal8Bit(sim_.readAllStandardError()); }

    // Starts kq904-cli in `process` without waiting for it.
    void startCli(QProcess& process, const QStringList& args)
    {
        process.setProcessEnvironment(environment());
        process.start(binDir() + "/kq904-cli", args);
    }

    // Runs kq904-cli to its end (at most 30 s).
    CliRun cli(const QStringList& args)
    {
        QProcess process;
        startCli(process, args);
        return finish(process);
    }

    // Waits for a kq904-cli started with startCli (at most 30 s) and collects what it said.
    static CliRun finish(QProcess& process)
    {
        CliRun run;
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished();
            run.err = "kq904-cli did not finish";
            return run;
        }
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        run.err = QString::fromLocal8Bit(process.readAllStandardError());
        return run;
    }

    // The profile store's file, as the program writes it.
    QString profileFile() const
    {
        return path("config/Local AppWizard-Generated Applications/KQ904.conf");
    }
    void writeProfile(const QByteArray& text)
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(profileFile()).absolutePath()));
        QFile file(profileFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir temp_;
    QProcess sim_;
};

} // namespace kq904::testing
