// The set file: its exact layout, the save/load round trip, damaged and short files, and the
// guarantee that a failed load or save changes nothing that was there before.
#include <gtest/gtest.h>

#include <cstring>

#include "file_test_support.h"
#include "model/set_file.h"

using namespace kq904;
using kq904::testing::readBytes;
using kq904::testing::scrambledImage;
using kq904::testing::TempDir;
using kq904::testing::writeBytes;

namespace {

std::string versionOf(const RadioImage& image)
{
    auto text = image.factory.range(FactorySettings::versionText);
    return std::string(text.begin(), text.end());
}

// A saved set file of `image`, cut to `length` bytes.
std::vector<std::uint8_t> savedBytes(const RadioImage& image, std::size_t length)
{
    const auto whole = encodeSetFile(image);
    return std::vector<std::uint8_t>(whole.begin(), whole.begin() + static_cast<long>(length));
}

} // namespace

TEST(SetFileSaving, FileIsExactly3765BytesWithBlocksAtTheirOffsets)
{
    TempDir dir;
    RadioImage image = scrambledImage(1);
    ASSERT_TRUE(saveSetFile(image, dir / "radio.set"));
    const auto file = readBytes(dir / "radio.set");
    ASSERT_EQ(file.size(), kSetFileSize);

    struct Gap {
        std::size_t from, to; // [from, to)
    };
    for (const Gap gap : {Gap{40, 1024}, Gap{1072, 1536}, Gap{1553, 2048}, Gap{2939, 3072}}) {
        for (std::size_t i = gap.from; i < gap.to; ++i)
            ASSERT_EQ(file[i], 0x30) << "byte " << i;
    }
    EXPECT_TRUE(std::equal(image.factory.bytes.begin(), image.factory.bytes.end(), file.begin()));
    EXPECT_EQ(file[1024 + 3], image.general[3]);
    EXPECT_EQ(file[1048], image.code[0]);
    EXPECT_EQ(file[1064 + 7], image.id[7]);
    EXPECT_EQ(file[1536 + 16], image.kill[16]);
    EXPECT_EQ(file[2048 + 98 * 9 + 8], image.channels[98][8]);
    EXPECT_EQ(file[3072 + 10 * 4 + 1], image.extras[10][1]);
    EXPECT_EQ(file[3468 + 10 * 3 + 2], image.extras[10][6]);
    EXPECT_EQ(file[3764], image.extras[98][6]);
}

TEST(SetFileSaving, SaveStoresTheProgramVersionEvenWhenWritingFails)
{
    TempDir dir;
    RadioImage image;
    std::memcpy(image.factory.range(FactorySettings::versionText).data(), "4.07X", 5);
    ASSERT_TRUE(saveSetFile(image, dir / "a.set"));
    EXPECT_EQ(versionOf(image), std::string("5.12\0", 5));
    EXPECT_EQ(readBytes(dir / "a.set")[32], '5');

    std::memcpy(image.factory.range(FactorySettings::versionText).data(), "9.99Z", 5);
    EXPECT_FALSE(saveSetFile(image, dir.path())); // a directory
    EXPECT_EQ(versionOf(image), std::string("5.12\0", 5));
}

TEST(SetFileLoading, RoundTripGivesTheSameImage)
{
    TempDir dir;
    for (unsigned seed : {1u, 2u, 98u}) {
        RadioImage saved = scrambledImage(seed);
        ASSERT_TRUE(saveSetFile(saved, dir / "round.set"));
        RadioImage loaded = scrambledImage(seed + 1000);
        loaded.featureFlags = 0x0113;
        loaded.ifCounters[2] = 0x77;
        ASSERT_TRUE(loadSetFile(loaded, dir / "round.set"));
        // Feature flags and the IF counters are not part of the file and stay as they were.
        saved.featureFlags = 0x0113;
        saved.ifCounters = loaded.ifCounters;
        EXPECT_EQ(loaded, saved);
        EXPECT_EQ(loaded.ifCounters[2], 0x77);
    }
}

