#include "channel_setting_dialog.h"

#include <QCheckBox>
#include <QComboBox>
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

namespace Id = ChannelSettingId;

namespace {

QVBoxLayout* column(std::initializer_list<QWidget*> widgets)
{
    auto* layout = new QVBoxLayout;
    for (QWidget* w : widgets)
        layout->addWidget(w);
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
}

void CChannelSettingDlg::buildWidgets()
{
    // Channel Number: the label between the stepping buttons, and the channel commands.
    auto* previous = makeButton(Id::previousChannel, QStringLiteral("<"));
    auto* next = makeButton(Id::nextChannel, QStringLiteral(">"));
    auto* channelLabel = makeLabel(Id::channelLabel, QStringLiteral("1"));
    channelLabel->setAlignment(Qt::AlignCenter);
    channelLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    channelLabel->setMinimumWidth(dialogUnits(36, 0).width());
    for (QPushButton* step : {previous, next})
        step->setFixedWidth(dialogUnits(18, 0).width());
    auto* stepRow = new QHBoxLayout;
    stepRow->addWidget(previous);
    stepRow->addWidget(channelLabel, 1);
    stepRow->addWidget(next);
    auto* channelNumber = groupBox(QStringLiteral("Channel Number"), stepRow);

    auto* commands = column({makeButton(Id::channelName, QStringLiteral("Channel Name")),
        makeButton(Id::channelAdd, QStringLiteral("Channel Add.")),
        makeButton(Id::channelDelete, QStringLiteral("Channel Del."))});

    // Rf Freq. (MHz)
    auto* tx = makeEdit<CDecimalEdit>(Id::txFrequency);
    auto* rx = makeEdit<CDecimalEdit>(Id::rxFrequency);
    auto* frequencyGrid = new QGridLayout;
    auto* txCaption = label(QStringLiteral("TX"));
    auto* rxCaption = label(QStringLiteral("RX"));
    txCaption->setBuddy(tx);
    rxCaption->setBuddy(rx);
    frequencyGrid->addWidget(txCaption, 0, 0);
    frequencyGrid->addWidget(tx, 0, 1);
    frequencyGrid->addWidget(rxCaption, 1, 0);
    frequencyGrid->addWidget(rx, 1, 1);
    frequencyGrid->addWidget(makeButton(Id::copyTxFrequency, QStringLiteral("RX=TX")), 1, 2);
    frequencyGrid->setColumnStretch(1, 1);
    auto* frequencies = groupBox(QStringLiteral("Rf Freq. (MHz)"), frequencyGrid);

    // Transmitter: disable, time-out and scan.
    auto* timeOutList = makeComboBox(Id::timeOut);
    auto* timeOutBox = new QVBoxLayout;
    timeOutBox->addWidget(timeOutList);
    auto* timeOut = groupBox(QStringLiteral("Tx Time out"), timeOutBox);
    auto* scan =
        groupBox(QStringLiteral("Scan"), column({makeCheckBox(Id::scan, QStringLiteral("Scan"))}));

    // The sub-tones. Each group box holds its radio group, so the groups exclude separately.
    auto toneGroup = [this](const QString& title,
                         std::initializer_list<std::pair<int, QString>> radios, int listId,
                         const QString& listCaption) {
        auto* grid = new QGridLayout;
        int row = 0;
        for (const auto& [id, text] : radios)
            grid->addWidget(makeRadioButton(id, text), row++, 0, 1, 2);
        auto* list = makeComboBox(listId);
        list->setMinimumContentsLength(7);
        auto* caption = label(listCaption);
        caption->setBuddy(list);
        grid->addWidget(caption, row, 0);
        grid->addWidget(list, row, 1);
        grid->setColumnStretch(1, 1);
        return groupBox(title, grid);
    };
    auto* toneTx = toneGroup(QStringLiteral("TONE TX"),
        {{Id::txToneCtcss, QStringLiteral("CTCSS")}, {Id::txToneDcs, QStringLiteral("DCS")},
            {Id::txToneNone, QStringLiteral("NONE")}},
        Id::txTone, QStringLiteral("TX Tone"));
    auto* toneRx = toneGroup(QStringLiteral("TONE RX"),
        {{Id::rxToneCtcss, QStringLiteral("CTCSS")}, {Id::rxToneDcs, QStringLiteral("DCS")},
            {Id::rxToneNone, QStringLiteral("NONE")}},
        Id::rxTone, QStringLiteral("RX Tone"));
    auto* copyTone = makeButton(Id::copyTxTone, QStringLiteral("RX=TX"));

    // Busy Lock Type: one radio group of five.
    auto* busyGrid = new QGridLayout;
    busyGrid->addWidget(makeRadioButton(Id::busyLockBtlo, QStringLiteral("BTLO")), 0, 0);
    busyGrid->addWidget(makeRadioButton(Id::busyLockBclo, QStringLiteral("BCLO")), 0, 1);
    busyGrid->addWidget(makeRadioButton(Id::busyLockRbtlo, QStringLiteral("RBTLO")), 1, 0);
    busyGrid->addWidget(makeRadioButton(Id::busyLockRbclo, QStringLiteral("RBCLO")), 1, 1);
    busyGrid->addWidget(makeRadioButton(Id::busyLockNone, QStringLiteral("NONE")), 2, 0);
    auto* busyLock = groupBox(QStringLiteral("Busy Lock Type"), busyGrid);

    auto radioPair = [this](const QString& title, int first, const QString& firstText, int second,
                         const QString& secondText) {
        return groupBox(title,
            column({makeRadioButton(first, firstText), makeRadioButton(second, secondText)}));
    };
    auto* power = radioPair(QStringLiteral("Rf Power Level"), Id::highPower,
        QStringLiteral("High Power"), Id::lowPower, QStringLiteral("Low Power"));
    auto* txSpacing = radioPair(QStringLiteral("TX Channel Spacing"), Id::txNarrow,
        QStringLiteral("Narrow"), Id::txWide, QStringLiteral("Wide"));
    auto* rxSpacing = radioPair(QStringLiteral("Rx Channel Spacing"), Id::rxNarrow,
        QStringLiteral("Narrow"), Id::rxWide, QStringLiteral("Wide"));

    // Miscellaneous. "Mod Level" only shows whether the TX frequency lies inside a band.
    auto* modLevel = makeCheckBox(Id::modLevel, QStringLiteral("Mod Level"));
    modLevel->setEnabled(false);
    auto* miscellaneous = groupBox(QStringLiteral("Miscellaneous"),
        column({modLevel, makeCheckBox(Id::crystalShift, QStringLiteral("X'tal Shift")),
            makeCheckBox(Id::monitorByCarry, QStringLiteral("Monitor by Carry")),
            makeCheckBox(Id::monitorDisable, QStringLiteral("Monitor Disable"))}));

    // PTT Code and selective calling.
    auto* code = makeEdit<CDigitEdit>(Id::pttCode);
    auto* codeCaption = makeLabel(Id::pttCodeLabel, QStringLiteral("Code Number"));
    codeCaption->setBuddy(code);
    auto* pttGrid = new QGridLayout;
    pttGrid->addWidget(makeCheckBox(Id::pttCodeEnable, QStringLiteral("Enable")), 0, 0, 1, 2);
    pttGrid->addWidget(codeCaption, 1, 0);
    pttGrid->addWidget(code, 1, 1);
    pttGrid->addWidget(makeLabel(Id::pttCodeRange, QStringLiteral("000..999")), 2, 1);
    pttGrid->addWidget(
        makeCheckBox(Id::selectiveCalling, QStringLiteral("Selective Calling Enable")), 3, 0, 1, 2);
    pttGrid->setColumnStretch(1, 1);
    auto* ptt = controls().add(Id::pttCodeGroup, groupBox(QStringLiteral("PTT Code"), pttGrid));

    // "OK" is an ordinary push button here: Enter in a field does not press it.
    auto* ok = makeButton(Id::ok, QStringLiteral("OK"));
    connect(ok, &QPushButton::clicked, this, [this] { requestClose(CloseRoute::OkButton); });

    auto* grid = new QGridLayout(this);
    grid->addWidget(channelNumber, 0, 0);
    grid->addLayout(commands, 0, 1);
    grid->addWidget(frequencies, 1, 0);
    auto* transmitter = new QGridLayout;
    transmitter->addWidget(makeCheckBox(Id::txDisable, QStringLiteral("Tx Disable")), 0, 0, 1, 2);
    transmitter->addWidget(timeOut, 1, 0);
    transmitter->addWidget(scan, 1, 1);
    grid->addLayout(transmitter, 1, 1);
    grid->addWidget(toneTx, 2, 0);
    grid->addWidget(toneRx, 3, 0);
    auto* copyRow = new QHBoxLayout;
    copyRow->addStretch(1);
    copyRow->addWidget(copyTone);
    grid->addLayout(copyRow, 4, 0);
    grid->addWidget(busyLock, 2, 1);
    auto* spacing = new QHBoxLayout;
    spacing->addWidget(txSpacing);
    spacing->addWidget(rxSpacing);
    grid->addLayout(spacing, 3, 1);
    grid->addWidget(power, 5, 0);
    grid->addWidget(miscellaneous, 4, 1, 2, 1);
    grid->addWidget(ptt, 6, 0, 1, 2);
    auto* okRow = new QHBoxLayout;
    okRow->addStretch(1);
    okRow->addWidget(ok);
    grid->addLayout(okRow, 7, 0, 1, 2);
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

void CChannelSettingDlg::sendRefreshNotification()
{
    emit refreshRequested();
}

std::unique_ptr<QDialog> makeChannelSettingScreenshot(
    RadioImage& image, int channel, QWidget* parent)
{
    return std::make_unique<CChannelSettingDlg>(image, std::filesystem::path(), channel, parent);
}

} // namespace kq904
