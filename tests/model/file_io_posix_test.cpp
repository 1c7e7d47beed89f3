// Crash-safe replacement of files where POSIX gives files more than content: permission bits,
// the umask, symbolic links, FIFOs and a file size limit that stops a write half way.
#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>

#include "file_test_support.h"
#include "model/file_io.h"

using namespace kq904;
using kq904::testing::entryNames;
using kq904::testing::readBytes;
using kq904::testing::TempDir;
using kq904::testing::writeBytes;

namespace {

const std::vector<std::uint8_t> kOld = {1, 2, 3, 4};
const std::vector<std::uint8_t> kNew = {9, 8, 7};

std::filesystem::perms permsOf(const std::filesystem::path& path)
{
    return std::filesystem::status(path).permissions();
}

} // namespace

TEST(AtomicFileWrite, ReplacesContentKeepsPermissionsAndLinks)
{
    TempDir dir;
    const auto path = dir / "radio.set";
    writeBytes(path, kOld);
    std::filesystem::permissions(path,
        std::filesystem::perms::owner_read | std::filesystem::perms::owner_write
            | std::filesystem::perms::group_read);
    ASSERT_TRUE(writeFileAtomically(path, kNew));
    EXPECT_EQ(readBytes(path), kNew);
    EXPECT_EQ(permsOf(path), std::filesystem::perms(0640));
    EXPECT_EQ(entryNames(dir.path()), std::vector<std::string>{"radio.set"});

    // Writing through a link replaces the file it names and keeps the link.
    std::filesystem::create_symlink("radio.set", dir / "link.set");
    ASSERT_TRUE(writeFileAtomically(dir / "link.set", kOld));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.set"));
    EXPECT_EQ(readBytes(path), kOld);
    EXPECT_EQ(entryNames(dir.path()), (std::vector<std::string>{"link.set", "radio.set"}));
}

TEST(AtomicFileWrite, NewFileFollowsTheUmask)
{
    TempDir dir;
    const mode_t mask = ::umask(022);
    const Result result = writeFileAtomically(dir / "new.bin", kNew);
    ::umask(mask);
    ASSERT_TRUE(result);
    EXPECT_EQ(permsOf(dir / "new.bin"), std::filesystem::perms(0644));
    EXPECT_EQ(readBytes(dir / "new.bin"), kNew);
}

TEST(AtomicFileWrite, PipeInPlaceOfTheFileIsLeftAlone)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);

    // Never replace a device or pipe: the rename would replace the node itself.
    const Result result = writeFileAtomically(dir / "pipe", kNew);
    EXPECT_EQ(result.error, "cannot write " + (dir / "pipe").string() + ": not a regular file");
    EXPECT_TRUE(std::filesystem::is_fifo(dir / "pipe"));
    EXPECT_EQ(entryNames(dir.path()), std::vector<std::string>{"pipe"});
}

TEST(AtomicFileWrite, WriteFailingHalfwayKeepsTheOldFileAndRemovesTheTemporary)
{
    TempDir dir;
    const auto path = dir / "channelTab.bin";
    writeBytes(path, kOld);
    const std::vector<std::uint8_t> big(4096, 0x55);

    // A file size limit makes the write stop part way, as a full disk would.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const Result result = writeFileAtomically(path, big);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);

    EXPECT_FALSE(result);
    EXPECT_EQ(result.error, "cannot write " + path.string() + ": File too large");
    EXPECT_EQ(readBytes(path), kOld);
    EXPECT_EQ(entryNames(dir.path()), std::vector<std::string>{"channelTab.bin"});
}
