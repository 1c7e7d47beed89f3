// The Channel Setting and Channel Name dialogs bound to real widgets: typed characters are
// filtered, texts the logic sets raise their change events, the logic's enabling and ticking
// show on the widgets, and the closing routes write and notify as they should.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>

#include "forms/channel_name_ids.h"
#include "forms/channel_setting_ids.h"
#include "forms/widgets/channel_name_dialog.h"
#include "forms/widgets/channel_setting_dialog.h"
#include "link/file_path.h"
#include "model/frequency.h"

namespace kq904 {
namespace {

namespace ids = channel_setting_ids;

class ChannelDialogTest : public ::testing::Test {
protected:
    ChannelDialogTest()
    {
        image.setChannelCount(10);
        for (int n = 0; n < 10; ++n) {
            setTransmitFrequency(image, n, 145000000 + 12500 * static_cast<unsigned>(n));
            setReceiveFrequency(image, n, 145000000 + 12500 * static_cast<unsigned>(n));
            image.channels[static_cast<std::size_t>(n)].set(ChannelRecord::rxToneIsCtcss, true);
        }
        image.general.set(GeneralSettings::dtmfVersion, true);
    }

    std::filesystem::path dataDir() const { return toPath(dir.path()); }
    bool fileExists(const char* name) const { return std::filesystem::exists(dataDir() / name); }

    template <typename W> W* widget(CChannelSettingDlg& dialog, int id)
    {
        auto* w = qobject_cast<W*>(dialog.controls().widget(id));
        EXPECT_NE(w, nullptr) << "control " << id;
        return w;
    }

    // A shown dialog, so that keys and clicks reach the widgets as a user's would.
    std::unique_ptr<CChannelSettingDlg> openDialog(int channel)
    {
        auto dialog = std::make_unique<CChannelSettingDlg>(image, dataDir(), channel);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return dialog;
    }

    // A click on a check box or radio button lands on its indicator: a stretched box does not
    // answer clicks far right of its text.
    static void clickBox(QAbstractButton* box)
    {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }

