// The General Setting and Code Function Setting dialogs bound to real widgets: filtered typing,
// texts the logic sets raising their change events, the logic's enabling and ticking shown on
// the widgets, the Code Function form opened on top, and what OK and the other routes write.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "forms/code_function_form.h"
#include "forms/code_function_ids.h"
#include "forms/general_setting_ids.h"
#include "forms/widgets/code_function_dialog.h"
#include "forms/widgets/general_setting_dialog.h"
#include "forms/widgets/kill_feature_dialog.h"
#include "settings_dialog_fixture.h"

namespace kq904 {
namespace {

namespace gid = general_setting_ids;
namespace cid = code_function_ids;
using GS = GeneralSettings;

class GeneralSettingDialogTest : public testing::SettingsDialogTest {
protected:
    GeneralSettingDialogTest()
    {
        image.setChannelCount(12);
        image.featureFlags = FeatureFlags::powerOnPassword | FeatureFlags::shuntingRadio;
        image.general.set(GS::powerOnPassword, true);
    }
};

TEST_F(GeneralSettingDialogTest, PasswordFieldTakesDigitsOnlyAndFourAtMost)
{
    auto dialog = openDialog<CGeneralSettingDlg>();
    auto* password = widget<QLineEdit>(*dialog, gid::password);
    EXPECT_EQ(password->text(), QStringLiteral("0000"));
    password->clear();
    QTest::keyClicks(password, "1a2-b3c4");
    EXPECT_EQ(password->text(), QStringLiteral("1234"));
    QTest::keyClicks(password, "5");
    EXPECT_EQ(password->text(), QStringLiteral("1234"));
    const auto digits = image.id.range(IdSettings::password);
    EXPECT_EQ(std::vector<std::uint8_t>(digits.begin(), digits.end()),
        (std::vector<std::uint8_t>{1, 2, 3, 4}));
}

TEST_F(GeneralSettingDialogTest, ShuntingLocksPriorityDisableOnTheWidgets)
{
    auto dialog = openDialog<CGeneralSettingDlg>();
    auto* priorityDisable = widget<QCheckBox>(*dialog, gid::priorityDisable);
    auto* shunting = widget<QCheckBox>(*dialog, gid::shuntingRadio);
    auto* priorityMode = widget<QCheckBox>(*dialog, gid::priorityMode);
    EXPECT_FALSE(shunting->isEnabled());
    tick(priorityDisable);
    EXPECT_TRUE(shunting->isEnabled());
    EXPECT_FALSE(priorityMode->isEnabled());
    tick(shunting);
    EXPECT_TRUE(image.general.get(GS::shuntingRadio));
    EXPECT_TRUE(priorityDisable->isChecked());
    EXPECT_FALSE(priorityDisable->isEnabled());
}

TEST_F(GeneralSettingDialogTest, OkWritesSetTabWithTheEdits)
{
    auto dialog = openDialog<CGeneralSettingDlg>();
    tick(widget<QCheckBox>(*dialog, gid::keyBeep));
    QTest::mouseClick(widget<QPushButton>(*dialog, gid::ok), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    const auto bytes = fileBytes("setTab.bin");
    ASSERT_EQ(bytes.size(), 48u);
    EXPECT_EQ(bytes[13] & 0x01, 0x01);
    EXPECT_TRUE(std::equal(image.general.bytes.begin(), image.general.bytes.end(), bytes.begin()));
}

TEST_F(GeneralSettingDialogTest, EscapeAndCloseBoxKeepEditsAndWriteNothing)
{
    auto dialog = openDialog<CGeneralSettingDlg>();
    tick(widget<QCheckBox>(*dialog, gid::batteryLowWarning));
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(image.general.get(GS::batteryLowWarning));

    auto again = openDialog<CGeneralSettingDlg>();
    tick(widget<QCheckBox>(*again, gid::keyLocked));
    EXPECT_TRUE(again->close());
    EXPECT_TRUE(image.general.get(GS::keysLocked));
    EXPECT_FALSE(fileExists("setTab.bin"));
}

TEST_F(GeneralSettingDialogTest, CodeFunctionOpensOnTopAndItsEditsShowAfter)
{
    image.general.set(GS::dtmfVersion, true);
    auto dialog = openDialog<CGeneralSettingDlg>();
    auto* button = widget<QPushButton>(*dialog, gid::codeFunction);
    ASSERT_TRUE(button->isEnabled());
    bool opened = false;
    whenModal<CCodeFunctionDlg>([&](CCodeFunctionDlg& codes) {
        opened = true;
        EXPECT_EQ(codes.windowTitle(), QStringLiteral("Code Function Setting"));
        widget<QLineEdit>(codes, cid::unitId)->setText(QStringLiteral("24680"));
        // The shared power-save rule acts on the general settings too.
        image.general.set(GS::keyBeep, true);
        QTest::mouseClick(widget<QPushButton>(codes, cid::ok), Qt::LeftButton);
    });
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(opened);
    EXPECT_EQ(identityDigits(image, Identity::Unit), (std::array<unsigned, 5>{2, 4, 6, 8, 0}));
    EXPECT_TRUE(widget<QCheckBox>(*dialog, gid::keyBeep)->isChecked());
    EXPECT_TRUE(dialog->isVisible());
}

class CodeFunctionDialogTest : public testing::SettingsDialogTest {
protected:
    CodeFunctionDialogTest() { image.general.set(GS::dtmfVersion, true); }
};

// A pasted sixth character is cut off by the logic; only the change event raised by that cut
// stores the code.
TEST_F(CodeFunctionDialogTest, TextCutByTheLogicIsStoredThroughItsChangeEvent)
{
    auto dialog = openDialog<CCodeFunctionDlg>();
    auto* unit = widget<QLineEdit>(*dialog, cid::unitId);
    EXPECT_EQ(unit->text(), QStringLiteral("00000"));
    unit->setText(QStringLiteral("987654"));
    EXPECT_EQ(unit->text(), QStringLiteral("98765"));
    EXPECT_EQ(identityDigits(image, Identity::Unit), (std::array<unsigned, 5>{9, 8, 7, 6, 5}));

    auto* emergency = widget<QLineEdit>(*dialog, cid::emergencyDigits);
    EXPECT_FALSE(emergency->isEnabled());
    tick(widget<QCheckBox>(*dialog, cid::emergencyCode));
    ASSERT_TRUE(emergency->isEnabled());
    emergency->clear();
    QTest::keyClicks(emergency, "1234");
    EXPECT_EQ(image.code[9], 0);
    QTest::keyClicks(emergency, "56");
    EXPECT_EQ(emergency->text(), QStringLiteral("12345"));
    EXPECT_EQ(image.code[13], 5);
}

TEST_F(CodeFunctionDialogTest, PttMomentFollowsTheRadioButtons)
{
    auto dialog = openDialog<CCodeFunctionDlg>();
    auto* pressed = widget<QRadioButton>(*dialog, cid::pttPressed);
    auto* released = widget<QRadioButton>(*dialog, cid::pttReleased);
    EXPECT_TRUE(pressed->isChecked());
    EXPECT_FALSE(released->isEnabled());
    tick(widget<QCheckBox>(*dialog, cid::pttAniEnable));
    EXPECT_TRUE(released->isEnabled());
    tick(released);
    EXPECT_TRUE(released->isChecked());
    EXPECT_FALSE(pressed->isChecked());
    EXPECT_TRUE(image.general.get(GS::aniOnRelease));
    tick(pressed);
    EXPECT_FALSE(image.general.get(GS::aniOnRelease));
}

TEST_F(CodeFunctionDialogTest, KillFeatureOpensOnTopAndItsOkWritesKillTab)
{
    auto dialog = openDialog<CCodeFunctionDlg>();
    whenModal<CKillFeatureDlg>([](CKillFeatureDlg& kill) {
        EXPECT_EQ(kill.windowTitle(), QStringLiteral("killFeature"));
        QTest::mouseClick(widget<QPushButton>(kill, kIdOk), Qt::LeftButton);
    });
    QTest::mouseClick(widget<QPushButton>(*dialog, cid::killFeature), Qt::LeftButton);
    EXPECT_EQ(fileBytes("killTab.bin").size(), 17u);
    EXPECT_TRUE(dialog->isVisible());
    // Closing the Code Function form writes no table file of its own.
    QTest::mouseClick(widget<QPushButton>(*dialog, cid::ok), Qt::LeftButton);
    EXPECT_FALSE(fileExists("setTab.bin"));
}

} // namespace
} // namespace kq904
