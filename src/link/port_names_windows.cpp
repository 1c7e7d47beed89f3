#include "link/port_names.h"

namespace kq904 {

bool systemUsesComNames()
{
    return true;
}

QString stableDevicePath(const QString& /*devicePath*/)
{
    return {}; // COMn is already the name Windows keeps for an adapter
}

} // namespace kq904
