// Set files of every length from 0 to 3765 bytes, filled with random bytes, opened the way the
// program opens them: each either loads, with a channel count of 1-99 and every block byte from
// the file, or fails with "not a set file: N bytes" and leaves the configuration, the document
// and the table files exactly as they were.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "app/document.h"
#include "model/file_test_support.h"
#include "model/set_file.h"
#include "model/table_files.h"

using namespace kq904;
using kq904::testing::readBytes;
using kq904::testing::scrambledImage;
using kq904::testing::TempDir;
using kq904::testing::writeBytes;

namespace {

constexpr std::size_t kChannelCountOffset = 1024 + 3;

std::vector<std::uint8_t> randomBytes(std::mt19937& random, std::size_t n)
{
    std::vector<std::uint8_t> bytes(n);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(random());
    return bytes;
}

// The bytes of the set file that belong to a block (the rest is filler, ignored on loading).
bool isBlockByte(std::size_t offset)
{
    return offset < 40 || (offset >= 1024 && offset < 1072) || (offset >= 1536 && offset < 1553)
        || (offset >= 2048 && offset < 2939) || offset >= 3072;
}

// The first block byte of the file (up to the set file's length) that the image does not hold;
// the length compared when there is none.
std::size_t firstDifference(const RadioImage& image, const std::vector<std::uint8_t>& file)
{
    const auto encoded = encodeSetFile(image);
    const std::size_t compared = std::min(file.size(), encoded.size());
    for (std::size_t i = 0; i < compared; ++i)
        if (isBlockByte(i) && i != kChannelCountOffset && encoded[i] != file[i])
            return i;
    return compared;
}

// A new file each time: rewriting one in place makes some file systems flush it to the disk
// at every close, which would make a few thousand of them slow.
void writeFresh(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::filesystem::remove(path);
    writeBytes(path, bytes);
}

} // namespace

TEST(HostileSetFiles, EveryLengthLoadsOrFailsWithTheImageUnchanged)
{
    TempDir dir;
    const auto path = dir / "hostile.set";
    const RadioImage before = scrambledImage(77);
    std::mt19937 random(3765);
    int loaded = 0;
    for (std::size_t length = 0; length <= kSetFileSize; ++length) {
        const auto file = randomBytes(random, length);
        writeFresh(path, file);
        RadioImage image = before;
        const Result result = loadSetFile(image, path);
        if (length < kSetFileMinimumSize) {
            ASSERT_FALSE(result) << length;
            ASSERT_EQ(
                result.error.rfind(
                    path.string() + ": not a set file: " + std::to_string(length) + " byte", 0),
                0u);
            ASSERT_EQ(image, before) << "a failed load changed the image, length " << length;
            continue;
        }
        ASSERT_TRUE(result) << length << ": " << result.error;
        ++loaded;
        const unsigned count = image.storedChannelCount();
        ASSERT_TRUE(count >= 1 && count <= 99) << "count " << count << ", length " << length;
        ASSERT_EQ(firstDifference(image, file), length) << "length " << length;
    }
    EXPECT_EQ(loaded, static_cast<int>(kSetFileSize - kSetFileMinimumSize + 1));
}

TEST(HostileSetFiles, LongerFilesLoadTheirFirst3765Bytes)
{
    TempDir dir;
    const auto path = dir / "long.set";
    std::mt19937 random(4096);
    for (std::size_t length : {3766u, 4096u, 65536u, 1u << 22}) {
        const auto file = randomBytes(random, length);
        writeFresh(path, file);
        RadioImage image = scrambledImage(5);
        ASSERT_TRUE(loadSetFile(image, path)) << length;
        EXPECT_EQ(firstDifference(image, file), kSetFileSize) << length;
        RadioImage fromHead = scrambledImage(5);
        ASSERT_TRUE(decodeSetFile(fromHead, std::span(file).first(kSetFileSize)));
        EXPECT_EQ(image, fromHead) << length;
    }
}

// Through the document, as File > Open and the command line open a file: a failed open leaves
// the configuration, the table files, the selection and the document's name as they were; a
// successful one brings the table files in step with what was loaded.
TEST(HostileSetFiles, DocumentOpensOrRefusesWithoutHarm)
{
    TempDir dir;
    const auto path = dir / "hostile.set";
    RadioImage image = scrambledImage(78);
    CKQ904Doc document(image, dir.path());
    for (TableFile file : {TableFile::Channel, TableFile::Set, TableFile::Factory, TableFile::Kill})
        ASSERT_TRUE(writeTableFile(image, dir.path(), file));
    ASSERT_TRUE(document.save(dir / "first.set"));
    document.selectRow(document.lastChannelRow());

    std::mt19937 random(1);
    std::vector<std::size_t> lengths = {
        0, 1, 39, 40, 1023, 1024, 1536, 2047, 2048, 2939, 3071, 3072, 3073, 3467, 3468, 3764, 3765};
    for (std::size_t length = 5; length < kSetFileSize; length += 97)
        lengths.push_back(length);
    for (std::size_t length : lengths) {
        const auto file = randomBytes(random, length);
        writeFresh(path, file);
        const RadioImage before = image;
        const auto nameBefore = document.path();
        const auto rowBefore = document.activeRow();
        const auto channelTabBefore = readBytes(dir / "channelTab.bin");
        const auto setTabBefore = readBytes(dir / "setTab.bin");

        // Random filler is never a set file: the user is asked, and says Yes.
        bool asked = false;
        const Result result = document.open(path, [&](const std::string&) { return asked = true; });
        EXPECT_EQ(asked, length >= kSetFileMinimumSize) << length;
        if (length < kSetFileMinimumSize) {
            ASSERT_FALSE(result) << length;
            EXPECT_NE(result.error.find("not a set file: " + std::to_string(length) + " byte"),
                std::string::npos)
                << result.error;
            ASSERT_EQ(image, before) << length;
            EXPECT_EQ(document.path(), nameBefore);
            EXPECT_EQ(document.activeRow(), rowBefore);
            EXPECT_EQ(readBytes(dir / "channelTab.bin"), channelTabBefore) << length;
            EXPECT_EQ(readBytes(dir / "setTab.bin"), setTabBefore) << length;
        } else {
            ASSERT_TRUE(result) << length << ": " << result.error;
            const unsigned count = image.storedChannelCount();
            ASSERT_TRUE(count >= 1 && count <= 99) << length;
            EXPECT_EQ(document.path(), path);
            EXPECT_LE(document.activeRow(), document.lastChannelRow());
            EXPECT_EQ(firstDifference(image, file), length);
            EXPECT_EQ(readBytes(dir / "channelTab.bin"), tableFileBytes(image, TableFile::Channel));
            EXPECT_EQ(readBytes(dir / "setTab.bin"), tableFileBytes(image, TableFile::Set));
        }
    }
}
