#include "port_setting_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/port_setting_ids.h"
#include "link/profile_settings.h"

namespace kq904 {

namespace ids = port_setting_ids;

PortListing portListing(const PortCatalog& ports)
{
    PortListing listing;
    for (int n = 1; n <= PortSettingForm::portCount; ++n) {
        const QString name = QStringLiteral("COM%1").arg(n);
        const std::optional<SerialDevice> device = ports.deviceFor(n);
        listing.words.push_back(device ? deviceWords(*device, name).toStdString() : std::string());
        listing.builtIn.push_back(device && !builtInPortNote(name, device->path).isEmpty());
    }
    if (const std::optional<SerialDevice> adapter = ports.onlyUsbAdapter()) {
        listing.adapterWords = deviceWords(*adapter).toStdString();
        listing.adapterPort = ports.portNumberOf(*adapter);
    }
    return listing;
}

CPortSettingDlg::Host::Host(ProfileSettings& profile, PortSource ports)
    : profile_(profile)
    , ports_(std::move(ports))
{ }

int CPortSettingDlg::Host::storedPortIndex() const
{
    return profile_.portIndex();
}

bool CPortSettingDlg::Host::storedFastLink() const
{
    return profile_.fastLink();
}

void CPortSettingDlg::Host::storePort(int portIndex, int baudRate, bool fastLink)
{
    profile_.setPortIndex(portIndex);
    profile_.setBaudRate(baudRate);
    profile_.setFastLink(fastLink);
    profile_.sync();
}

PortListing CPortSettingDlg::Host::listPorts()
{
    return portListing(ports_());
}

CPortSettingDlg::CPortSettingDlg(ProfileSettings& profile, QWidget* parent)
    : CPortSettingDlg(
        profile, [&profile] { return PortCatalog::forSystem(profile); }, parent)
{ }

CPortSettingDlg::CPortSettingDlg(ProfileSettings& profile, PortSource ports, QWidget* parent)
    : FormDialog(QStringLiteral("Port setting"), parent)
    , host_(profile, std::move(ports))
    , form_(controls(), host_)
{
    buildControls();
    bindLogic(form_);
    form_.open();
    // The system tells of no cable plugged in or out; looking again each second is cheap.
    rescan_.setInterval(kRescanMs);
    connect(&rescan_, &QTimer::timeout, this, [this] { form_.rescan(); });
    rescan_.start();
}

void CPortSettingDlg::buildControls()
{
    auto* ports = makeComboBox(ids::portList);
    ports->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    ports->setMinimumWidth(dialogUnits(49, 0).width());
    auto* bauds = makeComboBox(ids::baudList);
    bauds->setMinimumWidth(dialogUnits(49, 0).width());
    auto* fast = makeCheckBox(ids::fastTransfer, QStringLiteral("Fast transfer"));
    fast->setToolTip(QStringLiteral("Send the next frame as soon as the radio answers, instead "
                                    "of at the link's 15 ms pace"));
    auto* ok = makeButton(ids::ok, QStringLiteral("OK"));
    auto* note = makeLabel(ids::adapterNote, QString());
    note->setWordWrap(true);
    auto* useAdapter = makeButton(ids::useAdapter, QStringLiteral("Use COM1"));

    auto* row = new QHBoxLayout;
    row->addLayout(labelledRow(QStringLiteral("&Port"), ports), 1);
    row->addSpacing(dialogUnits(5, 0).width());
    row->addLayout(labelledRow(QStringLiteral("Baud"), bauds));
    row->addSpacing(dialogUnits(19, 0).width());
    row->addWidget(ok);

    auto* offer = new QHBoxLayout;
    offer->addWidget(note, 1);
    offer->addWidget(useAdapter, 0, Qt::AlignTop);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(fast);
    layout->addLayout(offer);

    setMinimumWidth(dialogUnits(258, 0).width());
    ports->setFocus();
}

} // namespace kq904
