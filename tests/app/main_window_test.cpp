// The main window: its commands as the menu and toolbar offer them, the File commands on real
// files, and what a failed open or save leaves as it was.
#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include "app/about_dialog.h"
#include "app/listing_view.h"
#include "app/recent_files.h"
#include "app/sample_configuration.h"
#include "app/tick_pump.h"
#include "app_test_support.h"
#include "model/frequency.h"
#include "model/set_file.h"
#include "model/table_files.h"

namespace kq904 {
namespace {

using testing::AppFixture;
using testing::fileBytes;
using testing::shownTitle;
using testing::writeFile;

class MainWindowTest : public AppFixture {
protected:
    QString saveSample(const char* name, int channels)
    {
        RadioImage sample = sampleConfiguration(channels);
        EXPECT_TRUE(saveSetFile(sample, file(name)));
        return toQString(file(name));
    }
};

// Menu entries as "text" (separators as "-", greyed entries with a leading '~').
QStringList menuEntries(const QList<QAction*>& actions)
{
    QStringList entries;
    for (const QAction* action : actions) {
        if (!action->isVisible())
            continue;
        QString text = action->isSeparator() ? QStringLiteral("-") : action->text();
        if (!action->shortcut().isEmpty())
            text += QLatin1Char('\t') + action->shortcut().toString();
        entries.append(action->isEnabled() ? text : QLatin1Char('~') + text);
    }
    return entries;
}

TEST_F(MainWindowTest, MenusToolbarAndStatusBarAreThoseOfTheProgrammer)
{
    CMainFrame& window = startWindow();
    const QStringList top = menuEntries(window.menuBar()->actions());
    EXPECT_EQ(top,
        QStringList({"&File", "&Edit", "&Setting", "&Programming", "P&ort", "~F&actory", "&Help"}));

    const QList<QAction*> menus = window.menuBar()->actions();
    EXPECT_EQ(menuEntries(menus.at(0)->menu()->actions()),
        QStringList({"-", "&Open...\tCtrl+O", "&Save\tCtrl+S", "Save &As...", "-", "&Import CSV...",
            "&Export CSV...", "-", "&Print...\tCtrl+P", "P&rint Setup...", "Print Pre&view",
            "Export P&DF...", "-", "~Recent &File", "-", "E&xit"}));
    EXPECT_EQ(menuEntries(menus.at(1)->menu()->actions()),
        QStringList({"~&Undo\tCtrl+Z", "~&Redo\tCtrl+Shift+Z", "-", "Cu&t\tCtrl+X", "&Copy\tCtrl+C",
            "&Paste\tCtrl+V", "&Delete\tDel", "-", "M&ove Up\tCtrl+Up", "Move Do&wn\tCtrl+Down",
            "-", "Select &All\tCtrl+A"}));
    EXPECT_EQ(menuEntries(menus.at(2)->menu()->actions()), QStringList({"&General", "&Channel"}));
    EXPECT_EQ(menuEntries(menus.at(6)->menu()->actions()), QStringList({"&About KQ904..."}));
    // Every menu and item can be reached by its letter, and no two in one menu share one.
    const auto mnemonics = [](const QList<QAction*>& actions) {
        QStringList letters;
        for (const QAction* action : actions) {
            if (action->isSeparator())
                continue;
            const QString text = action->text();
            const auto at = text.indexOf(QRegularExpression(QStringLiteral("&[^&]")));
            EXPECT_GE(at, 0) << text;
            if (at >= 0) {
                EXPECT_FALSE(letters.contains(text.at(at + 1).toLower())) << text;
                letters.append(text.at(at + 1).toLower());
            }
        }
    };
    mnemonics(menus);
    for (const QAction* menu : menus)
        mnemonics(menu->menu() ? menu->menu()->actions() : QList<QAction*>());

    const QList<QToolBar*> toolBars = window.findChildren<QToolBar*>();
    ASSERT_EQ(toolBars.size(), 1);
    QList<int> buttons;
    for (const QAction* action : toolBars.front()->actions())
        buttons.append(action->data().toInt());
    EXPECT_EQ(buttons, QList<int>({57600, 32781, 57607, 57664}));
    EXPECT_EQ(window.action(Command::New)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));

