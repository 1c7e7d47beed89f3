#include "programming_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/programming_ids.h"
#include "link/profile_settings.h"

namespace kq904 {

namespace ids = programming_ids;

CProgrammingDlg::Host::Host(
    CProgrammingDlg& dialog, ProfileSettings& profile, MessageFunction showMessage)
    : dialog_(dialog)
    , profile_(profile)
    , showMessage_(std::move(showMessage))
{ }

std::uint32_t CProgrammingDlg::Host::storedSerialNumber()
{
    return currentSerialNumber(profile_);
}

Result CProgrammingDlg::Host::storeSerialNumber(std::uint32_t serial)
{
    return kq904::storeSerialNumber(profile_, serial);
}

SerialReservationResult CProgrammingDlg::Host::reserveSerialNumber(
    std::optional<std::uint32_t> startingAt)
{
    return kq904::reserveSerialNumber(profile_, startingAt);
}

void CProgrammingDlg::Host::releaseSerialNumber(const SerialReservation& reservation)
{
    kq904::releaseSerialNumber(profile_, reservation);
}

bool CProgrammingDlg::Host::storedAutoIncrement() const
{
    return profile_.autoIncrement();
}

void CProgrammingDlg::Host::storeAutoIncrement(bool on)
{
    profile_.setAutoIncrement(on);
    profile_.sync();
}

void CProgrammingDlg::Host::startTimer()
{
    dialog_.timer_.start();
}

void CProgrammingDlg::Host::stopTimer()
{
    dialog_.timer_.stop();
}

void CProgrammingDlg::Host::showMessage(std::string_view text)
{
    const QString message = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (showMessage_)
        showMessage_(&dialog_, message);
    else
        QMessageBox::information(&dialog_, QStringLiteral("KQ904"), message);
}

CProgrammingDlg::CProgrammingDlg(RadioImage& image, Link& link, LinkObservers& observers,
    ProfileSettings& profile, QWidget* parent, MessageFunction showMessage)
    : FormDialog(QStringLiteral("Programming"), parent)
    , host_(*this, profile, std::move(showMessage))
    , form_(image, link, controls(), host_)
    , observers_(observers)
{
    observers_.add(form_);
    timer_.setInterval(ProgrammingForm::timerPeriodMs);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { form_.onTimer(); });

    buildControls();
    bindLogic(form_);
    form_.open();
}

CProgrammingDlg::~CProgrammingDlg()
{
    observers_.remove(form_);
}

void CProgrammingDlg::buildControls()
{
    auto* versionText = makeLabel(ids::versionText, QStringLiteral("Version"));

    auto* serial = makeEdit<CDigitEdit>(ids::serialNumber);
    serial->setAlignment(Qt::AlignRight);
    serial->setMinimumWidth(dialogUnits(53, 0).width());
    auto* serialRow = new QHBoxLayout;
    serialRow->addWidget(serial, 1);
    serialRow->addWidget(label(QStringLiteral("0..9")));
    auto* serialLayout = new QVBoxLayout;
    serialLayout->addLayout(serialRow);
    serialLayout->addWidget(makeCheckBox(ids::autoIncrement, QStringLiteral("Auto Increment S/N")));
    auto* serialBox = groupBox(QStringLiteral("Serial Number (7 digitals)"), serialLayout);

    auto* version = makeButton(ids::version, QStringLiteral("V"));
    version->setToolTip(QStringLiteral("Ask the radio for its version"));
    version->setFixedWidth(version->fontMetrics().horizontalAdvance(QStringLiteral("VV")) * 2);

    auto* programming = makeButton(ids::programming, QStringLiteral("Programming"));
    programming->setMinimumHeight(dialogUnits(0, 21).height());
    auto* reading = makeButton(ids::reading, QStringLiteral("Reading"));
    reading->setMinimumHeight(dialogUnits(0, 16).height());
    auto* progress = makeProgressBar(ids::progress);
    progress->setRange(0, 100);
    progress->setValue(0);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(versionText);
    layout->addWidget(serialBox);
    layout->addWidget(version, 0, Qt::AlignLeft);
    layout->addWidget(programming);
    layout->addWidget(reading);
    layout->addWidget(progress);
    layout->addStretch(1);

    setMinimumWidth(dialogUnits(128, 0).width());
    // The serial number is what a technician types first.
    serial->setFocus();
}

} // namespace kq904
