// What the window's editing does below the window: deleting and moving several channels, and
// putting back the bytes and table files a step of the undo history changed.
#include <gtest/gtest.h>

#include <numeric>

#include "file_test_support.h"
#include "model/channel_list.h"
#include "model/configuration_snapshot.h"

using namespace kq904;
using kq904::testing::TempDir;
using kq904::testing::writeBytes;

namespace {

// Every slot marked with its number in a record byte and an extra byte, `count` in use.
RadioImage markedImage(int count)
{
    RadioImage image;
    for (std::size_t n = 0; n < kChannelSlots; ++n)
        image.channels[n].bytes[1] = image.extras[n].bytes[5] = static_cast<std::uint8_t>(n);
    image.setChannelCount(count);
    return image;
}

// The marks of the first `slots` slots; -1 where record and extra have come apart.
std::vector<int> marks(const RadioImage& image, std::size_t slots)
{
    std::vector<int> found;
    for (std::size_t n = 0; n < slots; ++n) {
        const int record = image.channels[n].bytes[1];
        found.push_back(record == image.extras[n].bytes[5] ? record : -1);
    }
    return found;
}

TEST(ChannelEdit, DeletingClosesUpAndKeepsAChannel)
{
    struct Case {
        int count;
        std::vector<int> deleted;
        bool ok;
        int countAfter;
        std::vector<int> firstSlots; // slots 0-5 afterwards
    };
    const Case cases[] = {
        {6, {3, 1}, true, 4, {0, 2, 4, 5, 6, 7}}, {6, {5}, true, 5, {0, 1, 2, 3, 4, 6}},
        {3, {0, 1, 2}, false, 3, {0, 1, 2, 3, 4, 5}}, // the radio keeps one channel
        {3, {1, 3}, false, 3, {0, 1, 2, 3, 4, 5}}, // channel 4 is not in use
    };
    for (const Case& c : cases) {
        RadioImage image = markedImage(c.count);
        EXPECT_EQ(deleteChannels(image, c.deleted).ok, c.ok) << c.count;
        EXPECT_EQ(image.channelCount(), c.countAfter);
        EXPECT_EQ(marks(image, 6), c.firstSlots);
    }
    // The slots freed at the top keep their old bytes, as after Channel Del.
    RadioImage image = markedImage(99);
    ASSERT_TRUE(deleteChannels(image, std::vector<int>{0, 50}));
    EXPECT_EQ(marks(image, 99).at(96), 98);
    EXPECT_EQ(marks(image, 99).at(98), 98);
}

TEST(ChannelEdit, MovingSwapsWithTheNeighboursAndStopsAtTheEnds)
{
    struct Case {
        std::vector<int> moved;
        ChannelMove move;
        bool ok;
        std::vector<int> after;
    };
    const Case cases[] = {
        {{1, 2}, ChannelMove::Up, true, {1, 2, 0, 3, 4}},
        {{1, 3}, ChannelMove::Down, true, {0, 2, 1, 4, 3}},
        {{2, 3}, ChannelMove::Down, true, {0, 1, 4, 2, 3}},
        {{0, 2}, ChannelMove::Up, false, {0, 1, 2, 3, 4}},
        {{4}, ChannelMove::Down, false, {0, 1, 2, 3, 4}}, // the last channel in use
    };
    for (const Case& c : cases) {
        RadioImage image = markedImage(5);
        EXPECT_EQ(moveChannels(image, c.moved, c.move).ok, c.ok);
        EXPECT_EQ(marks(image, 5), c.after);
    }
}

TEST(ChannelEdit, UndoPutsBackTheTableFilesAStepWroteAndOnlyTheBytesItChanged)
{
    TempDir dir;
    writeBytes(dir / "channelTab.bin", std::vector<std::uint8_t>(1584, 0x11));
    writeBytes(dir / "setTab.bin", std::vector<std::uint8_t>(48, 0x22));
    const TableFileContents before = readTableFileContents(dir.path());
    // The step rewrote channelTab.bin, removed setTab.bin and created factoryTab.bin.
    writeBytes(dir / "channelTab.bin", std::vector<std::uint8_t>(1584, 0x33));
    std::filesystem::remove(dir / "setTab.bin");
    writeBytes(dir / "factoryTab.bin", std::vector<std::uint8_t>(40, 0x44));
    const TableFileContents after = readTableFileContents(dir.path());
    ASSERT_TRUE(restoreTableFiles(dir.path(), after, before));
    EXPECT_EQ(readTableFileContents(dir.path()), before);
    EXPECT_FALSE(std::filesystem::exists(dir / "factoryTab.bin"));
    ASSERT_TRUE(restoreTableFiles(dir.path(), before, after));
    EXPECT_EQ(readTableFileContents(dir.path()), after);

    // A byte changed since the step (a programming's band bit) stays as it is now.
    const RadioImage from = markedImage(5);
    RadioImage to = from;
    to.channels[2].bytes[0] = 0x40;
    RadioImage now = to;
    now.channels[3].bytes[8] = 0x80;
    applyImageChange(now, to, from);
    EXPECT_EQ(now.channels[2].bytes[0], 0);
    EXPECT_EQ(now.channels[3].bytes[8], 0x80);
}

} // namespace
