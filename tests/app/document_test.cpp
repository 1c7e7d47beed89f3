// The document: selection moves, the set file commands and what a failed one leaves untouched.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/document.h"
#include "app/sample_configuration.h"
#include "app_test_support.h"
#include "link/file_path.h"
#include "model/set_file.h"
#include "model/table_files.h"

namespace kq904 {
namespace {

using testing::fileBytes;
using testing::writeFile;

// Keeps the settings of everything in this test program away from the user's own.
const bool isolatedSettings = [] {
    static QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    return true;
}();

class RecordingView : public DocumentView {
public:
    void onDocumentUpdate(unsigned hint) override { hints.push_back(hint); }
    std::vector<unsigned> hints;
};

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scratch.isValid());
        image.setChannelCount(10);
        document.addView(&view);
    }
    std::filesystem::path path(const char* name) const { return toPath(scratch.path()) / name; }

    QTemporaryDir scratch;
    RadioImage image;
    CKQ904Doc document{image, toPath(scratch.path())};
    RecordingView view;
};

TEST_F(DocumentTest, SelectionMovesWithinTheChannelRowsAndAlwaysAsksForARedraw)
{
    struct Case {
        const char* what;
        unsigned start;
        void (*move)(CKQ904Doc&);
        unsigned expected;
    };
    // 10 channels: rows 3 (channel 1) to 12 (channel 10).
    const Case cases[] = {
        {"down moves to the next channel", 3, [](CKQ904Doc& d) { d.nextRow(); }, 4},
        {"down on the last channel stays", 12, [](CKQ904Doc& d) { d.nextRow(); }, 12},
        {"up moves to the previous channel", 5, [](CKQ904Doc& d) { d.previousRow(); }, 4},
        {"up on the first channel stays", 3, [](CKQ904Doc& d) { d.previousRow(); }, 3},
        {"a title row selects the first channel", 7, [](CKQ904Doc& d) { d.selectRow(1); }, 3},
        {"row 0 (Home) selects the first channel", 7, [](CKQ904Doc& d) { d.selectRow(0); }, 3},
        {"the last row (End) selects channel 10", 3, [](CKQ904Doc& d) { d.selectRow(12); }, 12},
        {"a row past the end holds at the last channel", 3, [](CKQ904Doc& d) { d.selectRow(60); },
            12},
    };
    for (const Case& c : cases) {
        document.selectRow(c.start);
        view.hints.clear();
        c.move(document);
        EXPECT_EQ(document.activeRow(), c.expected) << c.what;
        // Even a move that changes nothing redraws the selected row.
        EXPECT_EQ(view.hints, std::vector<unsigned>{c.expected}) << c.what;
        EXPECT_EQ(document.currentChannel(), static_cast<int>(c.expected) - 3) << c.what;
    }
    EXPECT_EQ(document.rowCount(), 13U);
    EXPECT_EQ(document.lastChannelRow(), 12U);
}

TEST_F(DocumentTest, ShrinkingChannelCountPullsTheSelectionBackOnRefresh)
{
    document.selectRow(12); // channel 10
    image.setChannelCount(4); // a reading or Channel Del. left four channels
    view.hints.clear();
    document.refresh();
    EXPECT_EQ(document.activeRow(), 6U);
    EXPECT_EQ(document.currentChannel(), 3);
    EXPECT_EQ(view.hints, std::vector<unsigned>{kFullRedrawHint});
}

TEST_F(DocumentTest, CurrentChannelNeverNamesAnUnusedSlot)
{
    document.selectRow(12);
    image.setChannelCount(2); // no refresh yet
    EXPECT_EQ(document.currentChannel(), 1);
}

