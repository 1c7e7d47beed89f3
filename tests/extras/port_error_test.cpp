// Why the port would not open: the diagnosis from facts about the device and the user (every case
// without hardware, whoever runs the tests), and the facts gathered from real files.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include "link/file_path.h"
#include "link/port_error.h"

using namespace kq904;

namespace {

DeviceFacts usbAdapter()
{
    DeviceFacts f;
    f.exists = true;
    f.characterDevice = true;
    f.mode = 0660;
    f.ownerName = "root";
    f.groupName = "dialout";
    f.accessible = true;
    return f;
}

} // namespace

TEST(PortError, DiagnosisNamesTheDeviceTheReasonAndTheCure)
{
    struct Case {
        const char* what;
        DeviceFacts facts;
        DriverError driver;
        PortProblem problem;
        std::string text;
    };
    const std::string dev = "/dev/ttyUSB0";
    DeviceFacts missing;
    DeviceFacts regularFile = usbAdapter();
    regularFile.characterDevice = false;
    DeviceFacts notInGroup = usbAdapter();
    notInGroup.accessible = false;
    DeviceFacts joinedNotLoggedIn = notInGroup;
    joinedNotLoggedIn.accountInGroup = true;
    DeviceFacts ownerOnly = notInGroup;
    ownerOnly.mode = 0600;
    ownerOnly.groupName = "uucp";
    DeviceFacts rootGroup = notInGroup;
    rootGroup.groupName = "root";
    rootGroup.groupIsRoot = true;
    DeviceFacts held = usbAdapter();
    held.holder = "minicom (process 4242)";

    const Case cases[] = {
        {"missing", missing, DriverError::NotFound, PortProblem::NotFound,
            dev + ": not found (is the programming cable plugged in?)"},
        {"removed after the facts were taken", usbAdapter(), DriverError::NotFound,
            PortProblem::NotFound, dev + ": not found (is the programming cable plugged in?)"},
        {"regular file", regularFile, DriverError::Other, PortProblem::NotASerialDevice,
            dev + ": not a serial device"},
        {"not in the group", notInGroup, DriverError::Permission, PortProblem::PermissionDenied,
            dev
                + ": permission denied; add yourself to the group dialout: sudo usermod -aG "
                  "dialout $USER, then log in again"},
        {"joined, not logged in again", joinedNotLoggedIn, DriverError::Permission,
            PortProblem::PermissionDenied,
            dev
                + ": permission denied; you are in the group dialout, but this login session "
                  "began before you joined it: log out and log in again"},
        {"owner only", ownerOnly, DriverError::Permission, PortProblem::PermissionDenied,
            dev
                + ": permission denied; only root may open it (mode 0600): have the "
                  "administrator give it to a group with a udev rule, e.g. GROUP=\"dialout\", "
                  "MODE=\"0660\""},
        {"superuser's group", rootGroup, DriverError::Permission, PortProblem::PermissionDenied,
            dev
                + ": permission denied; only root may open it (mode 0660): have the "
                  "administrator give it to a group with a udev rule, e.g. GROUP=\"dialout\", "
                  "MODE=\"0660\""},
        {"in use, holder unknown", usbAdapter(), DriverError::Permission, PortProblem::InUse,
            dev + ": in use by another program; close it and try again"},
        {"in use by minicom", held, DriverError::Permission, PortProblem::InUse,
            dev + ": in use by another program (minicom (process 4242)); close it and try again"},
        {"driver's own words", usbAdapter(), DriverError::Other, PortProblem::Other,
            dev + ": Unsupported operation"},
    };
    for (const Case& c : cases) {
        const PortDiagnosis d =
            diagnosePortFailure(dev, c.facts, c.driver, "Unsupported operation");
        EXPECT_EQ(d.problem, c.problem) << c.what;
        EXPECT_EQ(d.text, c.text) << c.what;
    }
}

