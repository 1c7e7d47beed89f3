// The Edit menu: every kind of change is one step that undo takes back and redo puts in again,
// the configuration and the default table files alike; the title's modified mark follows the
// set file; the listing's channel commands and a paste from CHIRP or a spreadsheet.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMimeData>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/csv_actions.h"
#include "app/edit_actions.h"
#include "app/listing_view.h"
#include "app/sample_configuration.h"
#include "app_test_support.h"
#include "model/channel_label.h"
#include "model/csv_export.h"
#include "model/set_file.h"
#include "model/table_files.h"

namespace kq904 {
namespace {

using testing::AppFixture;
using testing::fileBytes;
using testing::shownTitle;
using testing::writeFile;

// Everything a step may change: the configuration, the four table files, the title.
struct Moment {
    RadioImage image;
    std::vector<std::vector<char>> files;
    QString title;
};

// Presses the buttons of the next modal form in turn as soon as it is shown; the last closes it.
void pressInNextForm(QStringList buttons)
{
    auto* poll = new QTimer(qApp);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, buttons] {
        QWidget* form = QApplication::activeModalWidget();
        if (!form)
            return;
        poll->deleteLater();
        for (const QString& text : buttons) {
            const auto all = form->findChildren<QAbstractButton*>();
            const auto found = std::find_if(all.begin(), all.end(),
                [&text](QAbstractButton* button) { return button->text() == text; });
            ASSERT_NE(found, all.end()) << text.toStdString();
            (*found)->click();
        }
    });
    poll->start();
}

class EditHistoryTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        writeFile(dataDir() / "kq904.ini", "factory ani_version channel_name");
        const RadioImage sample = sampleConfiguration(12);
        for (TableFile table : {TableFile::Channel, TableFile::Set, TableFile::Factory})
            ASSERT_TRUE(writeTableFile(sample, dataDir(), table));
        RadioImage twenty = sampleConfiguration(20);
        ASSERT_TRUE(saveSetFile(twenty, file("radio.set")));
        startWindow();
    }

    Moment now() const
    {
        Moment moment{session_->image(), {}, shownTitle(*window_)};
        for (const char* name : {"channelTab.bin", "setTab.bin", "factoryTab.bin", "killTab.bin"})
            moment.files.push_back(std::filesystem::exists(dataDir() / name)
                    ? fileBytes(dataDir() / name)
                    : std::vector<char>{'-'});
        return moment;
    }

    void expectAt(const Moment& expected, const std::string& when) const
    {
        const Moment actual = now();
        EXPECT_TRUE(sameConfiguration(actual.image, expected.image)) << when;
        EXPECT_EQ(actual.files, expected.files) << when;
        EXPECT_EQ(actual.title.toStdString(), expected.title.toStdString()) << when;
    }

    EditActions& edit() { return window_->editActions(); }
    CKQ904View& view() { return *window_->view(); }
};

TEST_F(EditHistoryTest, EveryKindOfStepIsUndoneAndRedoneWithItsTableFiles)
{
    const QString csv = toQString(file("plan.csv"));
    writeFile(file("plan.csv"),
        "Location,Name,Frequency\r\n1,TALK,146.500000\r\n2,HELP,146.550000\r\n"
        "3,BASE,146.600000\r\n4,CAR,146.650000\r\n");
    answerYes_ = true; // Delete asks first
    struct Step {
        const char* undo;
        std::function<void()> act;
    };
    const auto form = [](QStringList buttons, std::function<void()> run) {
        return [buttons, run] {
            pressInNextForm(buttons);
            run();
        };
    };
    const auto channelForm = [this] { window_->forms().runChannel(2); };
    const std::vector<Step> steps = {
        {"Open radio.set", [&] { window_->openFile(toQString(file("radio.set"))); }},
        {"Channel Setting", form({"Scan", "OK"}, channelForm)},
        // "OK" right after Channel Add. writes the table files: they belong to that step.
        {"Channel Add.", form({"Channel Add.", "OK"}, channelForm)},
        {"Channel Del.", form({"Channel Del.", "OK"}, channelForm)},
        {"General Setting", form({"key Beep", "OK"}, [&] { window_->forms().runGeneral(); })},
        {"Factory Setting", form({"DTMF Version", "OK"}, [&] { window_->forms().runFactory(); })},
        {"Import CSV", [&] { window_->csvActions().importFile(csv); }},
        {"New", [&] { window_->action(Command::New)->trigger(); }},
        {"Reading",
            [&] {
                // The link's notices, as a reading that ends "READ OK" gives them.
                session_->busyChanged(true);
                session_->image().channels[0].bytes[1] ^= 0x40;
                session_->busyChanged(false);
                session_->transferEnded(LinkOutcome::ReadOk);
            }},
        {"Paste",
            [&] {
                view().selectChannels(0, 0, 0);
                std::unique_ptr<QMimeData> data(edit().channelData({0}));
                view().selectChannels(1, 1, 1);
                edit().pasteData(data.get());
            }},
        {"Move Down", [&] { edit().move(ChannelMove::Down); }},
        {"Channel Del.", [&] { edit().deleteSelected(); }},
        {"Cut", [&] { edit().cut(); }},
    };
    const Moment start = now();
    std::vector<Moment> after;
    for (const Step& step : steps) {
        const Moment before = now();
        step.act();
        after.push_back(now());
        EXPECT_EQ(edit().undoAction()->text().toStdString(), std::string("&Undo ") + step.undo);
        edit().undoAction()->trigger();
        expectAt(before, std::string("undo ") + step.undo);
        EXPECT_EQ(edit().redoAction()->text().toStdString(), std::string("&Redo ") + step.undo);
        edit().redoAction()->trigger();
        expectAt(after.back(), std::string("redo ") + step.undo);
    }
    // All the way back, and forward again.
    for (std::size_t i = 0; i < steps.size(); ++i)
        edit().undoAction()->trigger();
    expectAt(start, "every step undone");
    EXPECT_FALSE(edit().undoAction()->isEnabled());
    for (std::size_t i = 0; i < steps.size(); ++i)
        edit().redoAction()->trigger();
    expectAt(after.back(), "every step redone");
}

