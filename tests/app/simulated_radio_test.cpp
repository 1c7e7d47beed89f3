// kq904 --simulate: the Programming form programs and reads the built-in simulated radio in
// real time through the main window's tick, as it would a radio on a cable.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/csv_actions.h"
#include "app/listing_view.h"
#include "app/sample_configuration.h"
#include "app_test_support.h"
#include "forms/programming_ids.h"
#include "forms/widgets/programming_dialog.h"
#include "model/set_file.h"

namespace kq904 {
namespace {

using testing::AppFixture;
using testing::writeFile;
namespace ids = programming_ids;

class SimulatedRadioTest : public AppFixture {
protected:
    void openSample(int channels)
    {
        writeFile(dataDir() / "kq904.ini", "ani_version channel_name");
        RadioImage sample = sampleConfiguration(channels);
        ASSERT_TRUE(saveSetFile(sample, file("radio.set")));
        ASSERT_TRUE(window_->openFile(QString::fromStdString(file("radio.set").string())));
    }

    bool shown(const QString& text) const
    {
        return std::any_of(messages_.begin(), messages_.end(),
            [&text](const auto& message) { return message.text == text; });
    }

    // Runs the Programming form modally: presses `button`, waits (in real time, at most 20 s)
    // until `done` holds, then closes the form from its title bar as a user would.
    void runProgrammingForm(int button, std::function<bool(CProgrammingDlg&)> done)
    {
        QElapsedTimer clock;
        clock.start();
        QTimer poll;
        poll.setInterval(20);
        bool pressed = false;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* form = qobject_cast<CProgrammingDlg*>(QApplication::activeModalWidget());
            if (!form)
                return;
            if (!pressed) {
                pressed = true;
                qobject_cast<QPushButton*>(form->controls().widget(button))->click();
                return;
            }
            if (done(*form) || clock.elapsed() > 20000)
                form->requestClose(CloseRoute::CloseBox);
        });
        poll.start();
        window_->forms().runProgramming();
        EXPECT_LT(clock.elapsed(), 20000) << "the transfer did not end in time";
    }
};

// What the Programming form behind an outcome's message box shows in its serial field the
// moment the box comes up.
class SerialBehindTheBox final : public MessagePresenter {
public:
    explicit SerialBehindTheBox(QStringList& seen)
        : seen_(seen)
    { }
    void showMessage(QWidget*, const QString& text) override
    {
        auto* form = qobject_cast<CProgrammingDlg*>(QApplication::activeModalWidget());
        const auto* field =
            form ? qobject_cast<QLineEdit*>(form->controls().widget(ids::serialNumber)) : nullptr;
        seen_ << text + ": " + (field ? field->text() : QStringLiteral("no form"));
    }
    void showError(QWidget*, const QString& text) override { seen_ << text; }
    bool askYesNo(QWidget*, const QString&, const QString&) override { return false; }

private:
    QStringList& seen_;
};

TEST_F(SimulatedRadioTest, ProgrammingWritesTheRadioAndAdvancesTheSerialNumber)
{
    {
        ProfileSettings profile(profilePath());
        profile.setSerialNumber(41);
        profile.setAutoIncrement(true);
        ASSERT_TRUE(profile.sync());
    }
    startWindow(true);
    openSample(3);
    showWindow();

    // The form takes in the outcome before its box shows: the next number is already there.
    QStringList boxes;
    session_->setMessagePresenter(std::make_unique<SerialBehindTheBox>(boxes));
    runProgrammingForm(ids::programming, [&boxes](CProgrammingDlg&) { return !boxes.isEmpty(); });
    EXPECT_EQ(boxes, QStringList{"Programming OK: 0000042"});

    // The radio holds the image: three channels, the names, and serial number 41.
    const SimulatedRadio::Eeprom& eeprom = session_->simulatedPort()->radio().eeprom();
    EXPECT_EQ(eeprom[0x0008 + 3], 3);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&eeprom[0x054A + 2]), 5), "DEPOT");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&eeprom[0x054A + 7 * 2 + 2]), 4), "GATE");
    EXPECT_EQ(eeprom[0x0514], 41);
    // The next radio gets 42, kept in the profile when the form closed.
    EXPECT_EQ(ProfileSettings(profilePath()).serialNumber(), 42U);
}

// "Fast transfer" in the profile: each frame leaves when the radio has answered the last one,
// not on a later tick (15 ms or more apart on the paced link, even with a radio that answers
// at once).
TEST_F(SimulatedRadioTest, FastTransferSendsEachFrameOnTheRadiosAnswer)
{
    {
        ProfileSettings profile(profilePath());
        profile.setFastLink(true);
        ASSERT_TRUE(profile.sync());
    }
    startWindow(true);
    openSample(20);
    showWindow();
    SimulatedRadio& radio = session_->simulatedPort()->radio();
    radio.setRecording(true);
    runProgrammingForm(
        ids::programming, [this](CProgrammingDlg&) { return shown("Programming OK"); });
    ASSERT_TRUE(shown("Programming OK"));
    EXPECT_TRUE(session_->link().fastTransfer());
    const auto& frames = radio.recordedFrames();
    ASSERT_EQ(frames.size(), 46U);
    std::vector<std::int64_t> gaps;
    for (std::size_t i = 1; i < frames.size(); ++i)
        gaps.push_back(frames[i].atMs - frames[i - 1].atMs);
    std::sort(gaps.begin(), gaps.end());
    EXPECT_LT(gaps[gaps.size() / 2], 8) << "half the frames waited for a tick";
}

