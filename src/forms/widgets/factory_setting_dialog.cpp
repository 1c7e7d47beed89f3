#include "factory_setting_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "forms/factory_setting_ids.h"

namespace kq904 {

namespace ids = factory_setting_ids;

CFactorySettingDlg::CFactorySettingDlg(
    RadioImage& image, std::filesystem::path dataDir, QWidget* parent)
    : SettingsFormDialog(QStringLiteral("Factory Setting"), image, std::move(dataDir), parent)
    , form_(image, controls(), *this)
{
    buildWidgets();
    bindLogic(form_);
    form_.open();
}

void CFactorySettingDlg::buildWidgets()
{
    const int frequencyWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000.0000")) * 3 / 2;

    // A field or list with its unit after it.
    auto withUnit = [this](QWidget* field, QLabel* unit) {
        auto* row = new QHBoxLayout;
        row->addWidget(field, 1);
        row->addWidget(unit);
        return row;
    };
    // Two radio buttons of one group box, which keeps them exclusive of the other groups.
    auto radioPair = [this](const QString& title, int first, const QString& firstText, int second,
                         const QString& secondText) {
        auto* row = new QHBoxLayout;
        row->addWidget(makeRadioButton(first, firstText));
        row->addWidget(makeRadioButton(second, secondText));
        row->addStretch(1);
        return groupBox(title, row);
    };

    auto* ifField = makeEdit<CDecimalEdit>(ids::ifFrequency);
    ifField->setMinimumWidth(frequencyWidth);
    auto* ifBox = groupBox(QStringLiteral("IF Frequency"), withUnit(ifField, label("MHz")));

    auto* side = radioPair(QStringLiteral("RX Superheterodyne"), ids::rxUp, QStringLiteral("UP"),
        ids::rxDown, QStringLiteral("DOWN"));
    auto* dcsTx = radioPair(QStringLiteral("DCS TX"), ids::dcsTxNormal, QStringLiteral("Normal"),
        ids::dcsTxInvert, QStringLiteral("Invert"));
    auto* dcsRx = radioPair(QStringLiteral("DCS RX"), ids::dcsRxNormal, QStringLiteral("Normal"),
        ids::dcsRxInvert, QStringLiteral("Invert"));

    auto counterBox = [this](const QString& title, int id) {
        auto* row = new QHBoxLayout;
        row->addWidget(makeEdit<CHexEdit>(id));
        return groupBox(title, row);
    };
    auto* counter6250 = counterBox(QStringLiteral("6.25K Ref Counter(Hex)"), ids::refCounter6250);
    auto* counter5000 = counterBox(QStringLiteral("5KHz Ref Counter(Hex)"), ids::refCounter5000);

    auto* bands = new QGridLayout;
    int row = 0;
    for (const auto& [low, high] :
        {std::pair{ids::band1Low, ids::band1High}, std::pair{ids::band2Low, ids::band2High}}) {
        auto* lowField = makeLineEdit(low);
        auto* highField = makeLineEdit(high);
        lowField->setMinimumWidth(frequencyWidth);
        highField->setMinimumWidth(frequencyWidth);
        bands->addWidget(lowField, row, 0);
        bands->addWidget(label(QStringLiteral("To")), row, 1);
        bands->addWidget(highField, row, 2);
        ++row;
    }
    auto* bandBox = groupBox(QStringLiteral("Mod Level Limit(MHz)"), bands);

    auto* powerDelay = groupBox(QStringLiteral("TX Power Delay"),
        withUnit(makeComboBox(ids::txPowerDelay), label(QStringLiteral("mS"))));
    auto* pttIdDelay = controls().add(ids::pttIdDelayGroup,
        groupBox(QStringLiteral("PTT ID Tx Delay Time"),
            withUnit(makeComboBox(ids::pttIdDelay),
                makeLabel(ids::pttIdDelayUnit, QStringLiteral("mS")))));
    auto* dtmfOnOff = controls().add(ids::dtmfOnOffGroup,
        groupBox(QStringLiteral("DTMF On/Off Time"),
            withUnit(makeComboBox(ids::dtmfOnOffTime),
                makeLabel(ids::dtmfOnOffUnit, QStringLiteral("mS")))));

    auto* greetingGrid = new QVBoxLayout;
    auto* greeting = makeLineEdit(ids::welcomeGreeting);
    greeting->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("MMMMM")) * 2);
    greetingGrid->addWidget(greeting);
    greetingGrid->addWidget(label(QStringLiteral("A..Z,0..9,- ")));
    auto* greetingBox = groupBox(QStringLiteral("Welcome Greetings"), greetingGrid);

    auto* left = new QVBoxLayout;
    left->addWidget(ifBox);
    left->addWidget(side);
    left->addWidget(dcsTx);
    left->addWidget(dcsRx);
    left->addWidget(counter6250);
    left->addWidget(counter5000);
    left->addStretch(1);

    auto* right = new QVBoxLayout;
    right->addWidget(bandBox);
    right->addWidget(powerDelay);
    right->addWidget(makeCheckBox(ids::dtmfVersion, QStringLiteral("DTMF Version")));
    right->addWidget(makeCheckBox(ids::dtmfRxAnyTime, QStringLiteral("DTMF Rx any time")));
    right->addWidget(makeCheckBox(ids::channelNameTag, QStringLiteral("Channel Name Tag")));
    right->addWidget(pttIdDelay);
    right->addWidget(dtmfOnOff);
    right->addWidget(greetingBox);
    right->addStretch(1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = makeButton(ids::ok, QStringLiteral("OK"));
    ok->setDefault(true);
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);
}

std::unique_ptr<QDialog> makeFactorySettingScreenshot(RadioImage& image, QWidget* parent)
{
    return std::make_unique<CFactorySettingDlg>(image, std::filesystem::path(), parent);
}

} // namespace kq904