TEST(SetFileLoading, FilesEndingBeforeTheChannelExtrasFailAndChangeNothing)
{
    TempDir dir;
    const RadioImage source = scrambledImage(5);
    for (std::size_t length : {0u, 1u, 1000u, 1536u, 2000u, 2048u, 3071u}) {
        SCOPED_TRACE(length);
        const auto path = dir / "short.set";
        writeBytes(path, savedBytes(source, length));
        const RadioImage before = scrambledImage(6);
        RadioImage image = before;
        const Result result = loadSetFile(image, path);
        EXPECT_FALSE(result);
        EXPECT_EQ(result.error.rfind(
                      path.string() + ": not a set file: " + std::to_string(length) + " byte", 0),
            0u)
            << result.error;
        EXPECT_EQ(image, before); // every block, byte for byte
    }
}

TEST(SetFileLoading, FilesReachingTheChannelExtrasLoadHeadsAndZeroMissingTails)
{
    TempDir dir;
    const RadioImage source = scrambledImage(7);
    const RadioImage before = scrambledImage(8);
    struct Case {
        std::size_t length;
        int headsLoaded; // channels whose four-byte head comes from the file
        int tailsLoaded; // channels whose three-byte tail comes from the file
    };
    for (const Case c : {Case{3072, 0, 0}, Case{3468, 99, 0}, Case{3765, 99, 99}}) {
        SCOPED_TRACE(c.length);
        const auto path = dir / "part.set";
        writeBytes(path, savedBytes(source, c.length));
        RadioImage image = before;
        ASSERT_TRUE(loadSetFile(image, path));
        EXPECT_EQ(image.factory, source.factory);
        EXPECT_EQ(image.kill, source.kill);
        EXPECT_EQ(image.channels, source.channels);
        for (int n = 0; n < kChannelSlots; ++n) {
            const RadioImage& headFrom = n < c.headsLoaded ? source : before;
            for (int i = 0; i < 4; ++i)
                ASSERT_EQ(image.extras[n][i], headFrom.extras[n][i]) << n << ":" << i;
            for (int i = 4; i < 7; ++i)
                ASSERT_EQ(image.extras[n][i], n < c.tailsLoaded ? source.extras[n][i] : 0)
                    << n << ":" << i;
        }
    }

    // Partial pieces still load what they hold: half of channel 0's head, two tail bytes.
    RadioImage image = before;
    writeBytes(dir / "odd.set", savedBytes(source, 3074));
    ASSERT_TRUE(loadSetFile(image, dir / "odd.set"));
    EXPECT_EQ(image.extras[0][1], source.extras[0][1]);
    EXPECT_EQ(image.extras[0][2], before.extras[0][2]);
    image = before;
    writeBytes(dir / "odd.set", savedBytes(source, 3470));
    ASSERT_TRUE(loadSetFile(image, dir / "odd.set"));
    EXPECT_EQ(image.extras[0][5], source.extras[0][5]);
    EXPECT_EQ(image.extras[0][6], 0);
}

TEST(SetFileLoading, LongerFileLoadsItsFirst3765Bytes)
{
    TempDir dir;
    const RadioImage source = scrambledImage(9);
    auto bytes = savedBytes(source, kSetFileSize);
    bytes.resize(5000, 0xAB);
    writeBytes(dir / "long.set", bytes);
    RadioImage image;
    ASSERT_TRUE(loadSetFile(image, dir / "long.set"));
    EXPECT_EQ(image.extras, source.extras);
    EXPECT_EQ(image.general, source.general);
}

