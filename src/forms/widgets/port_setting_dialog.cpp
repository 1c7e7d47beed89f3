#include "port_setting_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "forms/port_setting_ids.h"
#include "link/profile_settings.h"

namespace kq904 {

namespace ids = port_setting_ids;

CPortSettingDlg::Host::Host(ProfileSettings& profile, const PortNameResolver& ports)
    : profile_(profile)
    , table_(ports.comPortTable())
{ }

int CPortSettingDlg::Host::storedPortIndex() const
{
    return profile_.portIndex();
}

void CPortSettingDlg::Host::storePort(int portIndex, int baudRate)
{
    profile_.setPortIndex(portIndex);
    profile_.setBaudRate(baudRate);
    profile_.sync();
}

std::string CPortSettingDlg::Host::portDevice(int portNumber) const
{
    for (const PortAssignment& port : table_) {
        // Where COMn is a device of its own (Windows) there is nothing to add.
        if (port.portNumber == portNumber && port.device != port.portName)
            return port.device.toStdString();
    }
    return {};
}

CPortSettingDlg::CPortSettingDlg(ProfileSettings& profile, QWidget* parent)
    : CPortSettingDlg(profile, PortNameResolver::forSystem(profile), parent)
{ }

CPortSettingDlg::CPortSettingDlg(
    ProfileSettings& profile, const PortNameResolver& ports, QWidget* parent)
    : FormDialog(QStringLiteral("Port setting"), parent)
    , host_(profile, ports)
    , form_(controls(), host_)
{
    buildControls();
    bindLogic(form_);
    form_.open();
}

void CPortSettingDlg::buildControls()
{
    auto* ports = makeComboBox(ids::portList);
    ports->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    ports->setMinimumWidth(dialogUnits(49, 0).width());
    auto* bauds = makeComboBox(ids::baudList);
    bauds->setMinimumWidth(dialogUnits(49, 0).width());
    auto* ok = makeButton(ids::ok, QStringLiteral("OK"));

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(labelledRow(QStringLiteral("&Port"), ports), 1);
    layout->addSpacing(dialogUnits(5, 0).width());
    layout->addLayout(labelledRow(QStringLiteral("Baud"), bauds));
    layout->addSpacing(dialogUnits(19, 0).width());
    layout->addWidget(ok);

    setMinimumWidth(dialogUnits(258, 0).width());
    ports->setFocus();
}

} // namespace kq904