    RadioImage image;
    QTemporaryDir dir;
};

TEST_F(ChannelDialogTest, FrequencyFieldAdmitsOnlyDigitsAndPoint)
{
    auto dialog = openDialog(2);
    auto* tx = widget<QLineEdit>(*dialog, ids::txFrequency);
    tx->clear();
    QTest::keyClicks(tx, "14x6.5-25 MHz");
    EXPECT_EQ(tx->text(), QStringLiteral("146.525"));
    QTest::mouseClick(widget<QPushButton>(*dialog, ids::nextChannel), Qt::LeftButton);
    EXPECT_EQ(transmitFrequency(image, 2), 146525000u);
    EXPECT_EQ(dialog->currentChannel(), 3);
}

TEST_F(ChannelDialogTest, PttCodeFieldIsCutToThreeDigitsByTheLogicAndStored)
{
    image.extras[0].set(ChannelExtra::pttCodeEnable, true);
    auto dialog = openDialog(0);
    auto* code = widget<QLineEdit>(*dialog, ids::pttCode);
    EXPECT_EQ(code->text(), QStringLiteral("000"));
    EXPECT_TRUE(code->isEnabled());
    code->clear();
    // The fourth digit makes the logic put "123" back into the field; that text change stores
    // the digits.
    QTest::keyClicks(code, "1a2b34");
    EXPECT_EQ(code->text(), QStringLiteral("123"));
    EXPECT_EQ(image.extras[0].get(ChannelExtra::pttDigit1), 1u);
    EXPECT_EQ(image.extras[0].get(ChannelExtra::pttDigit2), 2u);
    EXPECT_EQ(image.extras[0].get(ChannelExtra::pttDigit3), 3u);
}

TEST_F(ChannelDialogTest, DependenciesShowOnTheWidgets)
{
    image.channels[0].set(ChannelRecord::busyLockBtlo, true);
    auto dialog = openDialog(0);
    auto* btlo = widget<QRadioButton>(*dialog, ids::busyLockBtlo);
    auto* none = widget<QRadioButton>(*dialog, ids::busyLockNone);
    EXPECT_TRUE(btlo->isChecked());
    EXPECT_FALSE(none->isChecked());

    // A receiver without tone: busy lock by tone goes, and so does monitoring by carrier.
    clickBox(widget<QRadioButton>(*dialog, ids::rxToneNone));
    EXPECT_FALSE(widget<QRadioButton>(*dialog, ids::rxToneCtcss)->isChecked());
    EXPECT_FALSE(btlo->isEnabled());
    EXPECT_FALSE(btlo->isChecked());
    EXPECT_TRUE(none->isChecked());
    EXPECT_FALSE(widget<QCheckBox>(*dialog, ids::monitorByCarry)->isEnabled());
    EXPECT_FALSE(widget<QComboBox>(*dialog, ids::rxTone)->isEnabled());
    EXPECT_FALSE(image.channels[0].get(ChannelRecord::busyLockBtlo));

    // Disabling the transmitter disables its controls and shows "- - -" as time-out.
    clickBox(widget<QCheckBox>(*dialog, ids::txDisable));
    EXPECT_EQ(image.channels[0].get(ChannelRecord::timeOut), 7u);
    EXPECT_FALSE(widget<QLineEdit>(*dialog, ids::txFrequency)->isEnabled());
    EXPECT_FALSE(widget<QRadioButton>(*dialog, ids::highPower)->isEnabled());
    EXPECT_FALSE(widget<QPushButton>(*dialog, ids::copyTxTone)->isEnabled());
    auto* timeOut = widget<QComboBox>(*dialog, ids::timeOut);
    EXPECT_FALSE(timeOut->isEnabled());
    EXPECT_EQ(timeOut->currentText(), QStringLiteral("- - -"));
    EXPECT_FALSE(widget<QCheckBox>(*dialog, ids::modLevel)->isEnabled());

    // Selective calling ticks and locks "Monitor Disable".
    clickBox(widget<QCheckBox>(*dialog, ids::selectiveCalling));
    auto* monitorDisable = widget<QCheckBox>(*dialog, ids::monitorDisable);
    EXPECT_TRUE(monitorDisable->isChecked());
    EXPECT_FALSE(monitorDisable->isEnabled());
}

TEST_F(ChannelDialogTest, OkWritesChannelAndSetTableFilesAndNotifies)
{
    auto dialog = openDialog(4);
    QSignalSpy refresh(dialog.get(), &CChannelSettingDlg::refreshRequested);
    auto* tx = widget<QLineEdit>(*dialog, ids::txFrequency);
    tx->selectAll();
    QTest::keyClicks(tx, "150");
    QTest::mouseClick(widget<QPushButton>(*dialog, ids::ok), Qt::LeftButton);

    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(refresh.count(), 1);
    EXPECT_EQ(transmitFrequency(image, 4), 150000000u);
    ASSERT_TRUE(fileExists("channelTab.bin"));
    ASSERT_TRUE(fileExists("setTab.bin"));
    EXPECT_EQ(std::filesystem::file_size(dataDir() / "channelTab.bin"), 1584u);
    EXPECT_EQ(std::filesystem::file_size(dataDir() / "setTab.bin"), 48u);
    EXPECT_FALSE(fileExists("factoryTab.bin"));
    EXPECT_FALSE(fileExists("killTab.bin"));
}

TEST_F(ChannelDialogTest, EnterInAFieldKeepsTheFormOpenAndStoresNothing)
{
    auto dialog = openDialog(4);
    auto* tx = widget<QLineEdit>(*dialog, ids::txFrequency);
    tx->setFocus();
    tx->selectAll();
    QTest::keyClicks(tx, "150");
    QTest::keyClick(tx, Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(transmitFrequency(image, 4), 145050000u);

    // Enter on a push button presses it.
    auto* next = widget<QPushButton>(*dialog, ids::nextChannel);
    next->setFocus();
    QTest::keyClick(next, Qt::Key_Return);
    EXPECT_EQ(dialog->currentChannel(), 5);
    EXPECT_EQ(transmitFrequency(image, 4), 150000000u);
}

TEST_F(ChannelDialogTest, EscapeAndCloseBoxWriteNoTableFile)
{
    {
        auto dialog = openDialog(1);
        QSignalSpy refresh(dialog.get(), &CChannelSettingDlg::refreshRequested);
        widget<QLineEdit>(*dialog, ids::txFrequency)->setText(QStringLiteral("160"));
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_EQ(refresh.count(), 0);
        EXPECT_EQ(transmitFrequency(image, 1), 145012500u);
    }
    {
        auto dialog = openDialog(1);
        QSignalSpy refresh(dialog.get(), &CChannelSettingDlg::refreshRequested);
        widget<QLineEdit>(*dialog, ids::txFrequency)->setText(QStringLiteral("160"));
        dialog->close();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_EQ(refresh.count(), 1);
        EXPECT_EQ(transmitFrequency(image, 1), 160000000u);
    }
    EXPECT_FALSE(fileExists("channelTab.bin"));
    EXPECT_FALSE(fileExists("setTab.bin"));
}

// The "Channel Name" button runs the Channel Name dialog modally on the current channel.
TEST_F(ChannelDialogTest, ChannelNameButtonRunsTheNameDialog)
{
    image.general.set(GeneralSettings::fiveCharacterNames, true);
    auto dialog = openDialog(6);
    QString hintShown;
    QTimer::singleShot(0, [&] {
        auto* nameDialog = qobject_cast<CChannelNameDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(nameDialog, nullptr);
        EXPECT_EQ(nameDialog->windowTitle(), QStringLiteral("Channel Name"));
        hintShown =
            qobject_cast<QLabel*>(nameDialog->controls().widget(channel_name_ids::hint))->text();
        auto* field =
            qobject_cast<QLineEdit*>(nameDialog->controls().widget(channel_name_ids::name));
        field->selectAll();
        QTest::keyClicks(field, "fire1");
        QTest::keyClick(field, Qt::Key_Return); // the default button: OK
    });
    QTest::mouseClick(widget<QPushButton>(*dialog, ids::channelName), Qt::LeftButton);
    EXPECT_EQ(hintShown, QStringLiteral("(Max. 5 Digits)"));
    EXPECT_EQ(widget<QLabel>(*dialog, ids::channelLabel)->text(), QStringLiteral("FIRE1"));
}

} // namespace
} // namespace kq904