TEST_F(DocumentTest, OpeningASetFileLoadsItSelectsTheFirstChannelAndUpdatesTableFiles)
{
    RadioImage other = sampleConfiguration(25);
    ASSERT_TRUE(saveSetFile(other, path("radio.set")));
    document.selectRow(9);
    view.hints.clear();

    ASSERT_TRUE(document.open(path("radio.set")));
    EXPECT_EQ(image.channelCount(), 25);
    EXPECT_EQ(image.channels, other.channels);
    EXPECT_EQ(document.activeRow(), 3U);
    EXPECT_EQ(document.title(), "radio.set");
    EXPECT_EQ(document.windowTitle(), "radio.set - KQ904 Programmer V5.12");
    EXPECT_EQ(view.hints, std::vector<unsigned>{kFullRedrawHint});
    // The set file's configuration becomes the default for the next start; killTab.bin holds
    // nothing a set file brings and is not written.
    const std::filesystem::path dir = toPath(scratch.path());
    for (const char* name : {"factoryTab.bin", "setTab.bin", "channelTab.bin"})
        EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
    EXPECT_FALSE(std::filesystem::exists(dir / "killTab.bin"));
    RadioImage reloaded;
    loadTableFiles(reloaded, dir);
    EXPECT_EQ(reloaded.channels, other.channels);
    EXPECT_EQ(reloaded.general, image.general);
}

TEST_F(DocumentTest, AFailedOpenChangesNothing)
{
    // A set file cut off before the channel extras, and one that does not exist.
    writeFile(path("short.set"), std::string(2000, '0'));
    image = sampleConfiguration(12);
    ASSERT_TRUE(document.save(path("kept.set")));
    const std::filesystem::path dir = toPath(scratch.path());
    ASSERT_TRUE(writeTableFile(image, dir, TableFile::Set));
    const auto setTab = fileBytes(dir / "setTab.bin");
    document.selectRow(8);
    const RadioImage before = image;

    for (const char* name : {"short.set", "missing.set"}) {
        view.hints.clear();
        const Result opened = document.open(path(name));
        EXPECT_FALSE(opened) << name;
        EXPECT_NE(opened.error.find(name), std::string::npos) << opened.error;
        EXPECT_EQ(image, before) << name;
        EXPECT_EQ(document.path(), path("kept.set")) << name;
        EXPECT_EQ(document.activeRow(), 8U) << name;
        EXPECT_TRUE(view.hints.empty()) << name;
        EXPECT_EQ(fileBytes(dir / "setTab.bin"), setTab) << name;
        EXPECT_FALSE(std::filesystem::exists(dir / "channelTab.bin")) << name;
    }
    EXPECT_NE(document.open(path("short.set")).error.find("not a set file: 2000 bytes"),
        std::string::npos);
}

TEST_F(DocumentTest, SaveNamesTheDocumentAndACopyDoesNot)
{
    EXPECT_EQ(document.windowTitle(), "Untitled - KQ904 Programmer V5.12");
    ASSERT_TRUE(document.save(path("first.set")));
    EXPECT_EQ(document.title(), "first.set");
    EXPECT_EQ(fileBytes(path("first.set")).size(), kSetFileSize);

    ASSERT_TRUE(document.saveCopy(path("copy.set")));
    EXPECT_EQ(document.title(), "first.set");
    EXPECT_EQ(fileBytes(path("copy.set")), fileBytes(path("first.set")));
}

TEST_F(DocumentTest, AFailedSaveKeepsTheNameAndThePreviousFile)
{
    ASSERT_TRUE(document.save(path("first.set")));
    const auto previous = fileBytes(path("first.set"));
    std::filesystem::create_directory(path("folder.set"));

    const Result saved = document.save(path("folder.set"));
    EXPECT_FALSE(saved);
    EXPECT_NE(saved.error.find("folder.set"), std::string::npos) << saved.error;
    EXPECT_EQ(document.path(), path("first.set"));
    EXPECT_EQ(fileBytes(path("first.set")), previous);
}

TEST_F(DocumentTest, NewKeepsTheConfigurationAndDropsTheName)
{
    image = sampleConfiguration(7);
    ASSERT_TRUE(document.save(path("a.set")));
    const RadioImage before = image;
    document.newDocument();
    EXPECT_EQ(image, before);
    EXPECT_FALSE(document.hasPath());
    EXPECT_EQ(document.title(), "Untitled");
}

} // namespace
} // namespace kq904