    EXPECT_EQ(window.messagePane()->text(), "Ready");
    QStringList panes;
    for (const QLabel* pane : window.indicatorPanes())
        panes.append(pane->text());
    EXPECT_EQ(panes, QStringList({"CAP", "NUM", "SCRL"}));
    EXPECT_EQ(shownTitle(window), "Untitled - KQ904 Programmer V5.12");
    EXPECT_TRUE(window.tickPump().isActive());
}

TEST_F(MainWindowTest, FactoryIsOfferedOnlyWithTheFactoryKeyword)
{
    struct Case {
        const char* ini; // null: no kq904.ini at all
        bool offered;
    };
    const Case cases[] = {{nullptr, false}, {"channel_name version_show_enable", false},
        {"ani_version\nFactory\n", true}, {"xfactory", false}};
    for (const Case& c : cases) {
        std::filesystem::remove(dataDir() / "kq904.ini");
        if (c.ini)
            writeFile(dataDir() / "kq904.ini", c.ini);
        CMainFrame& window = startWindow();
        EXPECT_EQ(window.action(Command::Factory)->isEnabled(), c.offered)
            << (c.ini ? c.ini : "(no file)");
        TearDown();
    }
}

TEST_F(MainWindowTest, SimulatedRadioIsAnnouncedInTheStatusBar)
{
    CMainFrame& window = startWindow(true);
    ASSERT_FALSE(window.indicatorPanes().isEmpty());
    EXPECT_EQ(window.indicatorPanes().front()->text(), "Simulated radio attached");
}

TEST_F(MainWindowTest, AboutBoxShowsTheVersion)
{
    CMainFrame& window = startWindow();
    AboutDialog about(&window);
    EXPECT_EQ(about.windowTitle(), "About KQ904");
    QStringList texts;
    for (const QLabel* label : about.findChildren<QLabel*>())
        texts.append(label->text());
    EXPECT_TRUE(texts.contains("KQ904 Version 5.12"));
}

TEST_F(MainWindowTest, OpenShowsTheFileInTitleListingAndRecentFiles)
{
    const QString path = saveSample("radio.set", 20);
    CMainFrame& window = startWindow();
    answers_.open = path;
    window.action(Command::Open)->trigger();

    EXPECT_EQ(shownTitle(window), "radio.set - KQ904 Programmer V5.12");
    EXPECT_EQ(session_->image().channelCount(), 20);
    EXPECT_EQ(window.recentFiles().entries(), QStringList({path}));
    ASSERT_EQ(window.recentFileActions().size(), 1);
    EXPECT_EQ(window.recentFileActions().front()->text(), "&1 radio.set");
    EXPECT_FALSE(window.action(Command::RecentFile)->isVisible());
    EXPECT_TRUE(messages_.empty());
}

TEST_F(MainWindowTest, AFailedOpenLeavesEverythingAsItWas)
{
    const QString good = saveSample("good.set", 12);
    writeFile(file("cut.set"), std::string(3000, '0'));
    CMainFrame& window = startWindow();
    ASSERT_TRUE(window.openFile(good));
    ASSERT_TRUE(writeTableFile(session_->image(), dataDir(), TableFile::Kill));
    const RadioImage before = session_->image();
    const QString title = shownTitle(window);
    const QStringList recent = window.recentFiles().entries();
    std::map<std::string, std::vector<char>> tables;
    for (const char* name : {"channelTab.bin", "setTab.bin", "factoryTab.bin", "killTab.bin"})
        tables[name] = fileBytes(dataDir() / name);

    for (const char* name : {"cut.set", "gone.set"}) {
        messages_.clear();
        const QString path = toQString(file(name));
        EXPECT_FALSE(window.openFile(path)) << name;
        ASSERT_EQ(messages_.size(), 1U) << name;
        EXPECT_TRUE(messages_.front().error);
        EXPECT_TRUE(messages_.front().text.contains(path)) << messages_.front().text;
        EXPECT_EQ(session_->image(), before) << name;
        EXPECT_EQ(shownTitle(window), title) << name;
        EXPECT_EQ(window.recentFiles().entries(), recent) << name;
        for (const auto& [table, bytes] : tables)
            EXPECT_EQ(fileBytes(dataDir() / table), bytes) << name << " " << table;
    }
    EXPECT_TRUE(messages_.front().text.contains("No such file")) << messages_.front().text;
}

// A file of a set file's size but not one opens only on a Yes, from File > Open or the recent-file
// list (the command line opens through openFile too); Enter in the real box answers No.
TEST_F(MainWindowTest, AFileThatIsNotASetFileOpensOnlyWhenTheUserSaysYes)
{
    const QString good = saveSample("good.set", 12);
    const std::string junk(kSetFileSize, 'x');
    writeFile(file("junk.set"), junk);
    CMainFrame& window = startWindow();
    ASSERT_TRUE(window.openFile(good));
    const RadioImage before = session_->image();
    answers_.open = QString::fromStdString(file("junk.set").string());
    window.action(Command::Open)->trigger();
    writeFile(file("good.set"), junk);
    window.recentFileActions().front()->trigger();
    ASSERT_EQ(messages_.size(), 2U);
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_EQ(messages_[i].text + " " + messages_[i].question,
            (i == 0 ? answers_.open : good)
                + ": not a set file: bytes 40-1023, 1072-1535, 1553-2047 and 2939-3071 are not "
                  "filler Open it anyway?");
    EXPECT_EQ(session_->image(), before);
    EXPECT_EQ(shownTitle(window), "good.set - KQ904 Programmer V5.12");
    answerYes_ = true;
    EXPECT_TRUE(window.openFile(answers_.open));

    testing::inspectNextModal([](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); });
    EXPECT_FALSE(MessageBoxPresenter().askYesNo(nullptr, "x.set: not a set file", "Open?"));
}

