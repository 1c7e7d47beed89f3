// A program killed while it saves must never leave a damaged file: a writer process saving a set
// file and the four table files over and over, with two different configurations in turn, is
// killed (SIGKILL) at random moments, and every file is then either the whole of one
// configuration or the whole of the other.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <random>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "model/file_test_support.h"
#include "model/set_file.h"
#include "model/table_files.h"

using namespace kq904;
using kq904::testing::readBytes;
using kq904::testing::scrambledImage;
using kq904::testing::TempDir;

namespace {

constexpr TableFile kTables[] = {
    TableFile::Channel, TableFile::Set, TableFile::Factory, TableFile::Kill};

struct WatchedFile {
    std::filesystem::path path;
    std::vector<std::uint8_t> first;
    std::vector<std::uint8_t> second;
    std::vector<std::uint8_t> lastSeen;
};

// Saves everything, alternating between the two images, until killed.
[[noreturn]] void saveForever(RadioImage& first, RadioImage& second,
    const std::filesystem::path& dir, const std::filesystem::path& setFile, bool secondFirst)
{
    for (unsigned n = secondFirst ? 1 : 0;; ++n) {
        RadioImage& image = n % 2 ? second : first;
        (void)saveSetFile(image, setFile);
        for (TableFile file : kTables)
            (void)writeTableFile(image, dir, file);
    }
}

} // namespace

TEST(CrashSafeSaving, WriterKilledAtRandomMomentsLeavesEveryFileWholeOldOrNew)
{
    TempDir dir;
    RadioImage first = scrambledImage(101);
    RadioImage second = scrambledImage(202);
    const auto setFile = dir / "radio.set";

    // The expected contents of every file for each image, as a complete save writes them.
    std::vector<WatchedFile> files;
    ASSERT_TRUE(saveSetFile(second, setFile));
    const auto secondSet = readBytes(setFile);
    ASSERT_TRUE(saveSetFile(first, setFile));
    files.push_back({setFile, readBytes(setFile), secondSet, {}});
    for (TableFile file : kTables) {
        ASSERT_TRUE(writeTableFile(first, dir.path(), file));
        files.push_back({dir / tableFileName(file), tableFileBytes(first, file),
            tableFileBytes(second, file), {}});
    }
    for (auto& f : files) {
        ASSERT_NE(f.first, f.second) << f.path;
        f.lastSeen = readBytes(f.path);
        ASSERT_EQ(f.lastSeen, f.first) << f.path;
    }

    std::mt19937 random(904);
    std::uniform_int_distribution<int> delayMicroseconds(0, 6000);
    constexpr int kIterations = 200;
    int changes = 0;
    const auto started = std::chrono::steady_clock::now();
    for (int i = 0; i < kIterations; ++i) {
        const int delay = delayMicroseconds(random);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0)
            saveForever(first, second, dir.path(), setFile, i % 2 == 1);
        ::usleep(static_cast<useconds_t>(delay));
        ::kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer must still have been writing";

        for (auto& f : files) {
            const auto now = readBytes(f.path);
            ASSERT_TRUE(now == f.first || now == f.second)
                << f.path << " is damaged after the kill in iteration " << i << " after " << delay
                << " us: " << now.size() << " bytes";
            changes += now != f.lastSeen;
            f.lastSeen = now;
        }
    }
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    // Temporary files of writes cut short stay behind; they are never taken for the file.
    int leftovers = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        const std::string name = entry.path().filename().string();
        if (name.ends_with(".tmp")) {
            ++leftovers;
            EXPECT_EQ(name.front(), '.') << name;
        }
    }
    // The kills must have landed while files were being replaced, or the test proves nothing.
    EXPECT_GT(changes, 0);
    std::printf("%d kills in %.1f s: %d files replaced between kills, %d writes cut short\n",
        kIterations, seconds, changes, leftovers);

    RadioImage loaded;
    EXPECT_TRUE(loadSetFile(loaded, setFile));
}
