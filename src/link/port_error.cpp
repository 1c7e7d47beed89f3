#include "link/port_error.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <system_error>

#include "link/serial_port.h"

#ifndef _WIN32
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kq904 {

namespace {

std::string octal(unsigned mode)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04o", mode & 07777u);
    return text;
}

std::string permissionAdvice(const std::string& device, const DeviceFacts& facts)
{
    const std::string denied = device + ": permission denied; ";
    // Joining the group helps only when the group may read and write the device, and a user is
    // never told to join the superuser's group.
    const bool groupMayUse = (facts.mode & 060u) == 060u && !facts.groupIsRoot;
    if (!groupMayUse)
        return denied + "only " + (facts.ownerName.empty() ? "its owner" : facts.ownerName)
            + " may open it (mode " + octal(facts.mode)
            + "): have the administrator give it to a group with a udev rule, e.g."
              " GROUP=\"dialout\", MODE=\"0660\"";
    if (facts.accountInGroup && !facts.sessionInGroup)
        return denied + "you are in the group " + facts.groupName
            + ", but this login session began before you joined it: log out and log in again";
    return denied + "add yourself to the group " + facts.groupName + ": sudo usermod -aG "
        + facts.groupName + " $USER, then log in again";
}

} // namespace

PortDiagnosis diagnosePortFailure(const std::string& device, const DeviceFacts& facts,
    DriverError driverError, const std::string& driverText)
{
    if (!facts.exists || driverError == DriverError::NotFound)
        return {
            PortProblem::NotFound, device + ": not found (is the programming cable plugged in?)"};
    if (!facts.characterDevice)
        return {PortProblem::NotASerialDevice, device + ": not a serial device"};
    if (!facts.accessible)
        return {PortProblem::PermissionDenied, permissionAdvice(device, facts)};
    if (driverError == DriverError::Permission) {
        // The device would let us in, so the refusal comes from the program that has it open.
        std::string text = device + ": in use by another program";
        if (!facts.holder.empty())
            text += " (" + facts.holder + ")";
        return {PortProblem::InUse, text + "; close it and try again"};
    }
    if (driverText.empty())
        return {PortProblem::Other, device + ": could not be opened"};
    // The driver's words usually start with the device already.
    if (driverText.rfind(device, 0) == 0)
        return {PortProblem::Other, driverText};
    return {PortProblem::Other, device + ": " + driverText};
}

std::vector<std::filesystem::path> standardLockDirectories()
{
    return {"/var/lock", "/run/lock", "/tmp", "/var/tmp", "/var/spool/locks", "/var/spool/uucp",
        "/etc/locks"};
}

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

#ifdef _WIN32

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

#else

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

#endif

PortDiagnosis diagnosePortFailure(const SerialPort& port)
{
    DriverError error = DriverError::Other;
    switch (port.lastOpenError()) {
    case QSerialPort::NoError:
        error = DriverError::None;
        break;
    case QSerialPort::DeviceNotFoundError:
        error = DriverError::NotFound;
        break;
    case QSerialPort::PermissionError:
        error = DriverError::Permission;
        break;
    default:
        break;
    }
    const std::string device = port.device().toStdString();
    if (device.empty())
        return {PortProblem::NotFound, port.lastError().toStdString()};
    // A bare name ("ttyUSB0") is a device below /dev, as the serial port takes it.
    std::filesystem::path path = device;
#ifndef _WIN32
    if (device.find('/') == std::string::npos)
        path = "/dev/" + device;
#endif
    return diagnosePortFailure(
        device, gatherDeviceFacts(path), error, port.lastError().toStdString());
}

} // namespace kq904
