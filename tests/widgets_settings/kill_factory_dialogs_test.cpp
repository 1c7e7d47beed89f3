// The Kill Feature and Factory Setting dialogs bound to real widgets: filtered typing, enabling
// shown on the widgets, and which table files each closing route writes.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <chrono>

#include "forms/factory_setting_ids.h"
#include "forms/kill_feature_ids.h"
#include "forms/widgets/code_function_dialog.h"
#include "forms/widgets/factory_setting_dialog.h"
#include "forms/widgets/general_setting_dialog.h"
#include "forms/widgets/kill_feature_dialog.h"
#include "settings_dialog_fixture.h"

namespace kq904 {
namespace {

namespace kid = kill_feature_ids;
namespace fid = factory_setting_ids;
using GS = GeneralSettings;
using FS = FactorySettings;

using KillFeatureDialogTest = testing::SettingsDialogTest;

TEST_F(KillFeatureDialogTest, IdFieldsTakeDigitsAndOkPacksThem)
{
    image.general.set(GS::killFeature, true);
    auto dialog = openDialog<CKillFeatureDlg>();
    auto* kill = widget<QLineEdit>(*dialog, kid::killId);
    EXPECT_EQ(kill->text(), QStringLiteral("0000000000"));
    kill->clear();
    QTest::keyClicks(kill, "12ab34x5");
    EXPECT_EQ(kill->text(), QStringLiteral("12345"));
    QTest::mouseClick(widget<QPushButton>(*dialog, kIdOk), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    const auto bytes = fileBytes("killTab.bin");
    ASSERT_EQ(bytes.size(), 17u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 1, bytes.begin() + 6),
        (std::vector<std::uint8_t>{0x12, 0x34, 0x50, 0x00, 0x00}));
}

TEST_F(KillFeatureDialogTest, UnchangedOkLeavesAnEqualKillTabUntouched)
{
    image.kill.bytes.fill(0x42);
    {
        auto dialog = openDialog<CKillFeatureDlg>();
        QTest::mouseClick(widget<QPushButton>(*dialog, kIdOk), Qt::LeftButton);
    }
    const auto path = dataDir() / "killTab.bin";
    ASSERT_TRUE(std::filesystem::exists(path));
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
    std::filesystem::last_write_time(path, old);
    auto dialog = openDialog<CKillFeatureDlg>();
    QTest::mouseClick(widget<QPushButton>(*dialog, kIdOk), Qt::LeftButton);
    EXPECT_EQ(std::filesystem::last_write_time(path), old);
}

TEST_F(KillFeatureDialogTest, CancelEscapeAndCloseBoxDiscard)
{
    image.general.set(GS::killFeature, true);
    const RadioImage before = image;
    auto cancel = openDialog<CKillFeatureDlg>();
    QTest::keyClicks(widget<QLineEdit>(*cancel, kid::killId), "9");
    QTest::mouseClick(widget<QPushButton>(*cancel, kIdCancel), Qt::LeftButton);
    auto escape = openDialog<CKillFeatureDlg>();
    QTest::keyClicks(widget<QLineEdit>(*escape, kid::killId), "9");
    QTest::keyClick(widget<QLineEdit>(*escape, kid::killId), Qt::Key_Escape);
    auto closeBox = openDialog<CKillFeatureDlg>();
    QTest::keyClicks(widget<QLineEdit>(*closeBox, kid::killId), "9");
    EXPECT_TRUE(closeBox->close());
    EXPECT_EQ(image, before);
    EXPECT_FALSE(fileExists("killTab.bin"));
}

class FactorySettingDialogTest : public testing::SettingsDialogTest {
protected:
    FactorySettingDialogTest()
    {
        image.featureFlags = FeatureFlags::aniVersion | FeatureFlags::channelName;
        image.general.set(GS::dtmfVersion, true);
        image.factory.set(FS::intermediateFrequency, 21'400'000);
    }
};

TEST_F(FactorySettingDialogTest, FilteredFieldsDropForeignCharacters)
{
    auto dialog = openDialog<CFactorySettingDlg>();
    auto* ifField = widget<QLineEdit>(*dialog, fid::ifFrequency);
    EXPECT_EQ(ifField->text(), QStringLiteral("21.4000"));
    ifField->clear();
    QTest::keyClicks(ifField, "45,05 MHz.1"); // ',' is a comma locale's decimal point
    EXPECT_EQ(ifField->text(), QStringLiteral("45.05.1"));
    auto* counter = widget<QLineEdit>(*dialog, fid::refCounter5000);
    counter->clear();
    QTest::keyClicks(counter, "1g2Hab-F");
    EXPECT_EQ(counter->text(), QStringLiteral("12abF"));
    // The band fields take anything; the conversion skips what is no digit.
    auto* band = widget<QLineEdit>(*dialog, fid::band1Low);
    band->clear();
    QTest::keyClicks(band, "136 MHz");
    EXPECT_EQ(band->text(), QStringLiteral("136 MHz"));
}

TEST_F(FactorySettingDialogTest, DtmfVersionEnablesItsOptionsOnTheWidgets)
{
    auto dialog = openDialog<CFactorySettingDlg>();
    auto* group = widget<QGroupBox>(*dialog, fid::dtmfOnOffGroup);
    auto* list = widget<QComboBox>(*dialog, fid::pttIdDelay);
    auto* unit = widget<QLabel>(*dialog, fid::pttIdDelayUnit);
    auto* rxAnyTime = widget<QCheckBox>(*dialog, fid::dtmfRxAnyTime);
    EXPECT_TRUE(group->isEnabled());
    tick(rxAnyTime);
    EXPECT_TRUE(rxAnyTime->isChecked());
    tick(widget<QCheckBox>(*dialog, fid::dtmfVersion));
    EXPECT_FALSE(group->isEnabled());
    EXPECT_FALSE(list->isEnabled());
    EXPECT_FALSE(unit->isEnabled());
    EXPECT_FALSE(rxAnyTime->isEnabled());
    EXPECT_FALSE(rxAnyTime->isChecked());
    // Without the power delay keyword its list only shows the value.
    EXPECT_FALSE(widget<QComboBox>(*dialog, fid::txPowerDelay)->isEnabled());
}

TEST_F(FactorySettingDialogTest, OkWritesBothFilesThenRefreshesAfterClosing)
{
    auto dialog = openDialog<CFactorySettingDlg>();
    bool hiddenAtRefresh = false;
    int refreshes = 0;
    QObject::connect(dialog.get(), &CFactorySettingDlg::refreshRequested, dialog.get(), [&] {
        ++refreshes;
        hiddenAtRefresh = !dialog->isVisible();
        EXPECT_TRUE(fileExists("factoryTab.bin"));
        EXPECT_TRUE(fileExists("setTab.bin"));
    });
    auto* ifField = widget<QLineEdit>(*dialog, fid::ifFrequency);
    ifField->clear();
    QTest::keyClicks(ifField, "10.7");
    tick(widget<QRadioButton>(*dialog, fid::rxUp));
    QTest::mouseClick(widget<QPushButton>(*dialog, fid::ok), Qt::LeftButton);
    EXPECT_EQ(refreshes, 1);
    EXPECT_TRUE(hiddenAtRefresh);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    const auto factory = fileBytes("factoryTab.bin");
    ASSERT_EQ(factory.size(), 40u);
    EXPECT_EQ(factory[0] | factory[1] << 8 | factory[2] << 16 | factory[3] << 24, 10'700'000);
    EXPECT_EQ(factory[12] & 0x01, 0x01);
    EXPECT_EQ(fileBytes("setTab.bin").size(), 48u);
}

TEST_F(FactorySettingDialogTest, EscapeAndCloseBoxDiscardAndWriteNothing)
{
    const RadioImage before = image;
    for (bool escape : {true, false}) {
        auto dialog = openDialog<CFactorySettingDlg>();
        QSignalSpy refresh(dialog.get(), &CFactorySettingDlg::refreshRequested);
        auto* greeting = widget<QLineEdit>(*dialog, fid::welcomeGreeting);
        QTest::keyClicks(greeting, "HELLO");
        if (escape)
            QTest::keyClick(greeting, Qt::Key_Escape);
        else
            EXPECT_TRUE(dialog->close());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_EQ(refresh.count(), 0);
    }
    EXPECT_EQ(image, before);
    EXPECT_FALSE(fileExists("factoryTab.bin"));
    EXPECT_FALSE(fileExists("setTab.bin"));
}

// What the screenshot tool builds: each form with its caption, drawn on the given image.
TEST(SettingsScreenshots, EachDialogIsBuiltOnTheImage)
{
    RadioImage image;
    image.setChannelCount(20);
    image.general.set(GS::dtmfVersion, true);
    image.featureFlags = FeatureFlags::aniVersion;
    const std::pair<std::unique_ptr<QDialog>, const char*> dialogs[] = {
        {makeGeneralSettingScreenshot(image, nullptr), "GeneralSetting"},
        {makeCodeFunctionScreenshot(image, nullptr), "Code Function Setting"},
        {makeKillFeatureScreenshot(image, nullptr), "killFeature"},
        {makeFactorySettingScreenshot(image, nullptr), "Factory Setting"},
    };
    for (const auto& [dialog, caption] : dialogs) {
        EXPECT_EQ(dialog->windowTitle(), QString::fromLatin1(caption));
        dialog->adjustSize();
        EXPECT_FALSE(dialog->grab().isNull()) << caption;
    }
}

} // namespace
} // namespace kq904
