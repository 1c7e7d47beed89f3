// The file module on every system: replacing a file in one step, refusals that leave everything
// as it was, a file held open by another reader, create-only writes, and folder and file names
// outside ASCII, which Windows takes only through its wide-character calls.
#include <gtest/gtest.h>

#include <fstream>

#include "file_test_support.h"
#include "model/file_io.h"
#include "model/set_file.h"
#include "model/table_files.h"

using namespace kq904;
using kq904::testing::entryNames;
using kq904::testing::readBytes;
using kq904::testing::TempDir;
using kq904::testing::writeBytes;

namespace {

const std::vector<std::uint8_t> kOld = {1, 2, 3, 4};
const std::vector<std::uint8_t> kNew = {9, 8, 7};

// Latin, Cyrillic, Greek and Japanese letters, none of them in one ANSI code page.
constexpr std::string_view kNonAscii = "Ra\xC3\xB1o \xD0\xA0\xD0\xB0\xD0\xB4\xD0\xB8\xD0\xBE "
                                       "\xCE\xB1\xCF\x81 \xE7\x84\xA1\xE7\xB7\x9A";

} // namespace

TEST(FileReplace, NewContentInPlaceAndNoTemporaryLeft)
{
    TempDir dir;
    const auto path = dir / "radio.set";
    ASSERT_TRUE(writeFileAtomically(path, kOld)); // creates
    ASSERT_TRUE(writeFileAtomically(path, kNew)); // replaces an existing file
    EXPECT_EQ(readBytes(path), kNew);
    const FileHead head = readFileHead(path, 100);
    ASSERT_TRUE(head.result) << head.result.error;
    EXPECT_EQ(head.bytes, kNew);
    EXPECT_EQ(
        readFileHead(path, 2).bytes, std::vector<std::uint8_t>(kNew.begin(), kNew.begin() + 2));
    EXPECT_EQ(entryNames(dir.path()), std::vector<std::string>{"radio.set"});
}

TEST(FileReplace, RefusalsNameTheReasonAndLeaveEverythingAsItWas)
{
    TempDir dir;
    writeBytes(dir / "plain", kOld);
    std::filesystem::create_directory(dir / "folder");

    struct Case {
        std::filesystem::path target;
        std::string reason;
    };
    const Case cases[] = {
        {dir / "plain" / "x.set", "Not a directory"}, // the parent is a regular file
        {dir / "folder", "Is a directory"},
        {dir / "missing" / "x.set", "No such file or directory"},
    };
    for (const auto& c : cases) {
        const Result result = writeFileAtomically(c.target, kNew);
        EXPECT_FALSE(result);
        EXPECT_EQ(result.error, "cannot write " + pathText(c.target) + ": " + c.reason);
    }
    EXPECT_EQ(readBytes(dir / "plain"), kOld);
    EXPECT_TRUE(std::filesystem::is_empty(dir / "folder"));
    EXPECT_EQ(entryNames(dir.path()), (std::vector<std::string>{"folder", "plain"}));
}

TEST(FileReplace, TargetHeldOpenByAReaderIsReplacedWholeOrNotAtAll)
{
    TempDir dir;
    const auto path = dir / "channels.csv";
    writeBytes(path, kOld);
    // Another program reading the file: POSIX replaces it under the reader; Windows may refuse
    // while the reader does not share deletion. Either way no mix and no temporary file.
    std::ifstream reader(path, std::ios::binary);
    ASSERT_TRUE(reader.is_open());
    const Result result = writeFileAtomically(path, kNew);
    reader.close();
    if (result) {
        EXPECT_EQ(readBytes(path), kNew);
    } else {
        EXPECT_EQ(result.error.rfind("cannot write " + pathText(path) + ": ", 0), 0u)
            << result.error;
        EXPECT_EQ(readBytes(path), kOld);
    }
    EXPECT_EQ(entryNames(dir.path()), std::vector<std::string>{"channels.csv"});

    // Our own readers never hold a file against a replacement.
    const FileHead head = readFileHead(path, 100);
    ASSERT_TRUE(head.result) << head.result.error;
    EXPECT_TRUE(writeFileAtomically(path, kOld)) << "after reading";
    EXPECT_EQ(readBytes(path), kOld);
}

TEST(FileCreateOnly, TakenNameIsReportedAndKept)
{
    TempDir dir;
    bool taken = true;
    ASSERT_TRUE(writeNewFile(dir / "backup.set", kOld, taken));
    EXPECT_FALSE(taken);
    const Result again = writeNewFile(dir / "backup.set", kNew, taken);
    EXPECT_FALSE(again);
    EXPECT_TRUE(taken);
    EXPECT_EQ(readBytes(dir / "backup.set"), kOld);

    const Result nowhere = writeNewFile(dir / "missing" / "backup.set", kNew, taken);
    EXPECT_FALSE(taken);
    EXPECT_EQ(nowhere.error,
        "cannot write " + pathText(dir / "missing" / "backup.set") + ": No such file or directory");
}

TEST(NonAsciiPaths, FilesInAFolderOfAnyScriptAreWrittenReadAndNamed)
{
    TempDir dir;
    const std::filesystem::path folder = dir.path() / pathFromUtf8(kNonAscii);
    EXPECT_EQ(pathText(folder.filename()), kNonAscii);
    ASSERT_TRUE(std::filesystem::create_directory(folder));

    RadioImage image = kq904::testing::scrambledImage(21);
    const auto setFile = folder / pathFromUtf8(std::string(kNonAscii) + ".set");
    ASSERT_TRUE(saveSetFile(image, setFile));
    RadioImage loaded;
    ASSERT_TRUE(loadSetFile(loaded, setFile));
    EXPECT_EQ(loaded, image);

    for (TableFile file : {TableFile::Channel, TableFile::Set, TableFile::Factory, TableFile::Kill})
        ASSERT_TRUE(writeTableFile(image, folder, file));
    RadioImage fromTables;
    loadTableFiles(fromTables, folder);
    EXPECT_EQ(
        tableFileBytes(fromTables, TableFile::Channel), tableFileBytes(image, TableFile::Channel));
    EXPECT_EQ(entryNames(folder).size(), 5u);

    // Messages carry the name as UTF-8 text on every system.
    const Result missing = loadSetFile(loaded, folder / "none.set");
    EXPECT_NE(missing.error.find(pathText(pathFromUtf8(kNonAscii) / "none.set")), std::string::npos)
        << missing.error;
}

// A log written a line at a time: the header only into a new or empty file, lines only ever
// added, and a last line cut off (a disk that filled up) never glued to the next one.
TEST(FileAppend, HeaderOnceLinesAddedAndACutOffLineEnded)
{
    TempDir dir;
    const auto path = dir / "log.csv";
    const auto bytes = [](std::string_view text) {
        return std::vector<std::uint8_t>(text.begin(), text.end());
    };
    ASSERT_TRUE(appendDurably(path, {}, bytes("h\n")));
    ASSERT_TRUE(appendDurably(path, bytes("a\n"), bytes("h\n")));
    ASSERT_TRUE(appendDurably(path, bytes("b\n"), bytes("h\n")));
    EXPECT_EQ(readBytes(path), bytes("h\na\nb\n"));
    writeBytes(path, bytes("h\na\nhal"));
    ASSERT_TRUE(appendDurably(path, bytes("c\n"), bytes("h\n")));
    EXPECT_EQ(readBytes(path), bytes("h\na\nhal\nc\n"));

    std::filesystem::create_directory(dir / "folder");
    const Result refused = appendDurably(dir / "folder", bytes("x\n"));
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.error.find("Is a directory"), std::string::npos) << refused.error;
}
