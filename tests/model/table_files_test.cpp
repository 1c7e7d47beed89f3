// The four default table files: start-up loading of whole, short and damaged files, writing, and
// the write-if-different that opening a set file relies on.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "file_test_support.h"
#include "model/table_files.h"

using namespace kq904;
using kq904::testing::readBytes;
using kq904::testing::scrambledImage;
using kq904::testing::TempDir;
using kq904::testing::writeBytes;

namespace {

constexpr TableFile kAllFiles[] = {
    TableFile::Channel, TableFile::Set, TableFile::Factory, TableFile::Kill};

void setName(RadioImage& image, int channel, const char* name)
{
    auto bytes = image.extras[channel].range(ChannelExtra::name);
    std::memcpy(bytes.data(), name, bytes.size());
}

std::string nameOf(const RadioImage& image, int channel)
{
    auto bytes = image.extras[channel].range(ChannelExtra::name);
    return std::string(bytes.begin(), bytes.end());
}

// Sets the file's modification time well into the past, so "not rewritten" can be told apart
// from "rewritten within the same clock tick".
std::filesystem::file_time_type ageFile(const std::filesystem::path& path)
{
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 30);
    std::filesystem::last_write_time(path, old);
    return std::filesystem::last_write_time(path);
}

} // namespace

TEST(TableFileLoading, FirstStartWithoutFilesGivesOneChannelAndFixedBytes)
{
    TempDir dir;
    RadioImage image;
    loadTableFiles(image, dir.path());

    RadioImage expected;
    expected.setChannelCount(1);
    expected.general[9] = 3;
    expected.general[10] = 3;
    EXPECT_EQ(image, expected);
}

TEST(TableFileLoading, SetTabChannelCountAndFixedBytesAreSettled)
{
    struct Case {
        std::uint8_t storedCount;
        int loadedCount;
    };
    const Case cases[] = {{0, 1}, {1, 1}, {42, 42}, {99, 99}, {100, 99}, {250, 99}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.storedCount));
        TempDir dir;
        std::vector<std::uint8_t> file(48, 0x5A);
        file[3] = c.storedCount;
        writeBytes(dir / "setTab.bin", file);

        RadioImage image;
        loadTableFile(image, dir.path(), TableFile::Set);
        EXPECT_EQ(image.storedChannelCount(), unsigned(c.loadedCount));
        EXPECT_EQ(image.general[8], 0);
        EXPECT_EQ(image.general[9], 3);
        EXPECT_EQ(image.general[10], 3);
        EXPECT_EQ(image.general[11], 0);
        EXPECT_EQ(image.general[12], 0x5A);
        EXPECT_EQ(image.code[15], 0x5A);
        EXPECT_EQ(image.id[7], 0x5A);
    }
}

TEST(TableFileLoading, ChannelTabWithoutTailsCutsNamesToTwoCharacters)
{
    TempDir dir;
    RadioImage saved = scrambledImage(7);
    setName(saved, 0, "ABCDE");
    setName(saved, 98, "XY123");
    ASSERT_TRUE(writeTableFile(saved, dir.path(), TableFile::Channel));
    auto file = readBytes(dir / "channelTab.bin");
    ASSERT_EQ(file.size(), 1584u);
    file.resize(1287);
    writeBytes(dir / "channelTab.bin", file);

    RadioImage image = scrambledImage(8); // old tails must not survive
    loadTableFile(image, dir.path(), TableFile::Channel);
    EXPECT_EQ(nameOf(image, 0), std::string("AB\0\0\0", 5));
    EXPECT_EQ(nameOf(image, 98), std::string("XY\0\0\0", 5));
    for (int n = 0; n < kChannelSlots; ++n) {
        EXPECT_EQ(image.channels[n], saved.channels[n]);
        EXPECT_TRUE(std::equal(saved.extras[n].bytes.begin(), saved.extras[n].bytes.begin() + 4,
            image.extras[n].bytes.begin()));
    }
}

