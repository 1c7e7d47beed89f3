// The facts about a serial device on Windows, for port_error.h.
#include "link/port_error.h"

namespace kq904 {

std::filesystem::path deviceFile(const std::filesystem::path& device)
{
    return device;
}

DeviceFacts gatherDeviceFacts(
    const std::filesystem::path&, const std::vector<std::filesystem::path>&)
{
    // COM ports are not files here: the driver's own words say it all.
    DeviceFacts facts;
    facts.exists = true;
    facts.characterDevice = true;
    facts.accessible = true;
    return facts;
}

} // namespace kq904
