// Saving where the disk will not take it: a directory the user may not write to, a file system
// mounted read-only, a full disk. Each save fails with the reason in words and leaves the
// previous file whole and no temporary file behind. The situations are set up in a child
// process (a user switched to, a private mount), so the test process and the machine keep
// theirs; where the machine does not allow that, the test is skipped.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "child_process.h"
#include "model/file_test_support.h"
#include "model/set_file.h"
#include "model/table_files.h"

using namespace kq904;
using kq904::testing::ChildOutcome;
using kq904::testing::entryNames;
using kq904::testing::kChildSkipped;
using kq904::testing::readBytes;
using kq904::testing::runInChild;
using kq904::testing::scrambledImage;
using kq904::testing::TempDir;

namespace {

constexpr uid_t kNobody = 65534;

// Saves a second configuration over the set file and channelTab.bin in `dir` (both holding the
// first one) and reports the two failure texts, one per line, and whether the files kept their
// content: "kept" or "changed".
int saveOverAndReport(const std::filesystem::path& dir, std::string& report)
{
    RadioImage second = scrambledImage(2);
    const auto setBefore = readBytes(dir / "radio.set");
    const auto tableBefore = readBytes(dir / "channelTab.bin");
    const Result set = saveSetFile(second, dir / "radio.set");
    const Result table = writeTableFile(second, dir, TableFile::Channel);
    report = set.error + "\n" + table.error + "\n";
    const bool kept = readBytes(dir / "radio.set") == setBefore
        && readBytes(dir / "channelTab.bin") == tableBefore;
    report += kept ? "kept" : "changed";
    report += entryNames(dir) == std::vector<std::string>{"channelTab.bin", "radio.set"}
        ? " clean"
        : " litter";
    return 0;
}

// The set file and channelTab.bin of a first configuration in `dir`.
bool writeFirstConfiguration(const std::filesystem::path& dir)
{
    RadioImage first = scrambledImage(1);
    return saveSetFile(first, dir / "radio.set") && writeTableFile(first, dir, TableFile::Channel);
}

// A private mount namespace with a tmpfs of `options` at `dir`; false when not allowed here.
bool mountPrivateTmpfs(const std::filesystem::path& dir, const char* options)
{
    if (::unshare(CLONE_NEWNS) != 0)
        return false;
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return false;
    return ::mount("tmpfs", dir.c_str(), "tmpfs", 0, options) == 0;
}

std::string expectedReport(const std::filesystem::path& dir, const std::string& reason)
{
    return "cannot write " + (dir / "radio.set").string() + ": " + reason + "\ncannot write "
        + (dir / "channelTab.bin").string() + ": " + reason + "\nkept clean";
}

} // namespace

TEST(HostileDisk, DirectoryTheUserMayNotWriteKeepsTheOldFiles)
{
    TempDir dir;
    ASSERT_TRUE(writeFirstConfiguration(dir.path()));
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod((dir / "radio.set").c_str(), 0666), 0); // the file itself is writable

    const ChildOutcome outcome = runInChild([&](std::string& report) {
        // Root writes anywhere: the save runs as an ordinary user instead; an ordinary user
        // takes away their own write permission.
        if (::geteuid() == 0) {
            if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                return kChildSkipped;
        } else if (::chmod(dir.path().c_str(), 0555) != 0) {
            return kChildSkipped;
        }
        return saveOverAndReport(dir.path(), report);
    });
    ::chmod(dir.path().c_str(), 0755);
    if (outcome.exitStatus == kChildSkipped)
        GTEST_SKIP() << "cannot run the save as a user without write permission";
    ASSERT_EQ(outcome.exitStatus, 0);
    EXPECT_EQ(outcome.report, expectedReport(dir.path(), "Permission denied"));
}

TEST(HostileDisk, ReadOnlyFileSystemKeepsTheOldFiles)
{
    TempDir dir;
    const ChildOutcome outcome = runInChild([&](std::string& report) {
        if (!mountPrivateTmpfs(dir.path(), "size=1m"))
            return kChildSkipped;
        if (!writeFirstConfiguration(dir.path()))
            return 1;
        if (::mount(nullptr, dir.path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            return kChildSkipped;
        return saveOverAndReport(dir.path(), report);
    });
    if (outcome.exitStatus == kChildSkipped)
        GTEST_SKIP() << "no permission to mount a private file system here";
    ASSERT_EQ(outcome.exitStatus, 0);
    EXPECT_EQ(outcome.report, expectedReport(dir.path(), "Read-only file system"));
}

TEST(HostileDisk, FullDiskKeepsTheOldFiles)
{
    TempDir dir;
    const ChildOutcome outcome = runInChild([&](std::string& report) {
        if (!mountPrivateTmpfs(dir.path(), "size=64k"))
            return kChildSkipped;
        if (!writeFirstConfiguration(dir.path()))
            return 1;
        // Fill the disk to the last byte.
        {
            std::ofstream filler(dir / "filler", std::ios::binary);
            const std::string block(512, 'x');
            while (filler.write(block.data(), static_cast<std::streamsize>(block.size())))
                filler.flush();
        }
        const auto probe = dir / "probe";
        std::ofstream(probe) << 'y';
        if (std::filesystem::file_size(probe) != 0)
            return 2; // not full after all
        std::filesystem::remove(probe);
        const int status = saveOverAndReport(dir.path(), report);
        // The filler is ours, not litter.
        const std::string litter = " litter";
        if (report.ends_with(litter)
            && entryNames(dir.path())
                == std::vector<std::string>{"channelTab.bin", "filler", "radio.set"})
            report.replace(report.size() - litter.size(), litter.size(), " clean");
        return status;
    });
    if (outcome.exitStatus == kChildSkipped)
        GTEST_SKIP() << "no permission to mount a small private file system here";
    ASSERT_EQ(outcome.exitStatus, 0);
    EXPECT_EQ(outcome.report, expectedReport(dir.path(), "No space left on device"));
}
