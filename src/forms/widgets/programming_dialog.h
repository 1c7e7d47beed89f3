#pragma once
// CProgrammingDlg, the "Programming" window: writes the radio image into a radio, reads one
// back, asks for its version, and keeps the serial number for the next radio. The transfers
// run on the main window's 15 ms tick; this window shows their progress on its own 200 ms
// timer and hears how they end among `observers`, the link's observers beside the session,
// while it exists.
//
// Opened modally by the main window's Programming command:
//     CProgrammingDlg dialog(image, link, observers, profile, parent, showMessage);
//     dialog.exec();
// `showMessage` shows "Com Port Fail" and the other messages (the program's message presenter);
// without it a plain message box is used.

#include <QTimer>
#include <functional>

#include "form_dialog.h"
#include "forms/programming_form.h"
#include "link/link_observers.h"

namespace kq904 {

class ProfileSettings;

class CProgrammingDlg : public FormDialog {
    Q_OBJECT
public:
    using MessageFunction = std::function<void(QWidget* parent, const QString& text)>;

    CProgrammingDlg(RadioImage& image, Link& link, LinkObservers& observers,
        ProfileSettings& profile, QWidget* parent = nullptr, MessageFunction showMessage = {});
    ~CProgrammingDlg() override;

    ProgrammingForm& form() { return form_; }
    // The 200 ms timer that follows a transfer.
    const QTimer& progressTimer() const { return timer_; }

private:
    class Host final : public ProgrammingHost {
    public:
        Host(CProgrammingDlg& dialog, ProfileSettings& profile, MessageFunction showMessage);
        std::uint32_t storedSerialNumber() override;
        Result storeSerialNumber(std::uint32_t serial) override;
        SerialReservationResult reserveSerialNumber(
            std::optional<std::uint32_t> startingAt) override;
        void releaseSerialNumber(const SerialReservation& reservation) override;
        bool storedAutoIncrement() const override;
        void storeAutoIncrement(bool on) override;
        void startTimer() override;
        void stopTimer() override;
        void showMessage(std::string_view text) override;

    private:
        CProgrammingDlg& dialog_;
        ProfileSettings& profile_;
        MessageFunction showMessage_;
    };

    void buildControls();

    QTimer timer_;
    Host host_;
    ProgrammingForm form_;
    LinkObservers& observers_;
};

} // namespace kq904