TEST_F(EditHistoryTest, AFormThatChangedNothingIsNoStepAndTheMarkFollowsTheSetFile)
{
    ASSERT_TRUE(window_->openFile(toQString(file("radio.set"))));
    EXPECT_EQ(shownTitle(*window_), "radio.set - KQ904 Programmer V5.12");
    const int steps = session_->history().stack().count();
    pressInNextForm({"OK"});
    window_->forms().runGeneral();
    EXPECT_EQ(session_->history().stack().count(), steps);
    EXPECT_EQ(shownTitle(*window_), "radio.set - KQ904 Programmer V5.12");

    view().selectChannels(0, 1, 1);
    ASSERT_TRUE(edit().move(ChannelMove::Down));
    EXPECT_EQ(shownTitle(*window_), "radio.set* - KQ904 Programmer V5.12");
    EXPECT_EQ(view().selectedChannels(), (std::vector<int>{1, 2}));
    ASSERT_TRUE(window_->saveDocumentAs(toQString(file("radio.set"))));
    EXPECT_EQ(shownTitle(*window_), "radio.set - KQ904 Programmer V5.12");
    // Undone after the save, the configuration differs from the file again.
    edit().undoAction()->trigger();
    EXPECT_EQ(shownTitle(*window_), "radio.set* - KQ904 Programmer V5.12");
    // Nothing changes the image while a transfer uses it; copying does not change it.
    window_->followTransfer(true);
    for (QAction* action : {edit().undoAction(), edit().redoAction(), edit().pasteAction(),
             edit().cutAction(), edit().deleteAction(), edit().moveUpAction()})
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    EXPECT_TRUE(edit().copyAction()->isEnabled());
}

// Clipboard text from CHIRP (its 18-column file), from a spreadsheet (tab-separated cells under
// the header row, columns in any order, no Location) and this program's own copy, pasted from
// the active row on: the rows come back as they were copied, and what changed is told.
TEST_F(EditHistoryTest, PastesChirpRowsSpreadsheetRowsAndItsOwnCopies)
{
    RadioImage sample = sampleConfiguration(11);
    const std::string copied = exportChannelsCsv(sample, std::vector<int>{2, 3}, '\t').text;
    const auto rows = [](const std::string& text) { // without the header and the Location
        QStringList lines = QString::fromStdString(text).split(QStringLiteral("\r\n"));
        lines.removeFirst();
        for (QString& line : lines)
            line = line.section(QLatin1Char('\t'), 1);
        return lines;
    };
    struct Case {
        const char* format;
        std::string text;
        std::vector<std::string> names; // channels 11 and 12 after the paste
        const char* told; // in the message shown afterwards; nullptr: none shown
    };
    const Case cases[] = {
        {"text/csv",
            "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
            "Mode,TStep,Skip,Comment,URCALL,RPT1CALL,RPT2CALL\r\n"
            "1,Simplex,146.520000,,0.000000,,88.5,88.5,023,NN,FM,5.00,,,,,\r\n"
            "2,Rptr,147.000000,+,0.600000,Tone,100.0,88.5,023,NN,NFM,5.00,S,,,,\r\n",
            {"SIMPL", "RPTR"}, "Name \"Simplex\" is stored as \"SIMPL\""},
        {"text/plain",
            "Name\tFrequency\tPower\r\nHILL\t446.006250\tLow\r\nVALE\t446.018750\tHigh\r\n",
            {"HILL", "VALE"}, nullptr},
        {"text/plain", copied, {channelLabel(sample, 2), channelLabel(sample, 3)}, nullptr},
    };
    for (const Case& c : cases) {
        session_->image() = sample;
        session_->document().refresh();
        view().selectChannels(10, 10, 10);
        QMimeData data;
        data.setData(QLatin1String(c.format), QByteArray::fromStdString(c.text));
        messages_.clear();
        ASSERT_TRUE(edit().pasteData(&data)) << c.text;
        RadioImage& image = session_->image();
        EXPECT_EQ(image.channelCount(), 12) << c.text;
        EXPECT_EQ(channelLabel(image, 10), c.names[0]) << c.text;
        EXPECT_EQ(channelLabel(image, 11), c.names[1]) << c.text;
        EXPECT_EQ(view().selectedChannels(), (std::vector<int>{10, 11})) << c.text;
        EXPECT_EQ(edit().undoAction()->text(), "&Undo Paste");
        EXPECT_TRUE(c.told ? messages_.size() == 1 && messages_[0].text.contains(c.told)
                           : messages_.empty())
            << c.text;
        // The next start begins from the pasted channels.
        EXPECT_EQ(fileBytes(dataDir() / "setTab.bin").at(3), 12) << c.text;
    }
    EXPECT_EQ(rows(exportChannelsCsv(session_->image(), std::vector<int>{10, 11}, '\t').text),
        rows(copied));
    // Rows without their header could be any table: nothing is pasted, and the user hears why.
    QMimeData rowsOnly;
    rowsOnly.setText(QStringLiteral("HILL\t446.006250\r\n"));
    const RadioImage before = session_->image();
    EXPECT_FALSE(edit().pasteData(&rowsOnly));
    EXPECT_EQ(session_->image(), before);
    EXPECT_TRUE(messages_.back().text.startsWith("Nothing was pasted: the clipboard holds no "
                                                 "channel list"));
}

} // namespace
} // namespace kq904
