#include "link/port_error.h"

#include <cstdio>

#include "link/file_path.h"
#include "link/serial_port.h"

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
    return diagnosePortFailure(device, gatherDeviceFacts(deviceFile(toPath(port.device()))), error,
        port.lastError().toStdString());
}

} // namespace kq904
