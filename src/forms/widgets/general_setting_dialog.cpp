#include "general_setting_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "code_function_dialog.h"
#include "forms/general_setting_ids.h"

namespace kq904 {

namespace ids = general_setting_ids;

CGeneralSettingDlg::CGeneralSettingDlg(
    RadioImage& image, std::filesystem::path dataDir, QWidget* parent)
    : SettingsFormDialog(QStringLiteral("GeneralSetting"), image, std::move(dataDir), parent)
    , form_(image, controls(), *this)
{
    buildWidgets();
    bindLogic(form_);
    form_.open();
}

void CGeneralSettingDlg::buildWidgets()
{
    auto* powerOn = new QVBoxLayout;
    powerOn->addWidget(makeCheckBox(ids::keyBeep, QStringLiteral("key Beep")));
    powerOn->addWidget(makeCheckBox(ids::keyLocked, QStringLiteral("Keylocked")));
    powerOn->addWidget(makeCheckBox(ids::priorityMode, QStringLiteral("Priority Mode ")));
    auto* initial = groupBox(QStringLiteral("Initial Setting of Power On"), powerOn);

    auto* powerSaveRow = new QHBoxLayout;
    powerSaveRow->addWidget(makeCheckBox(ids::powerSave, QStringLiteral("Power Save")));
    auto* ratio = makeComboBox(ids::powerSaveRatio);
    ratio->setMinimumContentsLength(4);
    powerSaveRow->addWidget(ratio);
    powerSaveRow->addStretch(1);

    // The keys left usable stand under the keypad lock that offers them.
    auto* keys = new QGridLayout;
    keys->setContentsMargins(style()->pixelMetric(QStyle::PM_IndicatorWidth) * 2, 0, 0, 0);
    keys->addWidget(makeCheckBox(ids::upDownKeys, QStringLiteral("Up/Dn keys")), 0, 0);
    keys->addWidget(makeCheckBox(ids::modeKey, QStringLiteral("Mode key")), 0, 1);
    keys->addWidget(makeCheckBox(ids::scanKey, QStringLiteral("Scan key")), 1, 0);
    keys->addWidget(makeCheckBox(ids::entKey, QStringLiteral("ENT key")), 1, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(initial);
    left->addWidget(makeCheckBox(ids::toneSettingByUser, QStringLiteral("Tone setting by user")));
    left->addWidget(
        makeCheckBox(ids::prioritySettingByUser, QStringLiteral("Priority setting by user")));
    left->addLayout(powerSaveRow);
    left->addWidget(makeCheckBox(ids::batteryLowWarning, QStringLiteral("Battery Low Warnning")));
    left->addWidget(makeCheckBox(
        ids::keypadLockNoUserAccess, QStringLiteral("Keypad lock with no user access")));
    left->addWidget(
        makeCheckBox(ids::keypadLockUserAccess, QStringLiteral("Keypad lock with user access")));
    left->addLayout(keys);
    left->addStretch(1);

    // A channel number between its two step buttons.
    auto stepper = [this](const QString& title, int down, int display, int up) {
        auto* row = new QHBoxLayout;
        auto* less = makeButton(down, QStringLiteral("<"));
        auto* more = makeButton(up, QStringLiteral(">"));
        for (auto* button : {less, more})
            button->setMaximumWidth(
                button->fontMetrics().horizontalAdvance(QStringLiteral("M")) * 4);
        row->addWidget(less);
        row->addWidget(makeNumberDisplay(display), 1);
        row->addWidget(more);
        return groupBox(title, row);
    };

    auto* password = makeEdit<CDigitEdit>(ids::password);
    password->setMaximumWidth(password->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 10);
    auto* passwordCaption = makeLabel(ids::passwordLabel, QStringLiteral("Password No."));
    passwordCaption->setBuddy(password);
    auto* passwordGrid = new QGridLayout;
    passwordGrid->addWidget(
        makeCheckBox(ids::passwordEnable, QStringLiteral("Enable")), 0, 0, 1, 3);
    passwordGrid->addWidget(passwordCaption, 1, 0);
    passwordGrid->addWidget(password, 1, 1);
    passwordGrid->addWidget(makeLabel(ids::passwordHint, QStringLiteral("4-digit")), 1, 2);
    passwordGrid->setColumnStretch(2, 1);
    auto* passwordBox = controls().add(
        ids::passwordGroup, groupBox(QStringLiteral("Power On Password"), passwordGrid));

    auto* right = new QVBoxLayout;
    right->addWidget(makeCheckBox(ids::priorityDisable, QStringLiteral("Priority Disable")));
    right->addWidget(makeCheckBox(ids::shuntingRadio, QStringLiteral("Shunting Radio Enable")));
    right->addWidget(stepper(QStringLiteral("Priority Channel"), ids::priorityDown,
        ids::priorityChannel, ids::priorityUp));
    right->addWidget(makeCheckBox(ids::homeChannelDisable, QStringLiteral("Home CH Disable")));
    right->addWidget(
        stepper(QStringLiteral("Home Channel"), ids::homeDown, ids::homeChannel, ids::homeUp));
    right->addWidget(passwordBox);
    right->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(makeButton(ids::codeFunction, QStringLiteral("Code Function")));
    buttons->addStretch(1);
    auto* ok = makeButton(ids::ok, QStringLiteral("OK"));
    ok->setDefault(true);
    buttons->addWidget(ok);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addSpacing(fontMetrics().averageCharWidth() * 2);
    columns->addLayout(right, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);
}

void CGeneralSettingDlg::runCodeFunctionForm()
{
    CCodeFunctionDlg dialog(image(), dataDir(), this);
    dialog.exec();
}

std::unique_ptr<QDialog> makeGeneralSettingScreenshot(RadioImage& image, QWidget* parent)
{
    return std::make_unique<CGeneralSettingDlg>(image, std::filesystem::path(), parent);
}

} // namespace kq904
