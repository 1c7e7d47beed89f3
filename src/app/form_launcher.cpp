#include "form_launcher.h"

#include "forms/widgets/channel_setting_dialog.h"
#include "forms/widgets/factory_setting_dialog.h"
#include "forms/widgets/general_setting_dialog.h"
#include "forms/widgets/port_setting_dialog.h"
#include "forms/widgets/programming_dialog.h"
#include "link/port_names.h"
#include "session.h"

namespace kq904 {

FormLauncher::FormLauncher(Session& session, QWidget* parent)
    : session_(session)
    , parent_(parent)
{ }

void FormLauncher::runGeneral()
{
    if (session_.refuseWhileTransferring())
        return;
    // The General Setting form writes into the image as the user works, and so do the Code
    // Function and Kill Feature forms it leads to: everything from opening to closing, however
    // it closes, is one step. It sends no refresh notification: the listing shows its changes
    // at its next paint.
    const EditMoment before = session_.history().now();
    CGeneralSettingDlg dialog(session_.image(), session_.dataDir(), parent_);
    dialog.exec();
    session_.history().record(before, QStringLiteral("General Setting"));
}

void FormLauncher::runChannel(int channel)
{
    if (session_.refuseWhileTransferring())
        return;
    // The edits of one run of the form are one step, except that each Channel Add. and Channel
    // Del. is a step of its own, between the edits before it and those after it.
    EditHistory& history = session_.history();
    EditMoment before = history.now();
    bool recorded = false;
    const QString editing = QStringLiteral("Channel Setting");
    CChannelSettingDlg dialog(session_.image(), session_.dataDir(), channel, parent_);
    QObject::connect(&dialog, &CChannelSettingDlg::refreshRequested, &dialog,
        [this] { session_.document().refresh(); });
    QObject::connect(&dialog, &CChannelSettingDlg::channelsMoving, &dialog, [&] {
        recorded = history.record(before, editing) || recorded;
        before = history.now();
    });
    QObject::connect(
        &dialog, &CChannelSettingDlg::channelsMoved, &dialog, [&](ChannelListChange change) {
            recorded = history.record(before,
                           change == ChannelListChange::Add ? QStringLiteral("Channel Add.")
                                                            : QStringLiteral("Channel Del."))
                || recorded;
            before = history.now();
        });
    dialog.exec();
    // "OK" right after Channel Add. or Channel Del. only writes the table files: they go with
    // that step, so undoing it leaves the next start-up as it was.
    if (!history.record(before, editing) && recorded)
        history.joinFileWrites(before);
}

void FormLauncher::runProgramming()
{
    // The form would put the profile's serial number into the image being transferred.
    if (session_.refuseWhileTransferring())
        return;
    MessagePresenter& messages = session_.messages();
    const RadioPort& port = session_.port();
    CProgrammingDlg dialog(session_.image(), session_.link(), session_.linkObservers(),
        session_.profile(), parent_, [&messages, &port](QWidget* parent, const QString& text) {
            // "Com Port Fail" keeps its words; which device and why go under it.
            if (text.toStdString() == kComPortFail)
                messages.showMessageWithReason(parent, text, port.lastError());
            else
                messages.showMessage(parent, text);
        });
    dialog.exec();
}

void FormLauncher::runPort()
{
    // With the simulated radio attached every port leads to it; the form says so beside each
    // port instead of naming a device the run will not use.
    const bool simulated = session_.simulatedPort() != nullptr;
    ProfileSettings& profile = session_.profile();
    CPortSettingDlg dialog(
        profile,
        [&profile, simulated] {
            PortCatalog ports = PortCatalog::forSystem(profile);
            if (simulated)
                ports.overrideAll(QStringLiteral("simulated radio"));
            return ports;
        },
        parent_);
    dialog.exec();
}

void FormLauncher::runFactory()
{
    if (!session_.factoryEnabled() || session_.refuseWhileTransferring())
        return;
    const EditMoment before = session_.history().now();
    CFactorySettingDlg dialog(session_.image(), session_.dataDir(), parent_);
    QObject::connect(&dialog, &CFactorySettingDlg::refreshRequested, &dialog,
        [this] { session_.document().refresh(); });
    dialog.exec();
    session_.history().record(before, QStringLiteral("Factory Setting"));
}

} // namespace kq904