// `make run` on a new machine: the data directory is made from the sample (never over an
// existing one) and the window opens on it, every channel in a band and the Factory form there.
TEST_F(MainWindowTest, ANewDataDirectoryStartsOnTheSampleConfiguration)
{
    std::filesystem::remove_all(dataDir());
    ASSERT_TRUE(createSampleDataDir(dataDir()));
    EXPECT_NE(createSampleDataDir(dataDir()).error.find("exists already"), std::string::npos);
    CMainFrame& window = startWindow();
    const RadioImage& image = session_->image();
    EXPECT_EQ(image, sampleConfiguration(24));
    EXPECT_TRUE(window.action(Command::Factory)->isEnabled());
    for (int n = 0; n < image.channelCount(); ++n)
        EXPECT_TRUE(
            inBand(image, transmitFrequency(image, n)) && inBand(image, receiveFrequency(image, n)))
            << n;
}

TEST_F(MainWindowTest, ToolbarSaveAlwaysAsksAndFileSaveUsesTheDocumentsName)
{
    const QString path = saveSample("radio.set", 5);
    CMainFrame& window = startWindow();
    ASSERT_TRUE(window.openFile(path));
    session_->image().setChannelCount(3);

    window.action(Command::Save)->trigger(); // named document: no dialog
    EXPECT_EQ(answers_.asked, 0);
    RadioImage saved;
    ASSERT_TRUE(loadSetFile(saved, file("radio.set")));
    EXPECT_EQ(saved.channelCount(), 3);

    answers_.saveCopy = QString::fromStdString(file("copy.set").string());
    window.action(Command::SaveCopy)->trigger();
    EXPECT_EQ(answers_.asked, 1);
    EXPECT_EQ(fileBytes(file("copy.set")), fileBytes(file("radio.set")));
    EXPECT_EQ(shownTitle(window), "radio.set - KQ904 Programmer V5.12");
}

TEST_F(MainWindowTest, SavingAnUntitledDocumentAsksForAName)
{
    CMainFrame& window = startWindow();
    answers_.saveAs = QString::fromStdString(file("new.set").string());
    window.action(Command::Save)->trigger();
    EXPECT_EQ(answers_.asked, 1);
    EXPECT_TRUE(std::filesystem::exists(file("new.set")));
    EXPECT_EQ(shownTitle(window), "new.set - KQ904 Programmer V5.12");
}

TEST_F(MainWindowTest, AFailedSaveIsReportedAndKeepsThePreviousFile)
{
    const QString path = saveSample("radio.set", 5);
    CMainFrame& window = startWindow();
    ASSERT_TRUE(window.openFile(path));
    const auto previous = fileBytes(file("radio.set"));
    std::filesystem::create_directory(file("dir.set"));
    const QString target = QString::fromStdString(file("dir.set").string());

    EXPECT_FALSE(window.saveDocumentAs(target));
    EXPECT_FALSE(window.saveCopy(target));
    ASSERT_EQ(messages_.size(), 2U);
    for (const auto& shown : messages_) {
        EXPECT_TRUE(shown.error);
        EXPECT_TRUE(shown.text.contains(target)) << shown.text;
    }
    EXPECT_EQ(shownTitle(window), "radio.set - KQ904 Programmer V5.12");
    EXPECT_EQ(window.recentFiles().entries(), QStringList({path}));
    EXPECT_EQ(fileBytes(file("radio.set")), previous);
}

