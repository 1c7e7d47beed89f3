#pragma once
// CPortSettingDlg, the "Port setting" window: chooses the COM port the radio is reached
// through and keeps it in the profile ("COM", with "BAUD" 19200 and "FAST_LINK"). Each COMn that
// stands for a device on this system shows it and what the hardware says of itself; the list is
// looked at again every second while the window is open, so a cable plugged in shows up.
//
// Opened modally by the main window's Port command:
//     CPortSettingDlg dialog(profile, parent);
//     dialog.exec();
// A run whose ports all lead somewhere else (kq904 --simulate), or a test, passes where the
// ports come from:
//     CPortSettingDlg dialog(profile, [&] {
//         PortCatalog ports = PortCatalog::forSystem(profile);
//         ports.overrideAll("simulated radio");
//         return ports;
//     }, parent);

#include <QTimer>
#include <functional>

#include "form_dialog.h"
#include "forms/port_setting_form.h"
#include "link/port_catalog.h"

namespace kq904 {

class ProfileSettings;

class CPortSettingDlg : public FormDialog {
    Q_OBJECT
public:
    using PortSource = std::function<PortCatalog()>;
    static constexpr int kRescanMs = 1000;

    // The ports as this system names them, looked at afresh every second.
    explicit CPortSettingDlg(ProfileSettings& profile, QWidget* parent = nullptr);
    CPortSettingDlg(ProfileSettings& profile, PortSource ports, QWidget* parent = nullptr);

    PortSettingForm& form() { return form_; }

private:
    class Host final : public PortSettingHost {
    public:
        Host(ProfileSettings& profile, PortSource ports);
        int storedPortIndex() const override;
        bool storedFastLink() const override;
        void storePort(int portIndex, int baudRate, bool fastLink) override;
        PortListing listPorts() override;

    private:
        ProfileSettings& profile_;
        PortSource ports_;
    };

    void buildControls();

    Host host_;
    PortSettingForm form_;
    QTimer rescan_;
};

// What the Port setting form shows of `ports`.
PortListing portListing(const PortCatalog& ports);

} // namespace kq904