TEST(TableFileLoading, ShortFilesLoadWhatTheyHold)
{
    TempDir dir;
    const RadioImage saved = scrambledImage(11);
    for (TableFile file : kAllFiles)
        ASSERT_TRUE(writeTableFile(saved, dir.path(), file));

    // channelTab ends inside channel 2's record: channels 0-1 whole, channel 2 partly, the rest
    // of the records and all heads keep their old bytes, all tails become zero.
    auto channelTab = readBytes(dir / "channelTab.bin");
    channelTab.resize(22);
    writeBytes(dir / "channelTab.bin", channelTab);
    auto factoryTab = readBytes(dir / "factoryTab.bin");
    factoryTab.resize(10);
    writeBytes(dir / "factoryTab.bin", factoryTab);
    writeBytes(dir / "killTab.bin", {});

    const RadioImage old = scrambledImage(12);
    RadioImage image = old;
    loadTableFiles(image, dir.path());

    EXPECT_EQ(image.channels[0], saved.channels[0]);
    EXPECT_EQ(image.channels[1], saved.channels[1]);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(image.channels[2][i], i < 4 ? saved.channels[2][i] : old.channels[2][i]) << i;
    EXPECT_EQ(image.channels[3], old.channels[3]);
    for (int n = 0; n < kChannelSlots; ++n) {
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(image.extras[n][i], i < 4 ? old.extras[n][i] : 0) << n << ":" << i;
    }
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(image.factory[i], i < 10 ? saved.factory[i] : old.factory[i]) << i;
    EXPECT_EQ(image.kill, old.kill);
    EXPECT_EQ(image.code, saved.code);
    EXPECT_EQ(image.id, saved.id);
}

TEST(TableFileLoading, DirectoryOrPipeInPlaceOfAFileIsLikeAMissingFile)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "killTab.bin");
    // A FIFO must not block start-up; Windows has no pipe in a folder, so there only the directory
    // is tried.
    const auto pipe = kq904::testing::makeNonRegularFile(dir.path(), "channelTab.bin");
    const RadioImage old = scrambledImage(3);
    RadioImage image = old;
    loadTableFile(image, dir.path(), TableFile::Kill);
    if (pipe.parent_path() == dir.path())
        loadTableFile(image, dir.path(), TableFile::Channel);
    EXPECT_EQ(image, old);
}

TEST(TableFileWriting, EachFileHoldsItsBlocksInLayoutOrderAndLoadsBack)
{
    const std::size_t sizes[] = {1584, 48, 40, 17};
    TempDir dir;
    RadioImage saved = scrambledImage(21);
    saved.general.range(GeneralSettings::fixedBytes)[1] = 3; // what every setTab load leaves
    saved.general.range(GeneralSettings::fixedBytes)[2] = 3;
    saved.general.range(GeneralSettings::fixedBytes)[0] = 0;
    saved.general.range(GeneralSettings::fixedBytes)[3] = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        ASSERT_TRUE(writeTableFile(saved, dir.path(), kAllFiles[i]));
        EXPECT_EQ(std::filesystem::file_size(dir / tableFileName(kAllFiles[i])), sizes[i]);
    }

    const auto channelTab = readBytes(dir / "channelTab.bin");
    EXPECT_EQ(channelTab[5 * 9 + 8], saved.channels[5][8]);
    EXPECT_EQ(channelTab[891 + 5 * 4 + 3], saved.extras[5][3]);
    EXPECT_EQ(channelTab[1287 + 5 * 3 + 0], saved.extras[5][4]);
    EXPECT_EQ(channelTab[1583], saved.extras[98][6]);
    const auto setTab = readBytes(dir / "setTab.bin");
    EXPECT_EQ(setTab[24], saved.code[0]);
    EXPECT_EQ(setTab[40], saved.id[0]);

    RadioImage loaded;
    loadTableFiles(loaded, dir.path());
    EXPECT_EQ(loaded, saved);
}

