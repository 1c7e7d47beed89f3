// The Programming and Port setting windows on real widgets, the profile in a temporary file and
// the in-process simulated radio behind the link.

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "forms/port_setting_ids.h"
#include "forms/programming_ids.h"
#include "forms/widgets/port_setting_dialog.h"
#include "forms/widgets/programming_dialog.h"
#include "link/link.h"
#include "link/profile_settings.h"
#include "sim/in_process_transport.h"
#include "sim/simulated_radio.h"

namespace kq904 {
namespace {

class ProfileFile {
public:
    ProfileFile() { EXPECT_TRUE(dir_.isValid()); }
    QString path() const { return dir_.filePath("KQ904.conf"); }
    // The profile as the next session would find it.
    std::unique_ptr<ProfileSettings> reopen() const
    {
        return std::make_unique<ProfileSettings>(path());
    }

private:
    QTemporaryDir dir_;
};

class ProgrammingDialogTest : public ::testing::Test {
protected:
    ProgrammingDialogTest()
    {
        image.setChannelCount(2);
        image.featureFlags = FeatureFlags::versionShow;
        profile->setSerialNumber(41);
        profile->setAutoIncrement(true);
    }

    std::unique_ptr<CProgrammingDlg> makeDialog()
    {
        auto dialog = std::make_unique<CProgrammingDlg>(image, link, observers, *profile, nullptr,
            [this](QWidget*, const QString& text) { messages << text; });
        dialog->show();
        return dialog;
    }
    template <typename W> W* control(CProgrammingDlg& dialog, int id)
    {
        return qobject_cast<W*>(dialog.controls().widget(id));
    }
    // The main window's tick in virtual time, with real time given to the dialog's timer.
    void runTransfer(CProgrammingDlg& dialog)
    {
        for (int i = 0; i < 400 && link.busy(); ++i) {
            transport.advanceTick();
            link.tick();
        }
        QElapsedTimer waited;
        waited.start();
        while (dialog.progressTimer().isActive() && waited.elapsed() < 3000)
            QTest::qWait(20);
    }