TEST_F(SimulatedRadioTest, ReadingBringsTheRadiosConfigurationIntoTheListing)
{
    startWindow(true);
    openSample(5);
    showWindow();
    runProgrammingForm(
        ids::programming, [this](CProgrammingDlg&) { return shown("Programming OK"); });
    ASSERT_TRUE(shown("Programming OK"));
    const RadioImage programmed = session_->image();

    // The dealer changes the configuration in memory, then reads the radio back.
    session_->image().setChannelCount(2);
    session_->image().channels[0].set(
        ChannelRecord::scan, !programmed.channels[0].get(ChannelRecord::scan));
    window_->refresh();
    QTest::keyClick(window_->view(), Qt::Key_End);
    settle();
    messages_.clear();
    runProgrammingForm(ids::reading, [this](CProgrammingDlg&) { return shown("READ OK"); });
    ASSERT_EQ(messages_.size(), 1U);
    EXPECT_EQ(messages_.front().text, "READ OK");
    EXPECT_EQ(session_->image().channelCount(), 5);
    EXPECT_EQ(session_->image().channels[0].get(ChannelRecord::scan),
        programmed.channels[0].get(ChannelRecord::scan));
    // The refresh notification redrew the whole listing: 3 titles and 5 channels.
    settle();
    window_->view()->viewport()->repaint();
    EXPECT_EQ(window_->view()->lastPaintedRows().size(), 8U);
}

TEST_F(SimulatedRadioTest, APortThatWillNotOpenShowsComPortFail)
{
    {
        ProfileSettings profile(profilePath());
        profile.setPortIndex(0);
        profile.setPortDevice(
            1, QString::fromStdString((file("no-such-dir") / "ttyUSB9").string()));
        ASSERT_TRUE(profile.sync());
    }
    startWindow(false);
    showWindow();
    runProgrammingForm(ids::programming, [this](CProgrammingDlg&) { return !messages_.empty(); });
    ASSERT_EQ(messages_.size(), 1U);
    // The system's words first; the device and the reason may follow on lines of their own.
    EXPECT_EQ(messages_.front().text.section(QLatin1Char('\n'), 0, 0), "Com Port Fail")
        << messages_.front().text;
    EXPECT_FALSE(session_->link().busy());
}

// A transfer goes on after its form is closed: meanwhile the window greys the commands that
// would change the image being transferred and refuses them if they come anyway. The outcome
// brings them back; a failure says why under the program's own words.
TEST_F(SimulatedRadioTest, ImageCommandsWaitForTheOutcomeWhichSaysWhy)
{
    writeFile(dataDir() / "kq904.ini", "factory");
    startWindow(true);
    openSample(20);
    showWindow();
    session_->simulatedPort()->radio().setFaultPlan(FaultPlan().silenceFrom(43));
    const Link& link = session_->link();
    runProgrammingForm(ids::programming, [&](CProgrammingDlg&) { return link.chanIndex() > 2; });
    const auto enabled = [this] {
        QList<QAction*> held = {
            window_->csvActions().importAction(), window_->recentFileActions()[0]};
        for (Command c : {Command::New, Command::Open, Command::General, Command::Channel,
                 Command::Programming, Command::Factory})
            held << window_->action(c);
        return std::count_if(held.begin(), held.end(), [](QAction* a) { return a->isEnabled(); });
    };
    ASSERT_TRUE(link.busy());
    EXPECT_EQ(enabled(), 0);
    EXPECT_EQ(window_->messagePane()->text(), Session::kTransferUnderWay);
    EXPECT_FALSE(window_->openFile(QString::fromStdString(file("radio.set").string())));
    EXPECT_EQ(window_->statusBar()->currentMessage(), QString::fromStdString(link.busyText()));
    // Quitting now asks first; answered No, the window and the transfer stay.
    EXPECT_FALSE(window_->close());
    ASSERT_EQ(messages_.size(), 1U);
    EXPECT_FALSE(messages_[0].question.isEmpty());
    messages_.clear();

    QElapsedTimer clock;
    clock.start();
    while (messages_.empty() && clock.elapsed() < 20000)
        QTest::qWait(20);
    EXPECT_EQ(enabled(), 8);
    ASSERT_EQ(messages_.size(), 1U);
    EXPECT_EQ(messages_.front().text,
        "Programming Fail\n\nthe simulated radio: no answer from the radio within 3 s after "
        "frame 43 of 46 (W 0x04EE: kill settings)");
}

} // namespace
} // namespace kq904
