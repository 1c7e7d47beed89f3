// The channel tag and name rules: labels built from the stored bytes, the repairs they write
// back, and the storing of typed names and tags.
#include <gtest/gtest.h>

#include "listing_fixtures.h"
#include "model/channel_label.h"

using namespace kq904;
using namespace kq904::test;

namespace {

std::string storedName(RadioImage& image, int channel)
{
    const auto bytes = extra(image, channel).range(ChannelExtra::name);
    return std::string(bytes.begin(), bytes.end());
}

std::string bytes5(std::string_view text)
{
    std::string out(text);
    out.resize(5, '\0');
    return out;
}

struct LabelCase {
    const char* what;
    int channel;
    std::string stored; // five bytes, NULs included
    std::string label;
    std::string repaired; // the five bytes after building the label
};

} // namespace

TEST(ChannelLabel, NameModeLabelsAndRepairs)
{
    const LabelCase cases[] = {
        {"valid name", 6, "FIRE1", "FIRE1", "FIRE1"},
        {"short name", 6, bytes5("AB"), "AB", bytes5("AB")},
        {"all zero becomes C", 6, bytes5(""), "C", bytes5("C")},
        {"zero first byte keeps the rest", 6, std::string("\0AB\0\0", 5), "CAB", bytes5("CAB")},
        {"lower case is invalid", 6, bytes5("fire"), "CH07", bytes5("CH07")},
        {"middle character takes the channel digit", 11, "AB#DE", "AB1DE", "AB1DE"},
        {"invalid last character ends the name", 11, "ABCD-", "ABCD", bytes5("ABCD")},
        {"text after a NUL is kept but not shown", 0, std::string("X\0YZ1", 5), "X",
            std::string("X\0YZ1", 5)},
        {"high bytes are invalid", 98, "\xFF\x80\x7FZZ", "CH9ZZ", "CH9ZZ"},
    };
    for (const LabelCase& c : cases) {
        SCOPED_TRACE(c.what);
        RadioImage image = dealerImage(99);
        storeNameBytes(image, c.channel, c.stored);
        EXPECT_EQ(channelNameLabel(image, c.channel), c.label);
        EXPECT_EQ(storedName(image, c.channel), c.repaired);
    }
}

TEST(ChannelLabel, TagModeLabelsAndRepairs)
{
    const LabelCase cases[] = {
        {"valid tag", 6, "AB123", "AB07", "AB123"},
        {"zero tag becomes CH", 6, bytes5(""), "CH07", bytes5("CH")},
        {"digits are not tag letters", 41, "A1XYZ", "AH42", "AHXYZ"},
        {"lower case is repaired", 98, "ab\0\0\0", "CH99", bytes5("CH")},
    };
    for (const LabelCase& c : cases) {
        SCOPED_TRACE(c.what);
        RadioImage image = dealerImage(99);
        storeNameBytes(image, c.channel, c.stored);
        EXPECT_EQ(channelTagLabel(image, c.channel), c.label);
        EXPECT_EQ(storedName(image, c.channel), c.repaired); // bytes 4-6 untouched
    }
}

TEST(ChannelLabel, ModeFollowsTheNamesBit)
{
    RadioImage image = dealerImage(99);
    storeNameBytes(image, 6, "FIRE1");
    EXPECT_EQ(channelLabel(image, 6), "FI07");
    image.general.set(GeneralSettings::fiveCharacterNames, true);
    EXPECT_EQ(channelLabel(image, 6), "FIRE1");
}

TEST(ChannelLabel, StoringTypedNames)
{
    struct Case {
        int channel;
        const char* typed;
        std::string stored;
    };
    const Case cases[] = {
        {6, "fire1", "FIRE1"}, {6, "a-b", bytes5("AHB")}, {11, "abcdefg", "ABCDE"},
        {6, "AB", bytes5("AB")}, {6, "-", bytes5("C")},
        {6, "", bytes5("OLD")}, // empty text changes nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        RadioImage image = dealerImage(99);
        storeNameBytes(image, c.channel, "OLD");
        storeChannelName(image, c.channel, c.typed);
        EXPECT_EQ(storedName(image, c.channel), c.stored);
    }
}

TEST(ChannelLabel, StoringTypedTags)
{
    struct Case {
        const char* typed;
        bool stored;
        std::string bytes;
    };
    const Case cases[] = {
        {"xy", true, "XYD12"},
        {"Qrs", true, "QRD12"},
        {"A1", false, "OLD12"},
        {"A", false, "OLD12"},
        {"", false, "OLD12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        RadioImage image = dealerImage(99);
        storeNameBytes(image, 6, "OLD12");
        EXPECT_EQ(storeChannelTag(image, 6, c.typed), c.stored);
        EXPECT_EQ(storedName(image, 6), c.bytes);
        if (c.stored) {
            EXPECT_EQ(channelTagLabel(image, 6), c.bytes.substr(0, 2) + "07");
        }
    }
}