TEST_F(MainWindowTest, RecentFilesKeepTheLastFourNewestFirstAcrossRuns)
{
    QStringList paths;
    for (const char* name : {"a.set", "b.set", "c.set", "d.set", "e.set"})
        paths.append(saveSample(name, 2));
    {
        CMainFrame& window = startWindow();
        for (const QString& path : paths)
            ASSERT_TRUE(window.openFile(path));
        ASSERT_TRUE(window.openFile(paths.at(2))); // reopening moves it to the top
        QStringList texts;
        for (const QAction* action : window.recentFileActions())
            texts.append(action->text());
        EXPECT_EQ(texts, QStringList({"&1 c.set", "&2 e.set", "&3 d.set", "&4 b.set"}));
        TearDown();
    }
    // The next run finds the same list in the profile, and an entry opens its file.
    CMainFrame& window = startWindow();
    EXPECT_EQ(window.recentFiles().entries(),
        QStringList({paths.at(2), paths.at(4), paths.at(3), paths.at(1)}));
    window.recentFileActions().at(1)->trigger();
    EXPECT_EQ(shownTitle(window), "e.set - KQ904 Programmer V5.12");
}

TEST_F(MainWindowTest, ExportPdfWritesThePrintedPages)
{
    const QString path = saveSample("radio.set", 20);
    CMainFrame& window = startWindow();
    ASSERT_TRUE(window.openFile(path));
    answers_.pdf = QString::fromStdString(file("listing.pdf").string());
    window.action(Command::ExportPdf)->trigger();
    const auto pdf = fileBytes(file("listing.pdf"));
    ASSERT_GT(pdf.size(), 1000U);
    EXPECT_EQ(std::string(pdf.begin(), pdf.begin() + 5), "%PDF-");
    EXPECT_EQ(window.statusBar()->currentMessage(),
        "PDF written to " + QDir::toNativeSeparators(answers_.pdf));

    messages_.clear();
    EXPECT_FALSE(window.exportPdf(QString::fromStdString((file("no-dir") / "x.pdf").string())));
    ASSERT_EQ(messages_.size(), 1U);
    EXPECT_TRUE(messages_.front().text.contains("x.pdf"));
}

// A file dropped on the window: a set file opens, a channel list is imported, anything else is
// refused with the reason.
TEST_F(MainWindowTest, DroppedFilesOpenOrImportByTheirKind)
{
    saveSample("radio.set", 20);
    writeFile(file("plan.csv"), "Location,Frequency\r\n1,146.52\r\n2,146.54\r\n");
    writeFile(file("notes.txt"), "hello");
    CMainFrame& window = startWindow();
    for (const char* name : {"radio.set", "plan.csv", "notes.txt"}) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(toQString(file(name)))});
        QDragEnterEvent enter(QPoint(9, 9), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&window, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(9, 9), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&window, &drop);
        settle();
    }
    EXPECT_EQ(shownTitle(window), "radio.set* - KQ904 Programmer V5.12");
    EXPECT_EQ(session_->image().channelCount(), 2);
    ASSERT_EQ(messages_.size(), 2U);
    EXPECT_TRUE(messages_[0].text.startsWith("2 channels imported from plan.csv"));
    EXPECT_EQ(messages_[1].text,
        "notes.txt: neither a set file (.set), which would be opened, nor a CSV channel list "
        "(.csv), which would be imported; nothing was done with it");
}

// The window comes back where the user left it, and onto a screen that exists.
TEST_F(MainWindowTest, TheWindowsGeometryIsKeptInTheProfile)
{
    for (const QRect& left : {QRect(120, 90, 700, 500), QRect(30000, 20000, 700, 500)}) {
        startWindow().setGeometry(left);
        window_->show();
        window_->close();
        TearDown();
        CMainFrame& again = startWindow();
        ASSERT_TRUE(again.restoreWindowGeometry());
        EXPECT_EQ(again.size(), left.size());
        EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(again.pos()));
        EXPECT_TRUE(left.x() > 1000 || again.pos() == left.topLeft());
        TearDown();
    }
}

} // namespace
} // namespace kq904

namespace kq904 {
namespace {

// Runs a command and reports the class of the modal form it opened ("" for none).
QString formOpenedBy(CMainFrame& window, Command command)
{
    QString opened;
    testing::inspectNextModal(
        [&opened](QWidget* modal) { opened = QLatin1String(modal->metaObject()->className()); });
    window.action(command)->trigger();
    return opened;
}

TEST_F(MainWindowTest, EachSettingCommandOpensItsForm)
{
    writeFile(dataDir() / "kq904.ini", "factory");
    CMainFrame& window = startWindow();
    const std::pair<Command, const char*> cases[] = {
        {Command::General, "kq904::CGeneralSettingDlg"},
        {Command::Channel, "kq904::CChannelSettingDlg"},
        {Command::Programming, "kq904::CProgrammingDlg"},
        {Command::Port, "kq904::CPortSettingDlg"},
        {Command::Factory, "kq904::CFactorySettingDlg"},
    };
    for (const auto& [command, form] : cases)
        EXPECT_EQ(formOpenedBy(window, command), QLatin1String(form)) << form;
}

} // namespace
} // namespace kq904
