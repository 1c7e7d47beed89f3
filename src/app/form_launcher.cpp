#include "form_launcher.h"

#include "session.h"

namespace kq904 {

FormLauncher::FormLauncher(Session& session, QWidget* parent)
    : session_(session)
    , parent_(parent)
{ }

void FormLauncher::runGeneral()
{
    // Hook: the General Setting form (CGeneralSettingDlg) is opened here.
}

void FormLauncher::runChannel(int channel)
{
    // Hook: the Channel Setting form (CChannelSettingDlg) is opened here on `channel`.
    (void)channel;
}

void FormLauncher::runProgramming()
{
    // Hook: the Programming form (CProgrammingDlg) is opened here.
}

void FormLauncher::runPort()
{
    // Hook: the Port setting form (CPortSettingDlg) is opened here.
}

void FormLauncher::runFactory()
{
    if (!session_.factoryEnabled())
        return;
    // Hook: the Factory Setting form (CFactorySettingDlg) is opened here.
}

} // namespace kq904
