// Backups of readings: named after the moment and the serial number, never replacing a file,
// holding exactly the image as read.
#include <gtest/gtest.h>

#include <fstream>

#include "model/file_test_support.h"
#include "model/read_backup.h"
#include "model/set_file.h"

using namespace kq904;

namespace {

std::tm moment(int year, int month, int day, int hour, int minute, int second)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

RadioImage readImage(std::uint32_t serial)
{
    RadioImage image;
    image.setChannelCount(5);
    image.id.set(IdSettings::serialNumber, serial);
    for (std::size_t i = 0; i < image.channels[4].bytes.size(); ++i)
        image.channels[4].bytes[i] = static_cast<std::uint8_t>(0xA0 + i);
    return image;
}

} // namespace

TEST(ReadBackup, NameHoldsTheMomentTheSerialAndTheSuffix)
{
    const std::tm t = moment(2026, 12, 8, 14, 30, 5);
    EXPECT_EQ(readBackupName(t, 500), "20261208-143005-SN0000500.set");
    EXPECT_EQ(readBackupName(t, 500, 2), "20261208-143005-SN0000500-2.set");
    EXPECT_EQ(readBackupName(moment(2027, 1, 2, 3, 4, 5), 0), "20270102-030405-SN0000000.set");
    // A serial number beyond seven digits is kept whole, not shortened.
    EXPECT_EQ(readBackupName(t, 4294967295u), "20261208-143005-SN4294967295.set");
}

TEST(ReadBackup, SavedFileLoadsBackAsTheImageRead)
{
    kq904::testing::TempDir dir;
    const std::filesystem::path folder = dir.path() / "data" / "backups";
    const RadioImage image = readImage(500);
    const RadioImage before = image;

    const SavedBackup saved = saveReadBackup(image, folder, moment(2026, 12, 8, 14, 30, 5));
    ASSERT_TRUE(saved.result) << saved.result.error;
    EXPECT_EQ(saved.path, folder / "20261208-143005-SN0000500.set");
    EXPECT_EQ(std::filesystem::file_size(saved.path), kSetFileSize);
    EXPECT_EQ(image, before) << "the session's image is not touched";

    RadioImage loaded;
    ASSERT_TRUE(loadSetFile(loaded, saved.path));
    RadioImage expected = image;
    // A saved set file carries the program's version text.
    auto version = expected.factory.range(FactorySettings::versionText);
    std::copy_n(kProgramVersion, version.size(), version.begin());
    EXPECT_EQ(encodeSetFile(loaded), encodeSetFile(expected));
}

TEST(ReadBackup, ReadingsInTheSameSecondNeverReplaceEachOther)
{
    kq904::testing::TempDir dir;
    const std::filesystem::path folder = dir.path();
    const std::tm t = moment(2026, 12, 8, 14, 30, 5);
    // Someone else's file already has the first name.
    std::ofstream(folder / "20261208-143005-SN0000500.set") << "keep me";

    std::vector<std::string> names;
    for (std::uint32_t serial : {500u, 500u, 501u}) {
        const SavedBackup saved = saveReadBackup(readImage(serial), folder, t);
        ASSERT_TRUE(saved.result) << saved.result.error;
        names.push_back(saved.path.filename().string());
    }
    EXPECT_EQ(names,
        (std::vector<std::string>{"20261208-143005-SN0000500-1.set",
            "20261208-143005-SN0000500-2.set", "20261208-143005-SN0000501.set"}));
    std::ifstream kept(folder / "20261208-143005-SN0000500.set");
    std::string text;
    std::getline(kept, text);
    EXPECT_EQ(text, "keep me");
}

TEST(ReadBackup, FolderThatCannotBeMadeIsReportedNotThrown)
{
    kq904::testing::TempDir dir;
    const std::filesystem::path blocker = dir.path() / "backups";
    std::ofstream(blocker) << "a file where the folder should be";

    const SavedBackup saved = saveReadBackup(readImage(7), blocker, moment(2026, 12, 8, 14, 30, 5));
    EXPECT_FALSE(saved.result);
    EXPECT_NE(saved.result.error.find(blocker.string()), std::string::npos) << saved.result.error;
    EXPECT_TRUE(saved.path.empty());
}
