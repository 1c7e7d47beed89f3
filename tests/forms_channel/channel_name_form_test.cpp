// The Channel Name form: what it shows for a stored name or tag (repairing it), and what a
// typed name or tag stores in name mode and in tag mode.
#include <array>
#include <gtest/gtest.h>

#include "forms/channel_name_form.h"
#include "forms/channel_name_ids.h"
#include "support/memory_controls.h"

namespace kq904::testing {

namespace {

namespace ids = channel_name_ids;

using NameBytes = std::array<std::uint8_t, 5>;

class ChannelNameTest : public ::testing::Test {
protected:
    NameBytes stored(int channel) const
    {
        NameBytes bytes{};
        const auto range =
            image.extras[static_cast<std::size_t>(channel)].range(ChannelExtra::name);
        std::copy(range.begin(), range.end(), bytes.begin());
        return bytes;
    }
    void setStored(int channel, NameBytes bytes)
    {
        auto range = image.extras[static_cast<std::size_t>(channel)].range(ChannelExtra::name);
        std::copy(bytes.begin(), bytes.end(), range.begin());
    }
    // Runs the form on `channel`: opens it, types `text` and closes it by `route`.
    FormEnd run(int channel, const std::string& text, CloseRoute route = CloseRoute::OkButton)
    {
        MemoryControls controls;
        ChannelNameForm form(image, controls, channel);
        controls.setEvents(&form);
        form.open();
        shownHint = controls.text(ids::hint);
        shownText = controls.text(ids::name);
        controls.type(ids::name, text);
        return controls.close(route);
    }

    RadioImage image;
    std::string shownHint;
    std::string shownText;
};

struct TypedName {
    int channel;
    const char* typed;
    NameBytes expected;
};

} // namespace

TEST_F(ChannelNameTest, NameModeStoresTheTypedNameRepairingInvalidPositions)
{
    const TypedName cases[] = {
        {6, "fire1", {'F', 'I', 'R', 'E', '1'}},
        // '-' is not a name character: the default character of its position takes its place.
        {6, "a-b", {'A', 'H', 'B', 0, 0}},
        {11, "ABCDEF", {'A', 'B', 'C', 'D', 'E'}},
        {6, "AB", {'A', 'B', 0, 0, 0}},
        {6, " 9", {'C', '9', 0, 0, 0}},
        {11, "ab cd", {'A', 'B', '1', 'C', 'D'}},
        // A character outside ASCII counts as one invalid character.
        {6,
            "\xC3\xA9"
            "12",
            {'C', '1', '2', 0, 0}},
    };
    image.general.set(GeneralSettings::fiveCharacterNames, true);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        setStored(c.channel, {'O', 'L', 'D', 0, 0});
        EXPECT_EQ(run(c.channel, c.typed), FormEnd::Accepted);
        EXPECT_EQ(stored(c.channel), c.expected);
    }
}

TEST_F(ChannelNameTest, NameModeOpensOnTheRepairedName)
{
    image.general.set(GeneralSettings::fiveCharacterNames, true);
    setStored(6, {0, 'A', 'B', 0, 0});
    run(6, "", CloseRoute::EscapeKey);
    EXPECT_EQ(shownHint, "(Max. 5 Digits)");
    EXPECT_EQ(shownText, "CAB");
    // The repair is made on opening, even though the form was cancelled.
    EXPECT_EQ(stored(6), (NameBytes{'C', 'A', 'B', 0, 0}));
}

TEST_F(ChannelNameTest, NameModeEmptyTextChangesNothing)
{
    image.general.set(GeneralSettings::fiveCharacterNames, true);
    setStored(6, {'F', 'I', 'R', 'E', '1'});
    EXPECT_EQ(run(6, ""), FormEnd::Accepted);
    EXPECT_EQ(stored(6), (NameBytes{'F', 'I', 'R', 'E', '1'}));
}

TEST_F(ChannelNameTest, TagModeStoresTwoLettersAndIgnoresAnythingElse)
{
    const std::pair<const char*, NameBytes> cases[] = {
        {"xy", {'X', 'Y', 'D', 0, 'E'}},
        {"XYZ", {'X', 'Y', 'D', 0, 'E'}}, // bytes 4-6 are not the tag's
        {"A1", {'O', 'L', 'D', 0, 'E'}},
        {"A", {'O', 'L', 'D', 0, 'E'}},
        {"", {'O', 'L', 'D', 0, 'E'}},
    };
    for (const auto& [typed, expected] : cases) {
        SCOPED_TRACE(typed);
        setStored(6, {'O', 'L', 'D', 0, 'E'});
        run(6, typed);
        EXPECT_EQ(stored(6), expected);
    }
}

TEST_F(ChannelNameTest, TagModeOpensOnTheTwoRepairedTagLetters)
{
    setStored(6, {0, 0, 'Q', 'Q', 'Q'});
    run(6, "", CloseRoute::CancelButton);
    EXPECT_EQ(shownHint, "(2-Digit)");
    EXPECT_EQ(shownText, "CH");
    EXPECT_EQ(stored(6), (NameBytes{'C', 'H', 'Q', 'Q', 'Q'}));
}

TEST_F(ChannelNameTest, CancelEscapeAndCloseBoxChangeNothingEnterActsAsOk)
{
    image.general.set(GeneralSettings::fiveCharacterNames, true);
    for (CloseRoute route :
        {CloseRoute::CancelButton, CloseRoute::EscapeKey, CloseRoute::CloseBox}) {
        setStored(2, {'O', 'L', 'D', 0, 0});
        EXPECT_EQ(run(2, "NEW", route), FormEnd::Rejected);
        EXPECT_EQ(stored(2), (NameBytes{'O', 'L', 'D', 0, 0}));
    }
    EXPECT_EQ(run(2, "NEW", CloseRoute::EnterKey), FormEnd::Accepted);
    EXPECT_EQ(stored(2), (NameBytes{'N', 'E', 'W', 0, 0}));
}

} // namespace kq904::testing
