#pragma once
// CPortSettingDlg, the "Port setting" window: chooses the COM port the radio is reached
// through and keeps it in the profile ("COM", with "BAUD" 19200). Each COMn that stands for a
// device on this system shows it beside its name.
//
// Opened modally by the main window's Port command:
//     CPortSettingDlg dialog(profile, parent);
//     dialog.exec();
// A run whose ports all lead somewhere else (kq904 --simulate) passes a resolver that says so:
//     PortNameResolver ports = PortNameResolver::forSystem(profile);
//     ports.overrideAll("simulated radio");
//     CPortSettingDlg dialog(profile, ports, parent);

#include "form_dialog.h"
#include "forms/port_setting_form.h"
#include "link/port_names.h"

namespace kq904 {

class ProfileSettings;

class CPortSettingDlg : public FormDialog {
    Q_OBJECT
public:
    // The ports as this system names them now.
    explicit CPortSettingDlg(ProfileSettings& profile, QWidget* parent = nullptr);
    CPortSettingDlg(
        ProfileSettings& profile, const PortNameResolver& ports, QWidget* parent = nullptr);

    PortSettingForm& form() { return form_; }

private:
    class Host final : public PortSettingHost {
    public:
        Host(ProfileSettings& profile, const PortNameResolver& ports);
        int storedPortIndex() const override;
        void storePort(int portIndex, int baudRate) override;
        std::string portDevice(int portNumber) const override;

    private:
        ProfileSettings& profile_;
        std::vector<PortAssignment> table_;
    };

    void buildControls();

    Host host_;
    PortSettingForm form_;
};

} // namespace kq904