TEST(PortError, DriverTextThatAlreadyNamesTheDeviceIsNotPrefixedTwice)
{
    const PortDiagnosis d = diagnosePortFailure(
        "/dev/ttyS0", usbAdapter(), DriverError::Other, "/dev/ttyS0: Input/output error");
    EXPECT_EQ(d.text, "/dev/ttyS0: Input/output error");
}

TEST(PortError, FactsOfMissingRegularAndCharacterDevices)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path base = toPath(dir.path());

    EXPECT_FALSE(gatherDeviceFacts(base / "ttyUSB9", {}).exists);

    std::ofstream(base / "plain") << "x";
    const DeviceFacts plain = gatherDeviceFacts(base / "plain", {});
    EXPECT_TRUE(plain.exists);
    EXPECT_FALSE(plain.characterDevice);

    const DeviceFacts null = gatherDeviceFacts("/dev/null", {});
    EXPECT_TRUE(null.exists);
    EXPECT_TRUE(null.characterDevice);
    EXPECT_TRUE(null.accessible);
    EXPECT_EQ(null.mode, 0666u);
    EXPECT_EQ(null.ownerName, "root");
}

// The group named in the advice is the device's own, looked up by its number.
TEST(PortError, FactsNameTheDevicesGroupAndMode)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path device = toPath(dir.path()) / "ttyUSB0";
    std::ofstream(device) << "";
    ASSERT_EQ(::chmod(device.c_str(), 0600), 0);
    // A group other than ours, when we may give the file one (as root); else our own.
    gid_t gid = ::getegid();
    if (::geteuid() == 0) {
        if (const group* g = ::getgrnam("dialout"))
            gid = g->gr_gid;
        else if (const group* g = ::getgrnam("daemon"))
            gid = g->gr_gid;
        ASSERT_EQ(::chown(device.c_str(), static_cast<uid_t>(-1), gid), 0);
    }
    const group* expected = ::getgrgid(gid);
    ASSERT_NE(expected, nullptr);

    const DeviceFacts facts = gatherDeviceFacts(device, {});
    EXPECT_EQ(facts.mode, 0600u);
    EXPECT_EQ(facts.groupName, expected->gr_name);
    EXPECT_EQ(facts.groupIsRoot, gid == 0);
}

TEST(PortError, LockFileNamesTheProgramHoldingThePort)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path base = toPath(dir.path());
    const std::filesystem::path locks = base / "locks";
    std::filesystem::create_directory(locks);
    // Lock files are named after the device path, '/' written as '_' ("/dev/" left out).
    auto device = [&](const std::string& name) {
        std::ofstream(base / name) << "";
        return base / name;
    };
    auto lockFor = [&](const std::filesystem::path& path) {
        std::string name = path.string();
        std::replace(name.begin(), name.end(), '/', '_');
        return locks / ("LCK.." + name);
    };
    const auto padded = device("ttyUSB0");
    const auto qtStyle = device("ttyACM0");
    const auto stale = device("ttyUSB1");
    const auto unlocked = device("ttyUSB2");
    // Two lock file styles: the number padded to ten columns, and on a line of its own with the
    // program's name below it.
    std::ofstream(lockFor(padded)) << "      " << ::getpid() << "\n";
    std::ofstream(lockFor(qtStyle)) << ::getpid() << "\nkq904\nhost\n";
    // A process number nobody has: the lock outlived its program.
    std::ofstream(lockFor(stale)) << "2147483646\n";

    std::ifstream comm("/proc/self/comm");
    std::string self;
    std::getline(comm, self);
    const std::string holder = self + " (process " + std::to_string(::getpid()) + ")";
    EXPECT_EQ(gatherDeviceFacts(padded, {base / "no-such-dir", locks}).holder, holder);
    EXPECT_EQ(gatherDeviceFacts(qtStyle, {locks}).holder, holder);
    EXPECT_EQ(gatherDeviceFacts(stale, {locks}).holder, "");
    EXPECT_EQ(gatherDeviceFacts(unlocked, {locks}).holder, "");
}
