// kq904-cli ports: which serial device is which cable.

#include <ostream>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "link/port_catalog.h"
#include "link/profile_settings.h"

namespace kq904::cli {

int runPortsCommand(const ParsedArguments&, CommandStreams streams)
{
    const ProfileSettings profile;
    for (const PortCatalogEntry& entry : PortCatalog::forSystem(profile).entries())
        streams.out << portsLine(entry).toStdString() << '\n';
    streams.out.flush();
    return kExitOk;
}

} // namespace kq904::cli
