#pragma once
// kq904-cli and kq904-sim as the user runs them: separate processes in real time, talking through
// a real pseudo-terminal. Every test gets its own temporary folder with a private profile store
// (XDG_CONFIG_HOME) and a data directory, so no test sees the user's settings.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
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
    QString startSim(const QStringList& args)
    {
        sim_.setProcessEnvironment(environment());
        sim_.start(binDir() + "/kq904-sim", args);
        if (!sim_.waitForStarted(5000))
            return {};
        while (!sim_.canReadLine() && sim_.waitForReadyRead(5000)) { }
        return QString::fromLocal8Bit(sim_.readLine()).trimmed();
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

    // Runs kq904-cli to its end (at most 30 s).
    CliRun cli(const QStringList& args)
    {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(binDir() + "/kq904-cli", args);
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
    void writeProfile(const QByteArray& text)
    {
        const QString dir = path("config/Local AppWizard-Generated Applications");
        ASSERT_TRUE(QDir().mkpath(dir));
        QFile file(dir + "/KQ904.conf");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir temp_;
    QProcess sim_;
};

} // namespace kq904::testing