TEST(TableFileWriting, FailureLeavesNoTraceAndNamesTheFile)
{
    TempDir dir;
    // The data directory is a regular file: nothing can be created under it.
    writeBytes(dir / "notadir", {1, 2, 3});
    const Result blocked = writeTableFile(RadioImage{}, dir / "notadir", TableFile::Set);
    EXPECT_FALSE(blocked);
    EXPECT_EQ(blocked.error,
        "cannot write " + (dir / "notadir" / "setTab.bin").string() + ": Not a directory");

    // A directory where the file should be is neither replaced nor emptied.
    std::filesystem::create_directory(dir / "factoryTab.bin");
    writeBytes(dir / "factoryTab.bin" / "keep", {9});
    bool written = true;
    const Result occupied =
        writeTableFileIfDifferent(RadioImage{}, dir.path(), TableFile::Factory, &written);
    EXPECT_FALSE(occupied);
    EXPECT_FALSE(written);
    EXPECT_NE(occupied.error.find("factoryTab.bin: Is a directory"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir / "factoryTab.bin" / "keep"));
    EXPECT_EQ(kq904::testing::entryNames(dir.path()),
        (std::vector<std::string>{"factoryTab.bin", "notadir"}));
}

TEST(TableFileWriteIfDifferent, EqualFilesAreLeftUntouched)
{
    TempDir dir;
    const RadioImage image = scrambledImage(31);
    for (TableFile file : kAllFiles) {
        SCOPED_TRACE(tableFileName(file));
        const auto path = dir / tableFileName(file);
        ASSERT_TRUE(writeTableFile(image, dir.path(), file));
        const auto before = ageFile(path);
        bool written = true;
        EXPECT_TRUE(writeTableFileIfDifferent(image, dir.path(), file, &written));
        EXPECT_FALSE(written);
        EXPECT_EQ(std::filesystem::last_write_time(path), before);
    }
}

TEST(TableFileWriteIfDifferent, OneChangedNameRewritesChannelTabOnly)
{
    TempDir dir;
    RadioImage image = scrambledImage(41);
    for (TableFile file : kAllFiles)
        ASSERT_TRUE(writeTableFile(image, dir.path(), file));
    std::filesystem::file_time_type before[4];
    for (int i = 0; i < 4; ++i)
        before[i] = ageFile(dir / tableFileName(kAllFiles[i]));

    // The last byte of the last tail: the comparison must reach the very end of the file.
    image.extras[98][6] = static_cast<std::uint8_t>(image.extras[98][6] ^ 0x01);
    // Opening a set file brings these three up to date, in this order.
    for (TableFile file : {TableFile::Factory, TableFile::Set, TableFile::Channel}) {
        bool written = false;
        EXPECT_TRUE(writeTableFileIfDifferent(image, dir.path(), file, &written));
        EXPECT_EQ(written, file == TableFile::Channel) << tableFileName(file);
    }
    for (int i = 0; i < 4; ++i) {
        const auto after = std::filesystem::last_write_time(dir / tableFileName(kAllFiles[i]));
        EXPECT_EQ(after != before[i], kAllFiles[i] == TableFile::Channel) << i;
    }
    EXPECT_EQ(readBytes(dir / "channelTab.bin"), tableFileBytes(image, TableFile::Channel));
}

TEST(TableFileWriteIfDifferent, MissingShortAndLongerFiles)
{
    TempDir dir;
    const RadioImage image = scrambledImage(51);
    const auto expected = tableFileBytes(image, TableFile::Kill);
    const auto path = dir / "killTab.bin";
    bool written = false;

    // Missing: written.
    ASSERT_TRUE(writeTableFileIfDifferent(image, dir.path(), TableFile::Kill, &written));
    EXPECT_TRUE(written);
    EXPECT_EQ(readBytes(path), expected);

    // One byte short of an equal file: rewritten whole.
    writeBytes(path, std::vector<std::uint8_t>(expected.begin(), expected.end() - 1));
    ASSERT_TRUE(writeTableFileIfDifferent(image, dir.path(), TableFile::Kill, &written));
    EXPECT_TRUE(written);
    EXPECT_EQ(readBytes(path), expected);

    // Longer with an equal head: up to date, extra bytes kept.
    auto longer = expected;
    longer.push_back(0xEE);
    writeBytes(path, longer);
    const auto before = ageFile(path);
    ASSERT_TRUE(writeTableFileIfDifferent(image, dir.path(), TableFile::Kill, &written));
    EXPECT_FALSE(written);
    EXPECT_EQ(std::filesystem::last_write_time(path), before);
    EXPECT_EQ(readBytes(path), longer);
}