// What is taken for a set file without asking, and how the rest is described to the user.
TEST(SetFileCheck, WrongSizeOrFillerIsNamedShortFilesAreRefused)
{
    TempDir dir;
    const auto saved = savedBytes(scrambledImage(14), kSetFileSize);
    struct Case {
        std::size_t length;
        std::vector<std::size_t> spoilt; // bytes set to 'x'
        std::string problem; // empty: a set file
    };
    const Case cases[] = {
        {3072, {}, ""}, // older versions: no names, then no tails
        {3468, {39, 1024, 1071, 1536, 1552, 2048, 2938}, ""}, // block edges are data
        {3765, {1023, 3071}, "bytes 40-1023 and 2939-3071 are not filler"},
        {3071, {}, "3071 bytes, a set file has 3765"}, // refused: too short to load
    };
    const auto path = dir / "file.set";
    for (const Case& c : cases) {
        auto file = saved;
        file.resize(c.length, 0x30);
        for (std::size_t at : c.spoilt)
            file[at] = 'x';
        writeBytes(path, file);
        const SetFileContent read = readSetFile(path);
        const std::string problem =
            c.problem.empty() ? "" : path.string() + ": not a set file: " + c.problem;
        EXPECT_EQ(read.result ? read.problem : read.result.error, problem) << c.length;
    }
}

TEST(SetFileLoading, ChannelCountOutsideOneTo99IsClamped)
{
    struct Case {
        std::uint8_t stored;
        unsigned loaded;
    };
    TempDir dir;
    for (const Case c : {Case{0, 1}, Case{99, 99}, Case{100, 99}, Case{250, 99}}) {
        RadioImage damaged = scrambledImage(10);
        damaged.general[3] = c.stored;
        writeBytes(dir / "count.set", savedBytes(damaged, kSetFileSize));
        RadioImage image;
        ASSERT_TRUE(loadSetFile(image, dir / "count.set"));
        EXPECT_EQ(image.storedChannelCount(), c.loaded) << int(c.stored);
    }
}

TEST(SetFileLoading, FilesThatCannotBeOpenedFailWithTheReason)
{
    TempDir dir;
    const RadioImage before = scrambledImage(12);
    RadioImage image = before;

    const Result missing = loadSetFile(image, dir / "none.set");
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.error,
        "cannot open " + (dir / "none.set").string() + ": No such file or directory");

    const Result directory = loadSetFile(image, dir.path());
    EXPECT_FALSE(directory);
    EXPECT_EQ(directory.error, "cannot open " + dir.path().string() + ": Is a directory");

    // A pipe would block the reader until someone writes to it.
    const auto pipePath = kq904::testing::makeNonRegularFile(dir.path(), "pipe.set");
    const Result pipe = loadSetFile(image, pipePath);
    EXPECT_EQ(pipe.error, "cannot open " + pipePath.string() + ": not a regular file");
    EXPECT_EQ(image, before);
}

TEST(SetFileSaving, FailedSaveKeepsThePreviousFile)
{
    TempDir dir;
    RadioImage first = scrambledImage(13);
    ASSERT_TRUE(saveSetFile(first, dir / "keep.set"));
    const auto previous = readBytes(dir / "keep.set");

    // A directory has taken the place of a file in the path: the save cannot go through.
    RadioImage second = scrambledImage(14);
    const Result blocked = saveSetFile(second, dir / "keep.set" / "inner.set");
    EXPECT_FALSE(blocked);
    EXPECT_EQ(blocked.error,
        "cannot write " + (dir / "keep.set" / "inner.set").string() + ": Not a directory");
    std::filesystem::create_directory(dir / "sub.set");
    const Result isDirectory = saveSetFile(second, dir / "sub.set");
    EXPECT_EQ(isDirectory.error, "cannot write " + (dir / "sub.set").string() + ": Is a directory");

    EXPECT_EQ(readBytes(dir / "keep.set"), previous);
    EXPECT_EQ(
        kq904::testing::entryNames(dir.path()), (std::vector<std::string>{"keep.set", "sub.set"}));
    EXPECT_TRUE(std::filesystem::is_empty(dir / "sub.set"));
}
