// The Kill Feature form: packing of the ten-digit IDs, the enabling rule, and that only "OK"
// touches the image and killTab.bin.

#include <gtest/gtest.h>

#include "forms/kill_feature_form.h"
#include "forms/kill_feature_ids.h"
#include "recording_host.h"
#include "support/memory_controls.h"

namespace kq904 {
namespace {

namespace ids = kill_feature_ids;
using KS = KillSettings;
using testing::MemoryControls;
using testing::RecordingHost;
using Bytes = std::array<std::uint8_t, 5>;

Bytes packed(std::string_view text)
{
    Bytes bytes;
    bytes.fill(0xEE); // every nibble must be written
    packKillId(text, bytes);
    return bytes;
}

TEST(KillIdPacking, TenDigitsTwoPerByteHighNibbleFirst)
{
    struct Case {
        const char* text;
        Bytes bytes;
    };
    const Case cases[] = {
        {"1234567890", {0x12, 0x34, 0x56, 0x78, 0x90}},
        // Short IDs are completed with zeros at the end.
        {"12345", {0x12, 0x34, 0x50, 0x00, 0x00}},
        {"", {0x00, 0x00, 0x00, 0x00, 0x00}},
        // Only the first ten digits count.
        {"123456789012", {0x12, 0x34, 0x56, 0x78, 0x90}},
        // The first character that is no digit ends the ID.
        {"12x45", {0x12, 0x00, 0x00, 0x00, 0x00}},
        {"FFFFFFFFFF", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"ab0C", {0xAB, 0x0C, 0x00, 0x00, 0x00}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(packed(c.text), c.bytes) << '"' << c.text << '"';
}

TEST(KillIdPacking, TextShowsEveryNibble)
{
    const Bytes bytes = {0x01, 0x23, 0x45, 0xAB, 0xFF};
    EXPECT_EQ(killIdText(bytes), "012345ABFF");
}

class KillFeatureFormTest : public ::testing::Test {
protected:
    KillFeatureFormTest() { controls.setEvents(&form); }

    void open() { form.open(); }

    RadioImage image;
    MemoryControls controls;
    RecordingHost host;
    KillFeatureForm form{image, controls, host};
};

TEST_F(KillFeatureFormTest, BlankRadioIdsSurviveAnUntouchedOk)
{
    image.kill.bytes.fill(0xFF);
    open();
    EXPECT_EQ(controls.text(ids::killId), "FFFFFFFFFF");
    EXPECT_EQ(controls.text(ids::reviveId), "FFFFFFFFFF");
    const RadioImage before = image;
    EXPECT_EQ(controls.close(CloseRoute::OkButton), FormEnd::Accepted);
    EXPECT_EQ(image, before);
    EXPECT_EQ(host.calls, std::vector<std::string>{"update killTab.bin"});
}

TEST_F(KillFeatureFormTest, EnablingFollowsTheTicks)
{
    open();
    EXPECT_FALSE(controls.enabled(ids::killId));
    EXPECT_FALSE(controls.enabled(ids::reviveId));
    EXPECT_FALSE(controls.enabled(ids::reviveByAir));
    controls.toggle(ids::withKillFeature);
    EXPECT_TRUE(controls.enabled(ids::killId));
    EXPECT_TRUE(controls.enabled(ids::reviveByAir));
    EXPECT_FALSE(controls.enabled(ids::reviveId));
    controls.toggle(ids::reviveByAir);
    EXPECT_TRUE(controls.enabled(ids::reviveId));
    // The ticks alone change nothing in the image.
    EXPECT_EQ(image, RadioImage{});
}

TEST_F(KillFeatureFormTest, OkStoresIdsAndTicksEvenFromDisabledFields)
{
    image.general.set(GeneralSettings::killFeature, true);
    image.general[23] |= 0x4B; // other settings of the same byte
    image.kill[16] = 0xF0;
    open();
    controls.type(ids::killId, "12345");
    controls.type(ids::reviveId, "9876543210");
    controls.toggle(ids::reviveByAir);
    controls.toggle(ids::withKillFeature);
    EXPECT_FALSE(controls.enabled(ids::killId));
    EXPECT_FALSE(controls.enabled(ids::reviveId));

    EXPECT_EQ(controls.close(CloseRoute::OkButton), FormEnd::Accepted);
    EXPECT_EQ(image.general[23], 0x4B);
    EXPECT_EQ(image.kill[16], 0xF1);
    const Bytes kill = {0x12, 0x34, 0x50, 0x00, 0x00};
    const Bytes revive = {0x98, 0x76, 0x54, 0x32, 0x10};
    EXPECT_TRUE(std::equal(kill.begin(), kill.end(), image.kill.range(KS::killId).begin()));
    EXPECT_TRUE(std::equal(revive.begin(), revive.end(), image.kill.range(KS::reviveId).begin()));
    EXPECT_EQ(host.calls, std::vector<std::string>{"update killTab.bin"});
}

TEST_F(KillFeatureFormTest, EnterStoresLikeOk)
{
    open();
    controls.type(ids::killId, "1");
    EXPECT_EQ(controls.close(CloseRoute::EnterKey), FormEnd::Accepted);
    EXPECT_EQ(image.kill[1], 0x10);
}

TEST_F(KillFeatureFormTest, EveryOtherCloseDiscardsTheEdits)
{
    for (CloseRoute route :
        {CloseRoute::CancelButton, CloseRoute::EscapeKey, CloseRoute::CloseBox}) {
        RadioImage fresh;
        fresh.kill.bytes.fill(0x11);
        const RadioImage before = fresh;
        testing::OpenedForm<KillFeatureForm> kill(fresh);
        auto& fields = kill.controls;
        fields.toggle(ids::withKillFeature);
        fields.type(ids::killId, "999");
        EXPECT_EQ(fields.close(route), FormEnd::Rejected);
        EXPECT_EQ(fresh, before);
        EXPECT_TRUE(kill.host.calls.empty());
    }
}

} // namespace
} // namespace kq904
