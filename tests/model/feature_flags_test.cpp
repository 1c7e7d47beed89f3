// The feature-flag file: the keyword search over its first 200 bytes and the six bits it sets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "file_test_support.h"
#include "model/feature_flags.h"

using namespace kq904;
using kq904::testing::TempDir;
using kq904::testing::writeText;

namespace {

bool search(std::string text, std::string_view keyword)
{
    return findKeyword(std::span<char>(text.data(), text.size()), keyword);
}

constexpr std::uint16_t kSixFlags = FeatureFlags::aniVersion | FeatureFlags::channelName
    | FeatureFlags::versionShow | FeatureFlags::powerDelaySetting | FeatureFlags::powerOnPassword
    | FeatureFlags::shuntingRadio;

} // namespace

TEST(FeatureKeywordSearch, FindsWordsThatBeginWithTheKeyword)
{
    struct Case {
        const char* text;
        bool found;
    };
    const Case cases[] = {
        {"factory", true},
        {"FACTORY", true},
        {"FaCtOrY", true},
        {"factorymode", true}, // the word begins with the keyword
        {"factory=1", true},
        {"myfactory", false}, // contains it after other characters
        {"fact", false}, // ends before the keyword does
        {"fact ory", false},
        {"factor factory", true},
        {"factorx factory", true}, // a mismatch is forgotten at the separator
        {"xfactory factory", true},
        {"\tfactory", true},
        {"a\r\nfactory\r\n", true},
        {"a\nfactory", true},
        {"a\rfactory", true},
        {"a\x1F"
         "factory",
            true}, // control bytes separate words
        {"a\x80"
         "factory",
            true}, // so do bytes 0x80 and above
        {"a\xFF"
         "factory",
            true},
        {"a\xC3\xA9"
         "factory",
            true},
        {"fac\xE9tory", false}, // ...and split a word in two
        {"a!factory", false}, // punctuation belongs to the word
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(search(c.text, "factory"), c.found) << '"' << c.text << '"';
    // A NUL byte inside the buffer is a separator like any other byte up to 0x20.
    EXPECT_TRUE(search(std::string("x\0factory", 9), "factory"));
    EXPECT_TRUE(search("channel_name,", "channel_name"));
    EXPECT_FALSE(search("anything", ""));
}

TEST(FeatureFlagFile, SetsTheSixBitsAndAnswersFactory)
{
    struct Case {
        const char* text;
        std::uint16_t flags;
        bool factory;
    };
    const Case cases[] = {
        {"", 0, false},
        {"factory", 0, true},
        {"ANI_VERSION\r\nChannel_Name,\tversion_show_enable power_delay_set_enable\n"
         "power_on_password shunting_radio_enable FACTORY",
            kSixFlags, true},
        {"shunting_radio_enable channel_name channel_name", 0x0102, false},
        {"version_show power_on_password", 0x0080, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TempDir dir;
        writeText(dir / "kq904.ini", c.text);
        RadioImage image;
        // Bits the file does not own keep their values; the six it owns are replaced.
        image.featureFlags = static_cast<std::uint16_t>(0xFE2C | FeatureFlags::aniVersion);
        EXPECT_EQ(readFeatureFlags(image, dir.path()), c.factory);
        EXPECT_EQ(image.featureFlags, (0xFE2C & ~kSixFlags) | c.flags);
    }
}

TEST(FeatureFlagFile, OnlyTheFirst200BytesAreSeen)
{
    struct Case {
        std::size_t padding; // separator bytes before the keyword
        bool found;
    };
    // "factory" is 7 bytes: ending at byte 200 it is seen, one byte later it is not.
    for (const Case c : {Case{193, true}, Case{194, false}, Case{200, false}}) {
        TempDir dir;
        writeText(dir / "kq904.ini", std::string(c.padding, ' ') + "factory channel_name");
        RadioImage image;
        EXPECT_EQ(readFeatureFlags(image, dir.path()), c.found) << c.padding;
        EXPECT_EQ(image.featureFlags, 0);
    }
}

TEST(FeatureFlagFile, MissingOrUnreadableFileChangesNothing)
{
    TempDir dir;
    RadioImage image;
    image.featureFlags = 0x0103;
    EXPECT_FALSE(readFeatureFlags(image, dir.path()));
    EXPECT_EQ(image.featureFlags, 0x0103);

    std::filesystem::create_directory(dir / "kq904.ini");
    EXPECT_FALSE(readFeatureFlags(image, dir.path()));
    EXPECT_EQ(image.featureFlags, 0x0103);
}
