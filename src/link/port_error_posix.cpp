// The facts about a serial device on POSIX systems, for port_error.h: its mode, owner and group,
// the user's groups, and the program holding its lock file.
#include "link/port_error.h"

#include <charconv>
#include <fstream>
#include <system_error>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kq904 {

namespace {

// "minicom (process 1234)" from a lock file naming a process that still runs; empty otherwise.
// Lock files hold the process number as text on their first line (with or without padding).
std::string lockHolder(const std::filesystem::path& lockFile)
{
    std::ifstream in(lockFile);
    std::string first;
    if (!in || !std::getline(in, first))
        return {};
    const std::size_t start = first.find_first_not_of(" \t");
    if (start == std::string::npos)
        return {};
    long pid = 0;
    const char* begin = first.data() + start;
    const auto [end, ec] = std::from_chars(begin, first.data() + first.size(), pid);
    if (ec != std::errc() || end == begin || pid <= 0)
        return {};
    const std::filesystem::path proc = "/proc/" + std::to_string(pid);
    std::error_code exists;
    if (!std::filesystem::exists(proc, exists))
        return {}; // a stale lock: its process has ended
    std::ifstream comm(proc / "comm");
    std::string name;
    std::getline(comm, name);
    const std::string process = "process " + std::to_string(pid);
    return name.empty() ? process : name + " (" + process + ")";
}

} // namespace

std::filesystem::path deviceFile(const std::filesystem::path& device)
{
    if (device.has_parent_path())
        return device;
    return std::filesystem::path("/dev") / device;
}

DeviceFacts gatherDeviceFacts(
    const std::filesystem::path& device, const std::vector<std::filesystem::path>& lockDirectories)
{
    DeviceFacts facts;
    struct stat info { };
    if (::stat(device.c_str(), &info) != 0)
        return facts;
    facts.exists = true;
    facts.characterDevice = S_ISCHR(info.st_mode);
    facts.mode = info.st_mode & 07777u;
    facts.accessible = ::access(device.c_str(), R_OK | W_OK) == 0;
    facts.groupIsRoot = info.st_gid == 0;
    if (const passwd* owner = ::getpwuid(info.st_uid))
        facts.ownerName = owner->pw_name;
    else
        facts.ownerName = std::to_string(info.st_uid);
    const group* deviceGroup = ::getgrgid(info.st_gid);
    facts.groupName = deviceGroup ? deviceGroup->gr_name : std::to_string(info.st_gid);

    // The session's groups are fixed when the user logs in; the account's are what /etc/group
    // says now. They differ right after "usermod -aG" until the next login.
    facts.sessionInGroup = ::getegid() == info.st_gid;
    const int count = ::getgroups(0, nullptr);
    if (count > 0) {
        std::vector<gid_t> groups(static_cast<std::size_t>(count));
        const int got = ::getgroups(count, groups.data());
        for (int i = 0; i < got; ++i)
            facts.sessionInGroup =
                facts.sessionInGroup || groups[static_cast<std::size_t>(i)] == info.st_gid;
    }
    if (const passwd* me = ::getpwuid(::geteuid())) {
        facts.accountInGroup = me->pw_gid == info.st_gid;
        if (deviceGroup) {
            for (char** member = deviceGroup->gr_mem; member && *member; ++member)
                facts.accountInGroup = facts.accountInGroup || std::string(*member) == me->pw_name;
        }
    }

    // Lock files are named after the device below /dev, '/' written as '_': LCK..ttyUSB0,
    // LCK..pts_3.
    std::string name = device.string();
    if (name.rfind("/dev/", 0) == 0)
        name.erase(0, 5);
    for (char& c : name)
        if (c == '/')
            c = '_';
    for (const auto& directory : lockDirectories) {
        facts.holder = lockHolder(directory / ("LCK.." + name));
        if (!facts.holder.empty())
            break;
    }
    return facts;
}

} // namespace kq904
