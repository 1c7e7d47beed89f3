// The desktop program's side: every "READ OK" keeps a backup unless the profile turns it off,
// a backup that fails is reported without spoiling the reading, "Com Port Fail" comes with its
// reason, and --trace logs the line of the session's link.
#include <QPushButton>
#include <QStatusBar>
#include <QThread>

#include "app/app_test_support.h"
#include "model/read_backup.h"
#include "model/set_file.h"

using namespace kq904;
using kq904::testing::AppFixture;

namespace {

class AppExtras : public AppFixture {
protected:
    std::vector<std::filesystem::path> backups() const
    {
        std::vector<std::filesystem::path> found;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(dataDir() / kBackupFolder, ec))
            found.push_back(entry.path());
        return found;
    }

    // The link reports a good reading of a radio with this serial number.
    void readOk(std::uint32_t serial)
    {
        session_->image().id.set(IdSettings::serialNumber, serial);
        session_->transferEnded(LinkOutcome::ReadOk);
    }
};

} // namespace

TEST_F(AppExtras, ReadOkKeepsTheImageAsReadAndSaysSoInTheStatusBar)
{
    CMainFrame& window = startWindow();
    readOk(500);

    const auto files = backups();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(files[0].filename().string().ends_with("-SN0000500.set")) << files[0];
    RadioImage loaded;
    ASSERT_TRUE(loadSetFile(loaded, files[0]));
    EXPECT_EQ(loaded.id, session_->image().id);
    EXPECT_EQ(loaded.channels, session_->image().channels);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, "READ OK");
    EXPECT_EQ(window.statusBar()->currentMessage(),
        QStringLiteral("Reading kept as %1").arg(QString::fromStdString(files[0].string())));

    // A second reading in the same second gets a name of its own.
    readOk(500);
    EXPECT_EQ(backups().size(), 2u);
}

TEST_F(AppExtras, OnlyReadingsAreKeptAndTheProfileCanTurnItOff)
{
    startSession();
    session_->transferEnded(LinkOutcome::ProgrammingOk);
    session_->transferEnded(LinkOutcome::ReadingFail);
    EXPECT_TRUE(backups().empty());

    session_->profile().setReadBackup(false);
    readOk(7);
    EXPECT_TRUE(backups().empty());
    ASSERT_EQ(messages_.size(), 3u);
    EXPECT_EQ(messages_.back().text, "READ OK");
    EXPECT_FALSE(messages_.back().error);

    session_->profile().setReadBackup(true);
    readOk(7);
    EXPECT_EQ(backups().size(), 1u);
}

TEST_F(AppExtras, BackupThatCannotBeWrittenIsReportedAfterReadOk)
{
    // A file where the backups folder should be.
    kq904::testing::writeFile(dataDir() / kBackupFolder, "not a folder");
    startSession();
    const RadioImage before = [&] {
        session_->image().id.set(IdSettings::serialNumber, 9);
        return session_->image();
    }();
    session_->transferEnded(LinkOutcome::ReadOk);

    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[0].text, "READ OK");
    EXPECT_FALSE(messages_[0].error);
    EXPECT_TRUE(messages_[1].error);
    EXPECT_TRUE(messages_[1].text.startsWith("The reading was not kept as a backup: "))
        << messages_[1].text;
    EXPECT_EQ(session_->image(), before) << "the reading stands";
}

// The Programming form's "Com Port Fail", through the window's own wiring: the words stay the
// program's, the device and the reason come under them.
TEST_F(AppExtras, ComPortFailNamesTheDeviceAndTheReason)
{
    const std::string missing = dataDir().string() + "/ttyUSB7";
    {
        ProfileSettings profile(profilePath());
        profile.setPortIndex(0);
        profile.setPortDevice(1, QString::fromStdString(missing));
        ASSERT_TRUE(profile.sync());
    }
    CMainFrame& window = startWindow();
    bool clicked = false;
    kq904::testing::inspectNextModal([&clicked](QWidget* modal) {
        for (auto* button : modal->findChildren<QPushButton*>()) {
            if (button->text() == QLatin1String("Programming")) {
                button->click();
                clicked = true;
            }
        }
    });
    window.action(Command::Programming)->trigger();

    ASSERT_TRUE(clicked);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text,
        QString::fromStdString(
            "Com Port Fail\n\n" + missing + ": not found (is the programming cable plugged in?)"));
}

TEST_F(AppExtras, TraceLogsTheSessionsLink)
{
    const std::filesystem::path traceFile = file("trace.txt");
    SessionOptions options;
    options.dataDir = dataDir();
    options.simulate = true;
    options.traceFile = traceFile;
    {
        Session session(options, std::make_unique<ProfileSettings>(profilePath()));
        ASSERT_TRUE(session.traceOpened());
        ASSERT_TRUE(session.link().requestVersion());
        for (int i = 0; i < 200 && session.link().linkState() != LinkState::ReadDone; ++i) {
            session.link().tick();
            QThread::msleep(1);
        }
        ASSERT_EQ(session.link().linkState(), LinkState::ReadDone);
    }
    const auto bytes = kq904::testing::fileBytes(traceFile);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("# port opened\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" > 3C 3C 3C 02 46 44  F\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  f 0x"), std::string::npos) << text;

    options.traceFile = dataDir() / "no" / "such" / "folder" / "trace.txt";
    Session refused(options, std::make_unique<ProfileSettings>(profilePath()));
    EXPECT_FALSE(refused.traceOpened());
    EXPECT_NE(refused.traceOpened().error.find("cannot write the trace file"), std::string::npos);
}
