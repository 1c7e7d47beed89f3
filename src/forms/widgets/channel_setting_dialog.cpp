#include "channel_setting_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QtDebug>
#include <initializer_list>
#include <utility>

#include "channel_name_dialog.h"
#include "forms/channel_setting_ids.h"

namespace kq904 {

namespace ids = channel_setting_ids;

namespace {

// The widgets side by side; `stretching` takes the spare width (none: it goes to the right).
QHBoxLayout* row(std::initializer_list<QWidget*> widgets, QWidget* stretching)
{
    auto* layout = new QHBoxLayout;
    for (QWidget* w : widgets)
        layout->addWidget(w, w == stretching ? 1 : 0);
    if (stretching == nullptr)
        layout->addStretch(1);
    return layout;
}

} // namespace

CChannelSettingDlg::CChannelSettingDlg(
    RadioImage& image, std::filesystem::path dataDir, int channel, QWidget* parent)
    : FormDialog(QStringLiteral("Channel Setting"), parent)
    , image_(image)
    , dataDir_(std::move(dataDir))
    , form_(image, controls(), *this)
{
    buildWidgets();
    bindLogic(form_);
    form_.open(channel);
    // The form opens on the frequency, not on a push button that Enter would press.
    controls().widget(ids::txFrequency)->setFocus();
}

void CChannelSettingDlg::buildWidgets()
{
    const QFontMetrics metrics(font());
    // Room for the widest value a field shows: "1638.39375" MHz, a three-digit code.
    const int frequencyWidth = metrics.horizontalAdvance(QStringLiteral("0000.000000"));
    const int codeWidth = metrics.horizontalAdvance(QStringLiteral("00000"));

    // Channel Number: the label between the stepping buttons, and the channel commands.
    auto* previous = makeButton(ids::previousChannel, QStringLiteral("<"));
    auto* next = makeButton(ids::nextChannel, QStringLiteral(">"));
    auto* channelLabel = makeLabel(ids::channelLabel, QStringLiteral("1"));
    channelLabel->setAlignment(Qt::AlignCenter);
    channelLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    channelLabel->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("WWWWWW")));
    for (QPushButton* step : {previous, next})
        step->setFixedWidth(metrics.horizontalAdvance(QStringLiteral("<<<<")) + 8);
    auto* channelNumber = groupBox(
        QStringLiteral("Channel Number"), row({previous, channelLabel, next}, channelLabel));
    auto* commands = new QVBoxLayout;
    commands->addWidget(makeButton(ids::channelName, QStringLiteral("Channel Name")));
    auto* addDelete = new QHBoxLayout;
    addDelete->addWidget(makeButton(ids::channelAdd, QStringLiteral("Channel Add.")));
    addDelete->addWidget(makeButton(ids::channelDelete, QStringLiteral("Channel Del.")));
    commands->addLayout(addDelete);

    // Rf Freq. (MHz)
    auto* tx = makeEdit<CDecimalEdit>(ids::txFrequency);
    auto* rx = makeEdit<CDecimalEdit>(ids::rxFrequency);
    for (QLineEdit* field : {tx, rx})
        field->setMinimumWidth(frequencyWidth);
    auto* frequencyGrid = new QGridLayout;
    auto* txCaption = label(QStringLiteral("TX"));
    auto* rxCaption = label(QStringLiteral("RX"));
    txCaption->setBuddy(tx);
    rxCaption->setBuddy(rx);
    frequencyGrid->addWidget(txCaption, 0, 0);
    frequencyGrid->addWidget(tx, 0, 1);
    frequencyGrid->addWidget(rxCaption, 1, 0);
    frequencyGrid->addWidget(rx, 1, 1);
    frequencyGrid->addWidget(makeButton(ids::copyTxFrequency, QStringLiteral("RX=TX")), 1, 2);
    frequencyGrid->setColumnStretch(1, 1);
    auto* frequencies = groupBox(QStringLiteral("Rf Freq. (MHz)"), frequencyGrid);

    // Transmitter: disable, time-out and scan.
    auto* txDisable = makeCheckBox(ids::txDisable, QStringLiteral("Tx Disable"));
    auto* timeOut =
        groupBox(QStringLiteral("Tx Time out"), row({makeComboBox(ids::timeOut)}, nullptr));
    auto* scan = groupBox(
        QStringLiteral("Scan"), row({makeCheckBox(ids::scan, QStringLiteral("Scan"))}, nullptr));
    auto* transmitter = new QGridLayout;
    transmitter->addWidget(txDisable, 0, 0, 1, 2);
    transmitter->addWidget(timeOut, 1, 0);
    transmitter->addWidget(scan, 1, 1);
    transmitter->setColumnStretch(0, 1);

    // The sub-tones. Each group box holds its radio group, so the groups exclude separately.
    auto toneGroup = [this](const QString& title, int ctcss, int dcs, int none, int listId,
                         const QString& listCaption, QWidget* besideList) {
        auto* grid = new QGridLayout;
        grid->addWidget(makeRadioButton(ctcss, QStringLiteral("CTCSS")), 0, 0);
        grid->addWidget(makeRadioButton(dcs, QStringLiteral("DCS")), 0, 1);
        grid->addWidget(makeRadioButton(none, QStringLiteral("NONE")), 0, 2);
        auto* list = makeComboBox(listId);
        list->setMinimumContentsLength(7);
        auto* caption = label(listCaption);
        caption->setBuddy(list);
        grid->addWidget(caption, 1, 0);
        grid->addWidget(list, 1, 1, 1, 2);
        if (besideList != nullptr)
            grid->addWidget(besideList, 1, 3);
        return groupBox(title, grid);
    };
    auto* toneTx = toneGroup(QStringLiteral("TONE TX"), ids::txToneCtcss, ids::txToneDcs,
        ids::txToneNone, ids::txTone, QStringLiteral("TX Tone"), nullptr);
    // The receive tone's "RX=TX" copies the transmit tone type and tone.
    auto* toneRx = toneGroup(QStringLiteral("TONE RX"), ids::rxToneCtcss, ids::rxToneDcs,
        ids::rxToneNone, ids::rxTone, QStringLiteral("RX Tone"),
        makeButton(ids::copyTxTone, QStringLiteral("RX=TX")));

    // Busy Lock Type: one radio group of five.
    auto* busyGrid = new QGridLayout;
    busyGrid->addWidget(makeRadioButton(ids::busyLockBtlo, QStringLiteral("BTLO")), 0, 0);
    busyGrid->addWidget(makeRadioButton(ids::busyLockBclo, QStringLiteral("BCLO")), 0, 1);
    busyGrid->addWidget(makeRadioButton(ids::busyLockNone, QStringLiteral("NONE")), 0, 2);
    busyGrid->addWidget(makeRadioButton(ids::busyLockRbtlo, QStringLiteral("RBTLO")), 1, 0);
    busyGrid->addWidget(makeRadioButton(ids::busyLockRbclo, QStringLiteral("RBCLO")), 1, 1);
    auto* busyLock = groupBox(QStringLiteral("Busy Lock Type"), busyGrid);

    auto radioPair = [this](const QString& title, int first, const QString& firstText, int second,
                         const QString& secondText) {
        return groupBox(title,
            row({makeRadioButton(first, firstText), makeRadioButton(second, secondText)}, nullptr));
    };
    auto* power = radioPair(QStringLiteral("Rf Power Level"), ids::highPower,
        QStringLiteral("High Power"), ids::lowPower, QStringLiteral("Low Power"));
    auto* txSpacing = radioPair(QStringLiteral("TX Channel Spacing"), ids::txNarrow,
        QStringLiteral("Narrow"), ids::txWide, QStringLiteral("Wide"));
    auto* rxSpacing = radioPair(QStringLiteral("Rx Channel Spacing"), ids::rxNarrow,
        QStringLiteral("Narrow"), ids::rxWide, QStringLiteral("Wide"));

    // Miscellaneous. "Mod Level" only shows whether the TX frequency lies inside a band.
    auto* modLevel = makeCheckBox(ids::modLevel, QStringLiteral("Mod Level"));
    modLevel->setEnabled(false);
    auto* miscGrid = new QGridLayout;
    miscGrid->addWidget(modLevel, 0, 0);
    miscGrid->addWidget(makeCheckBox(ids::crystalShift, QStringLiteral("X'tal Shift")), 1, 0);
    miscGrid->addWidget(
        makeCheckBox(ids::monitorByCarry, QStringLiteral("Monitor by Carry")), 0, 1);
    miscGrid->addWidget(makeCheckBox(ids::monitorDisable, QStringLiteral("Monitor Disable")), 1, 1);
    auto* miscellaneous = groupBox(QStringLiteral("Miscellaneous"), miscGrid);

    // PTT Code and selective calling.
    auto* code = makeEdit<CDigitEdit>(ids::pttCode);
    code->setFixedWidth(codeWidth + 12);
    auto* codeCaption = makeLabel(ids::pttCodeLabel, QStringLiteral("Code Number"));
    codeCaption->setBuddy(code);
    auto* pttGrid = new QGridLayout;
    pttGrid->addWidget(makeCheckBox(ids::pttCodeEnable, QStringLiteral("Enable")), 0, 0);
    pttGrid->addWidget(codeCaption, 1, 0);
    pttGrid->addWidget(code, 1, 1);
    pttGrid->addWidget(makeLabel(ids::pttCodeRange, QStringLiteral("000..999")), 1, 2);
    pttGrid->addWidget(
        makeCheckBox(ids::selectiveCalling, QStringLiteral("Selective Calling Enable")), 2, 0, 1,
        3);
    pttGrid->setColumnStretch(2, 1);
    auto* ptt = controls().add(ids::pttCodeGroup, groupBox(QStringLiteral("PTT Code"), pttGrid));

    // "OK" is an ordinary push button here: Enter in a field does not press it.
    auto* ok = makeButton(ids::ok, QStringLiteral("OK"));
    connect(ok, &QPushButton::clicked, this, [this] { requestClose(CloseRoute::OkButton); });
    auto* okRow = new QHBoxLayout;
    okRow->addStretch(1);
    okRow->addWidget(ok);

    auto* grid = new QGridLayout(this);
    grid->addWidget(channelNumber, 0, 0);
    grid->addLayout(commands, 0, 1, Qt::AlignBottom);
    grid->addWidget(frequencies, 1, 0);
    grid->addLayout(transmitter, 1, 1);
    grid->addWidget(toneTx, 2, 0);
    grid->addWidget(toneRx, 2, 1);
    grid->addWidget(busyLock, 3, 0);
    grid->addWidget(power, 3, 1);
    grid->addWidget(txSpacing, 4, 0);
    grid->addWidget(rxSpacing, 4, 1);
    grid->addWidget(miscellaneous, 5, 0);
    grid->addWidget(ptt, 5, 1);
    grid->addLayout(okRow, 6, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    resize(dialogUnits(230, 295).expandedTo(minimumSizeHint()));
}

bool CChannelSettingDlg::runChannelName(int channel)
{
    CChannelNameDlg dialog(image_, channel, this);
    return dialog.exec() == QDialog::Accepted;
}

void CChannelSettingDlg::writeTableFile(TableFile file)
{
    // The table files only keep the defaults for the next start; the edits are in the image
    // whatever happens here, so a failure is noted, not put to the user.
    const Result written = kq904::writeTableFile(image_, dataDir_, file);
    if (!written)
        qWarning("%s", written.error.c_str());
}

void CChannelSettingDlg::sendRefresh()
{
    emit refreshRequested();
}

std::unique_ptr<QDialog> makeChannelSettingScreenshot(
    RadioImage& image, int channel, QWidget* parent)
{
    return std::make_unique<CChannelSettingDlg>(image, std::filesystem::path(), channel, parent);
}

} // namespace kq904
