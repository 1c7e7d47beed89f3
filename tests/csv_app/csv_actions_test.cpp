// File > "Import CSV..." and "Export CSV..." in the main window: the configuration changes only
// on a usable file, the listing and the default table files follow it, and the user sees every
// row or value that was left out.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/app_test_support.h"
#include "app/csv_actions.h"
#include "app/sample_configuration.h"
#include "link/file_path.h"
#include "model/csv_export.h"
#include "model/frequency.h"
#include "model/table_files.h"

namespace kq904 {
namespace {

using testing::AppFixture;
using testing::fileBytes;
using testing::writeFile;

const bool isolatedSettings = [] {
    static QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    return true;
}();

class ScriptedCsvChooser final : public CsvFileChooser {
public:
    struct Answers {
        QString import;
        QString exported;
        QString suggested; // what the export dialog was offered
    };
    explicit ScriptedCsvChooser(Answers& answers)
        : answers_(answers)
    { }
    QString importCsv(QWidget*) override { return answers_.import; }
    QString exportCsv(QWidget*, const QString& suggested) override
    {
        answers_.suggested = suggested;
        return answers_.exported;
    }

private:
    Answers& answers_;
};

class RecordingView : public DocumentView {
public:
    void onDocumentUpdate(unsigned hint) override { hints.push_back(hint); }
    std::vector<unsigned> hints;
};

class CsvActionsTest : public AppFixture {
protected:
    CMainFrame& start()
    {
        CMainFrame& window = startWindow();
        session_->image() = sampleConfiguration(20);
        window.csvActions().setFileChooser(std::make_unique<ScriptedCsvChooser>(csvAnswers_));
        session_->document().addView(&recorder_);
        return window;
    }
    void TearDown() override
    {
        if (session_)
            session_->document().removeView(&recorder_);
        AppFixture::TearDown();
    }
    QString csvPath(const char* name) const { return toQString(file(name)); }