    ProfileFile file;
    std::unique_ptr<ProfileSettings> profile = file.reopen();
    RadioImage image;
    SimulatedRadio radio;
    InProcessTransport transport{radio};
    LinkObservers observers;
    Link link{image, transport, &observers};
    QStringList messages;
};

TEST_F(ProgrammingDialogTest, ShowsTheFormsLabelsAndTheStoredSerialNumber)
{
    auto dialog = makeDialog();
    EXPECT_EQ(dialog->windowTitle(), "Programming");
    EXPECT_EQ(control<QLineEdit>(*dialog, programming_ids::serialNumber)->text(), "0000041");
    EXPECT_TRUE(control<QCheckBox>(*dialog, programming_ids::autoIncrement)->isChecked());
    EXPECT_EQ(
        control<QCheckBox>(*dialog, programming_ids::autoIncrement)->text(), "Auto Increment S/N");
    EXPECT_TRUE(control<QPushButton>(*dialog, programming_ids::version)->isVisible());
    EXPECT_EQ(control<QLabel>(*dialog, programming_ids::versionText)->text(), "Version");
    EXPECT_EQ(control<QPushButton>(*dialog, programming_ids::programming)->text(), "Programming");
    EXPECT_EQ(control<QPushButton>(*dialog, programming_ids::reading)->text(), "Reading");
}

TEST_F(ProgrammingDialogTest, WithoutVersionShowEnableTheVersionControlsAreGone)
{
    image.featureFlags = 0;
    auto dialog = makeDialog();
    EXPECT_FALSE(control<QPushButton>(*dialog, programming_ids::version)->isVisible());
    EXPECT_FALSE(control<QLabel>(*dialog, programming_ids::versionText)->isVisible());
}

TEST_F(ProgrammingDialogTest, TypingTheSerialNumberKeepsDigitsAndSevenOfThem)
{
    auto dialog = makeDialog();
    auto* field = control<QLineEdit>(*dialog, programming_ids::serialNumber);
    field->selectAll();
    QTest::keyClicks(field, "12x3-4567890");
    EXPECT_EQ(field->text(), "1234567");
    EXPECT_EQ(image.id.get(IdSettings::serialNumber), 1'234'567u);
}

TEST_F(ProgrammingDialogTest, ProgrammingTheSimulatedRadioAdvancesTheSerialNumber)
{
    auto dialog = makeDialog();
    QTest::mouseClick(control<QPushButton>(*dialog, programming_ids::programming), Qt::LeftButton);
    EXPECT_TRUE(dialog->progressTimer().isActive());
    EXPECT_EQ(dialog->progressTimer().timerType(), Qt::PreciseTimer);
    runTransfer(*dialog);
    EXPECT_FALSE(dialog->progressTimer().isActive());
    EXPECT_EQ(radio.programmingEnds(), 1);
    EXPECT_EQ(control<QLineEdit>(*dialog, programming_ids::serialNumber)->text(), "0000042");
    EXPECT_EQ(control<QProgressBar>(*dialog, programming_ids::progress)->value(), 100);

    // Closing from the title bar keeps 42 for the next radio.
    EXPECT_TRUE(dialog->close());
    EXPECT_EQ(file.reopen()->serialNumber(), 42u);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ProgrammingDialogTest, VersionNumberReplacesTheVersionText)
{
    radio.setVersionWord(0x0123);
    auto dialog = makeDialog();
    QTest::mouseClick(control<QPushButton>(*dialog, programming_ids::version), Qt::LeftButton);
    runTransfer(*dialog);
    EXPECT_EQ(control<QLabel>(*dialog, programming_ids::versionText)->text(), "18");
}

TEST_F(ProgrammingDialogTest, APortThatWillNotOpenSaysComPortFail)
{
    transport.setOpenFails(true);
    auto dialog = makeDialog();
    QTest::mouseClick(control<QPushButton>(*dialog, programming_ids::reading), Qt::LeftButton);
    EXPECT_EQ(messages, QStringList{"Com Port Fail"});
    EXPECT_FALSE(dialog->progressTimer().isActive());
}

TEST_F(ProgrammingDialogTest, AutoIncrementIsStoredAtOnce)
{
    auto dialog = makeDialog();
    QTest::mouseClick(control<QCheckBox>(*dialog, programming_ids::autoIncrement), Qt::LeftButton);
    EXPECT_FALSE(file.reopen()->autoIncrement());
}

class PortDialogTest : public ::testing::Test {
protected:
    ProfileFile file;
    std::unique_ptr<ProfileSettings> profile = file.reopen();
    // Two USB adapters; COM1 and COM2 stand for them, the rest for nothing.
    CPortSettingDlg::PortSource ports = [] {
        return PortCatalog({{"ttyUSB1", "/dev/ttyUSB1"}, {"ttyUSB0", "/dev/ttyUSB0"}}, {}, false);
    };
};

TEST_F(PortDialogTest, ShowsThePortsWithTheirDevicesAndTheFixedBaudRate)
{
    CPortSettingDlg dialog(*profile, ports);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Port setting");
    auto* portList = qobject_cast<QComboBox*>(dialog.controls().widget(port_setting_ids::portList));
    auto* baudList = qobject_cast<QComboBox*>(dialog.controls().widget(port_setting_ids::baudList));
    ASSERT_EQ(portList->count(), 42);
    EXPECT_EQ(portList->itemText(0), "COM1 (/dev/ttyUSB0)");
    EXPECT_EQ(portList->itemText(1), "COM2 (/dev/ttyUSB1)");
    EXPECT_EQ(portList->itemText(2), "COM3");
    EXPECT_EQ(portList->currentIndex(), 0);
    EXPECT_EQ(baudList->currentText(), "19200");
    EXPECT_FALSE(baudList->isEnabled());
}

TEST_F(PortDialogTest, OkStoresTheChosenPortAndOtherWaysOutDoNot)
{
    {
        CPortSettingDlg dialog(*profile, ports);
        dialog.show();
        auto* portList =
            qobject_cast<QComboBox*>(dialog.controls().widget(port_setting_ids::portList));
        portList->setFocus();
        QTest::keyClick(portList, Qt::Key_Down);
        QTest::keyClick(portList, Qt::Key_Down);
        QTest::keyClick(portList, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(file.reopen()->portIndex(), 0);
    }
    CPortSettingDlg dialog(*profile, ports);
    dialog.show();
    auto* portList = qobject_cast<QComboBox*>(dialog.controls().widget(port_setting_ids::portList));
    portList->setFocus();
    QTest::keyClick(portList, Qt::Key_Down);
    QTest::keyClick(portList, Qt::Key_Down);
    QTest::mouseClick(
        qobject_cast<QPushButton*>(dialog.controls().widget(port_setting_ids::ok)), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(file.reopen()->portIndex(), 2);
    EXPECT_EQ(file.reopen()->baudRate(), 19200);
}

} // namespace
} // namespace kq904
