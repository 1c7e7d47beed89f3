// The Edit menu: every kind of change is one step that undo takes back and redo puts in again,
// the configuration and the default table files alike; the title's modified mark follows the
// set file; the listing's channel commands and a paste from CHIRP or a spreadsheet.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/csv_actions.h"
#include "app/edit_actions.h"
#include "app/form_launcher.h"
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

// Does `act` on the next modal form as soon as it is shown; `act` closes it.
void onNextForm(std::function<void(QWidget*)> act)
{
    auto* poll = new QTimer(qApp);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        if (QWidget* form = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            act(form);
        }
    });
    poll->start();
}

void click(QWidget* form, const QString& text)
{
    for (auto* button : form->findChildren<QAbstractButton*>()) {
        if (button->text() == text) {
            button->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString();
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
    const auto channelForm = [this](const QString& button) {
        onNextForm([button](QWidget* form) {
            if (!button.isEmpty())
                click(form, button);
            // A frequency typed after Channel Add./Del. is an edit of its own step.
            if (button.isEmpty())
                form->findChildren<QLineEdit*>().constFirst()->setText(QStringLiteral("146.52"));
            click(form, QStringLiteral("OK"));
        });
        window_->forms().runChannel(2);
    };
    const std::vector<Step> steps = {
        {"Open radio.set", [&] { window_->openFile(toQString(file("radio.set"))); }},
        {"Channel Setting", [&] { channelForm({}); }},
        // "OK" right after Channel Add. writes the table files: they belong to that step.
        {"Channel Add.", [&] { channelForm(QStringLiteral("Channel Add.")); }},
        {"Channel Del.", [&] { channelForm(QStringLiteral("Channel Del.")); }},
        {"General Setting",
            [&] {
                onNextForm([](QWidget* form) {
                    click(form, QStringLiteral("key Beep"));
                    click(form, QStringLiteral("OK"));
                });
                window_->forms().runGeneral();
            }},
        {"Factory Setting",
            [&] {
                onNextForm([](QWidget* form) {
                    click(form, QStringLiteral("DTMF Version"));
                    click(form, QStringLiteral("OK"));
                });
                window_->forms().runFactory();
            }},
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
    onNextForm([](QWidget* form) { click(form, QStringLiteral("OK")); });
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
}

TEST_F(EditHistoryTest, NothingChangesTheImageWhileATransferUsesIt)
{
    view().selectChannels(0, 0, 0);
    ASSERT_TRUE(edit().move(ChannelMove::Down));
    window_->followTransfer(true);
    for (QAction* action : {edit().undoAction(), edit().pasteAction(), edit().cutAction(),
             edit().deleteAction(), edit().moveUpAction(), edit().moveDownAction()})
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    EXPECT_TRUE(edit().copyAction()->isEnabled());
    window_->followTransfer(false);
    EXPECT_TRUE(edit().undoAction()->isEnabled());
}

// Clipboard text from CHIRP (its 17 and 18-column files) and from a spreadsheet (tab-separated
// cells under the header row, columns in any order), pasted at the active row.
TEST_F(EditHistoryTest, PastesChirpRowsAndSpreadsheetRowsFromTheActiveRowOn)
{
    struct Case {
        const char* what;
        const char* format;
        const char* text;
        std::vector<std::string> names; // channels 11 and 12 after the paste
    };
    const std::vector<Case> cases = {
        {"CHIRP CSV", "text/csv",
            "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
            "DtcsPolarity,Mode,TStep,Skip,Comment,URCALL,RPT1CALL,RPT2CALL\r\n"
            "1,Simplex,146.520000,,0.000000,,88.5,88.5,023,NN,FM,5.00,,,,,\r\n"
            "2,Rptr,147.000000,+,0.600000,Tone,100.0,88.5,023,NN,NFM,5.00,S,,,,\r\n",
            {"SIMPL", "RPTR"}},
        {"spreadsheet", "text/plain",
            "Name\tFrequency\tPower\r\nHILL\t446.006250\tLow\r\nVALE\t446.018750\tHigh\r\n",
            {"HILL", "VALE"}},
    };
    for (const Case& c : cases) {
        session_->image() = sampleConfiguration(11);
        session_->document().refresh();
        view().selectChannels(10, 10, 10);
        QMimeData data;
        data.setData(QLatin1String(c.format), QByteArray(c.text));
        messages_.clear();
        ASSERT_TRUE(edit().pasteData(&data)) << c.what;
        RadioImage& image = session_->image();
        RadioImage sample = sampleConfiguration(11);
        EXPECT_EQ(image.channelCount(), 12) << c.what;
        EXPECT_EQ(channelLabel(image, 10), c.names[0]) << c.what;
        EXPECT_EQ(channelLabel(image, 11), c.names[1]) << c.what;
        EXPECT_EQ(channelLabel(image, 9), channelLabel(sample, 9)) << c.what;
        EXPECT_EQ(view().selectedChannels(), (std::vector<int>{10, 11})) << c.what;
        EXPECT_EQ(edit().undoAction()->text(), "&Undo Paste");
        // The next start begins from the pasted channels.
        EXPECT_EQ(fileBytes(dataDir() / "setTab.bin").at(3), 12) << c.what;
    }
    // Rows without their header could be any table: nothing is pasted, and the user hears why.
    QMimeData rowsOnly;
    rowsOnly.setText(QStringLiteral("HILL\t446.006250\r\n"));
    const RadioImage before = session_->image();
    EXPECT_FALSE(edit().pasteData(&rowsOnly));
    EXPECT_EQ(session_->image(), before);
    ASSERT_FALSE(messages_.empty());
    EXPECT_TRUE(messages_.back().text.startsWith("Nothing was pasted: the clipboard holds no "
                                                 "channel list"));
}

} // namespace
} // namespace kq904
