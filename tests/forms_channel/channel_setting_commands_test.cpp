// The Channel Setting form's commands: opening on the selection, stepping, Channel Add. and
// Channel Del., the Channel Name button, and what each way of closing stores, writes and
// notifies.
#include <cstring>

#include "channel_form_fixture.h"
#include "forms/channel_name_form.h"
#include "forms/channel_name_ids.h"

namespace kq904::testing {

namespace {

std::string nameOf(const Block<ChannelExtra>& extra)
{
    const auto bytes = extra.range(ChannelExtra::name);
    return std::string(reinterpret_cast<const char*>(bytes.data()),
        strnlen(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

} // namespace

// The listing's selection is not pulled back when the channel count shrinks, so it can point
// past the last channel; the form then works on the last channel, never on an unused slot.
TEST_F(ChannelFormTest, SelectionPastTheLastChannelOpensOnTheLastChannel)
{
    open(channelOfRow(3 + 4, 3));
    EXPECT_EQ(form.currentChannel(), 4);
    EXPECT_EQ(controls.text(ids::txFrequency), "145.05000");

    image.setChannelCount(5);
    open(channelOfRow(3 + 8, 3));
    EXPECT_EQ(form.currentChannel(), 4);
    EXPECT_EQ(controls.text(ids::channelLabel), "NE05");
}

TEST_F(ChannelFormTest, ChannelAddNeverMakesTheCurrentChannelPassTheLastSlot)
{
    image.setChannelCount(97);
    open(channelOfRow(3 + 98, 3)); // a stale selection on the last slot
    EXPECT_EQ(form.currentChannel(), 96);
    controls.click(ids::channelAdd);
    EXPECT_EQ(image.channelCount(), 98);
    EXPECT_EQ(form.currentChannel(), 97);
    controls.click(ids::channelAdd);
    EXPECT_EQ(image.channelCount(), 99);
    EXPECT_EQ(form.currentChannel(), 98);
    const RadioImage full = image;
    controls.click(ids::channelAdd);
    EXPECT_EQ(image.channelCount(), 99);
    EXPECT_EQ(form.currentChannel(), 98);
    EXPECT_EQ(image, full);
}

TEST_F(ChannelFormTest, SteppingWrapsAroundTheUsedChannels)
{
    open(0);
    controls.click(ids::previousChannel);
    EXPECT_EQ(form.currentChannel(), 9);
    EXPECT_EQ(controls.text(ids::channelLabel), "NJ10");
    controls.click(ids::nextChannel);
    EXPECT_EQ(form.currentChannel(), 0);
    controls.click(ids::nextChannel);
    EXPECT_EQ(form.currentChannel(), 1);
}

TEST_F(ChannelFormTest, SteppingStoresTheChannelItLeaves)
{
    open(3);
    controls.type(ids::txFrequency, "150.0");
    controls.click(ids::nextChannel);
    EXPECT_EQ(transmitFrequency(image, 3), 150000000u);
    EXPECT_EQ(transmitFrequency(image, 4), 145050000u);
    EXPECT_EQ(controls.text(ids::txFrequency), "145.05000");
}

TEST_F(ChannelFormTest, ChannelAddInsertsANamedCopyAfterTheCurrentChannel)
{
    const RadioImage before = image;
    open(4); // channel 5 of 10
    controls.type(ids::rxFrequency, "151.0"); // stored before the copy is made
    controls.click(ids::channelAdd);

    EXPECT_EQ(image.channelCount(), 11);
    EXPECT_EQ(form.currentChannel(), 5);
    EXPECT_EQ(controls.text(ids::channelLabel), "CH06");
    EXPECT_EQ(receiveFrequency(image, 4), 151000000u);
    EXPECT_EQ(receiveFrequency(image, 5), 151000000u);
    EXPECT_EQ(image.channels[5], image.channels[4]);
    EXPECT_EQ(nameOf(extra(5)), "CH06");
    EXPECT_EQ(extra(5)[6], 0);
    // The old channel 6 is now channel 7 and keeps its name; the rest moved up with it.
    for (int n = 5; n < 10; ++n) {
        EXPECT_EQ(image.channels[static_cast<std::size_t>(n + 1)],
            before.channels[static_cast<std::size_t>(n)]);
        EXPECT_EQ(image.extras[static_cast<std::size_t>(n + 1)],
            before.extras[static_cast<std::size_t>(n)]);
    }
    EXPECT_EQ(image.channels[11], before.channels[11]);
}

TEST_F(ChannelFormTest, ChannelDelMovesTheFollowingChannelsDownAndDropsUnstoredEdits)
{
    const RadioImage before = image;
    open(2);
    controls.type(ids::txFrequency, "160.0");
    controls.click(ids::channelDelete);

    EXPECT_EQ(image.channelCount(), 9);
    EXPECT_EQ(form.currentChannel(), 2);
    EXPECT_EQ(controls.text(ids::channelLabel), "ND03");
    for (int n = 2; n < 98; ++n) {
        EXPECT_EQ(image.channels[static_cast<std::size_t>(n)],
            before.channels[static_cast<std::size_t>(n + 1)]);
    }
    // The last slot keeps its contents; nothing took over the typed frequency.
    EXPECT_EQ(image.channels[98], before.channels[98]);
    EXPECT_EQ(image.extras[98], before.extras[98]);
    for (int n = 0; n < kChannelSlots; ++n)
        EXPECT_NE(transmitFrequency(image, n), 160000000u);
}

TEST_F(ChannelFormTest, ChannelDelOnTheLastChannelMakesTheNewLastCurrent)
{
    open(9);
    controls.click(ids::channelDelete);
    EXPECT_EQ(image.channelCount(), 9);
    EXPECT_EQ(form.currentChannel(), 8);
    EXPECT_EQ(controls.text(ids::channelLabel), "NI09");
}

TEST_F(ChannelFormTest, ChannelDelWithOneChannelDoesNothing)
{
    image.setChannelCount(1);
    open(0);
    const RadioImage before = image;
    controls.click(ids::channelDelete);
    EXPECT_EQ(image, before);
    EXPECT_EQ(form.currentChannel(), 0);
}

TEST_F(ChannelFormTest, OkStoresWritesChannelThenSetTableFileAndNotifies)
{
    open(1);
    controls.type(ids::txFrequency, "146.0");
    EXPECT_EQ(controls.close(CloseRoute::OkButton), FormEnd::Accepted);
    EXPECT_EQ(transmitFrequency(image, 1), 146000000u);
    EXPECT_EQ(host.written, (std::vector<TableFile>{TableFile::Channel, TableFile::Set}));
    EXPECT_EQ(host.refreshes, 1);
}

TEST_F(ChannelFormTest, CloseBoxStoresAndNotifiesButWritesNoTableFile)
{
    open(1);
    controls.type(ids::txFrequency, "146.0");
    EXPECT_EQ(controls.close(CloseRoute::CloseBox), FormEnd::Rejected);
    EXPECT_EQ(transmitFrequency(image, 1), 146000000u);
    EXPECT_TRUE(host.written.empty());
    EXPECT_EQ(host.refreshes, 1);
}

TEST_F(ChannelFormTest, EnterKeepsTheFormOpenEscapeDropsWhatWasOnlyTyped)
{
    open(1);
    controls.toggle(ids::scan); // stored at once
    controls.type(ids::txFrequency, "146.0"); // never stored
    EXPECT_EQ(controls.close(CloseRoute::EnterKey), FormEnd::Stay);
    controls.click(ids::copyTxFrequency); // copies the text, stores nothing
    EXPECT_EQ(controls.text(ids::rxFrequency), "146.0");
    EXPECT_EQ(controls.close(CloseRoute::EscapeKey), FormEnd::Rejected);
    EXPECT_TRUE(record(1).get(ChannelRecord::scan));
    EXPECT_EQ(transmitFrequency(image, 1), 145012500u);
    EXPECT_EQ(receiveFrequency(image, 1), 145012500u);
    EXPECT_TRUE(host.written.empty());
    EXPECT_EQ(host.refreshes, 0);
}

// The Channel Name button runs the real Channel Name form; its result shows in the label.
TEST_F(ChannelFormTest, ChannelNameButtonEditsTheCurrentChannelsName)
{
    MemoryControls nameControls;
    host.nameForm = [&](int channel) {
        ChannelNameForm nameForm(image, nameControls, channel);
        nameControls.setEvents(&nameForm);
        nameForm.open();
        nameControls.type(channel_name_ids::name, "xy");
        const bool ok = nameControls.close(CloseRoute::OkButton) == FormEnd::Accepted;
        nameControls.setEvents(nullptr);
        return ok;
    };
    open(6);
    controls.type(ids::txFrequency, "147.0"); // the button also stores the form
    controls.click(ids::channelName);
    EXPECT_EQ(host.nameRuns, std::vector<int>{6});
    EXPECT_EQ(controls.text(ids::channelLabel), "XY07");
    EXPECT_EQ(transmitFrequency(image, 6), 147000000u);

    image.general.set(GeneralSettings::fiveCharacterNames, true);
    controls.click(ids::channelName);
    EXPECT_EQ(controls.text(ids::channelLabel), "XY");
}

} // namespace kq904::testing
