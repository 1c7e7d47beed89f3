#pragma once
// Why the radio's serial port would not open, in words a dealer can act on. The message box and
// the command line still say "Com Port Fail"; this adds the device that was tried and the reason:
// not found, not a serial device, in use by another program, or permission denied, with how to
// fix it on Linux (joining the group that owns the device, named from the device itself).
//
// The diagnosis is a pure function of facts about the device and the user, so every case is
// testable without hardware and whoever runs the tests; gathering the facts is separate.

#include <filesystem>
#include <string>
#include <vector>

namespace kq904 {

class SerialPort;

// What the serial driver said when the open failed.
enum class DriverError {
    None,
    NotFound,
    Permission, // refused: no access, or held by another program (both look alike to the driver)
    Other,
};

// Facts about the device and the user running the program.
struct DeviceFacts {
    bool exists = false;
    bool characterDevice = false;
    unsigned mode = 0; // permission bits, 0777 at most
    std::string ownerName; // "root"
    std::string groupName; // "dialout"; the number when the group has no name
    bool groupIsRoot = false; // the device's group is the superuser's (gid 0)
    bool accessible = false; // the program may open it for reading and writing
    bool sessionInGroup = false; // the device's group is one of this login session's groups
    bool accountInGroup = false; // the user's account is a member of the device's group
    std::string holder; // who holds the port's lock file: "minicom (process 1234)"
};

enum class PortProblem { NotFound, NotASerialDevice, InUse, PermissionDenied, Other };

struct PortDiagnosis {
    PortProblem problem = PortProblem::Other;
    std::string text; // "/dev/ttyUSB0: permission denied; add yourself to the group ..."
};

// The diagnosis of a failed open of `device`. `driverText` is the driver's own words, used when
// nothing better is known.
PortDiagnosis diagnosePortFailure(const std::string& device, const DeviceFacts& facts,
    DriverError driverError, const std::string& driverText);

// The directories serial-port lock files ("LCK..ttyUSB0") are kept in, most usual first.
std::vector<std::filesystem::path> standardLockDirectories();

// The file of a device as the serial port names it: on POSIX systems a bare name ("ttyUSB0") is a
// device below /dev.
std::filesystem::path deviceFile(const std::filesystem::path& device);

// Gathers the facts about `device` for the user running the program. The lock files of
// `lockDirectories` name the program holding the port, when one does.
DeviceFacts gatherDeviceFacts(const std::filesystem::path& device,
    const std::vector<std::filesystem::path>& lockDirectories = standardLockDirectories());

// The diagnosis of the last failed open of `port`: its device, the driver's error and the facts
// gathered now.
PortDiagnosis diagnosePortFailure(const SerialPort& port);

} // namespace kq904