    ScriptedCsvChooser::Answers csvAnswers_;
    RecordingView recorder_;
};

TEST_F(CsvActionsTest, TheFileMenuOffersBothCommands)
{
    CMainFrame& window = start();
    const QList<QAction*> entries = window.menuBar()->actions().at(0)->menu()->actions();
    EXPECT_TRUE(entries.contains(window.csvActions().importAction()));
    EXPECT_TRUE(entries.contains(window.csvActions().exportAction()));
    EXPECT_EQ(window.csvActions().importAction()->text(), "&Import CSV...");
    EXPECT_EQ(window.csvActions().exportAction()->text(), "&Export CSV...");
}

TEST_F(CsvActionsTest, ImportReplacesChannelsRedrawsAndUpdatesTheTableFiles)
{
    start();
    writeFile(file("plan.csv"),
        "Location,Name,Frequency,Duplex,Offset,Tone,cToneFreq\r\n"
        "1,TALK,146.500000,,0.000000,TSQL,100.0\r\n"
        "2,HELP,146.550000,+,5.000000,TSQL,69.9\r\n");
    csvAnswers_.import = csvPath("plan.csv");
    window_->csvActions().importAction()->trigger();

    RadioImage& image = session_->image();
    EXPECT_EQ(image.channelCount(), 2);
    EXPECT_EQ(receiveFrequency(image, 1), 146'550'000u);
    EXPECT_EQ(transmitFrequency(image, 1), 151'550'000u);
    EXPECT_EQ(recorder_.hints, std::vector<unsigned>{kFullRedrawHint});
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_FALSE(messages_[0].error);
    EXPECT_EQ(messages_[0].text,
        "2 channels imported from plan.csv. The radio now has 2 channels in use.\n\n"
        "Please check:\n"
        "line 3 (channel 2): CTCSS tone 69.9 is not in the radio's table; the channel has no "
        "sub-tones\n"
        "channels 3-20 are no longer in use: the channel count is now 2 (it was 20)");
    // The next start begins from the imported channels.
    const auto channelTab = fileBytes(dataDir() / "channelTab.bin");
    const auto expected = tableFileBytes(image, TableFile::Channel);
    EXPECT_EQ(std::vector<std::uint8_t>(channelTab.begin(), channelTab.end()), expected);
    EXPECT_EQ(static_cast<unsigned char>(fileBytes(dataDir() / "setTab.bin").at(3)), 2);
}

TEST_F(CsvActionsTest, AFileThatCannotBeUsedChangesNothingAndSaysWhy)
{
    start();
    const RadioImage before = session_->image();
    writeFile(file("bad.csv"), "Location,Frequency\n0,146.52\n100,146.52\n");
    EXPECT_FALSE(window_->csvActions().importFile(csvPath("bad.csv")));

    EXPECT_EQ(session_->image(), before);
    EXPECT_TRUE(recorder_.hints.empty());
    EXPECT_FALSE(std::filesystem::exists(dataDir() / "channelTab.bin"));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_TRUE(messages_[0].error);
    EXPECT_EQ(messages_[0].text,
        QString::fromStdString(file("bad.csv").string())
            + ": the file holds no channel the radio can take\n\n"
              "Rows that could not be taken:\n"
              "line 2: Location 0 is outside 1-99; row skipped\n"
              "line 3: Location 100 is outside 1-99; row skipped");
}

TEST_F(CsvActionsTest, ALongReportIsCutInTheMessageBox)
{
    start();
    session_->image().setChannelCount(1);
    std::string text = "Location,Frequency\n1,146.52\n";
    for (int i = 0; i < 30; ++i)
        text += "0,146.52\n";
    writeFile(file("long.csv"), text);
    ASSERT_TRUE(window_->csvActions().importFile(csvPath("long.csv")));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text.count(QStringLiteral("outside 1-99")), CsvActions::kProblemsShown);
    EXPECT_TRUE(messages_[0].text.endsWith(QStringLiteral("\n... and 10 more")));
}

TEST_F(CsvActionsTest, ExportWritesTheListOfTheConfigurationShown)
{
    CMainFrame& window = start();
    session_->image().setChannelCount(1); // the sample's first channel has nothing to report
    csvAnswers_.exported = csvPath("out.csv");
    window.csvActions().exportAction()->trigger();

    EXPECT_EQ(csvAnswers_.suggested, "Untitled.csv");
    const auto written = fileBytes(file("out.csv"));
    EXPECT_EQ(
        std::string(written.begin(), written.end()), exportChannelsCsv(session_->image()).text);
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(window.statusBar()->currentMessage(), "1 channel exported to out.csv");
}

TEST_F(CsvActionsTest, ExportTellsWhatTheFormatCannotCarry)
{
    start();
    session_->image().setChannelCount(1);
    session_->image().channels[0].set(ChannelRecord::txNarrow, true);
    session_->image().channels[0].set(ChannelRecord::rxWide, true);
    ASSERT_TRUE(window_->csvActions().exportFile(csvPath("out.csv")));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text,
        "1 channel exported to out.csv.\n\nNot carried by the CSV format, or changed by CHIRP:\n"
        "channel 1: transmit is narrow but receive is wide; Mode gives the receive spacing");
}

TEST_F(CsvActionsTest, AFailedExportIsShownAndCancellingDoesNothing)
{
    start();
    EXPECT_FALSE(window_->csvActions().exportFile(csvPath("missing/out.csv")));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_TRUE(messages_[0].error);
    EXPECT_TRUE(messages_[0].text.startsWith("cannot write " + toQString(file("missing/out.csv"))));

    const RadioImage before = session_->image();
    window_->csvActions().importAction()->trigger(); // the dialogs answer "cancelled"
    window_->csvActions().exportAction()->trigger();
    EXPECT_EQ(session_->image(), before);
    EXPECT_EQ(messages_.size(), 1u);
    EXPECT_TRUE(recorder_.hints.empty());
}

} // namespace
} // namespace kq904
