// The General Setting form: what it writes into the image at once, the rules between the
// settings, the feature gating, and what each way of closing writes.

#include <gtest/gtest.h>

#include "forms/general_setting_form.h"
#include "forms/general_setting_ids.h"
#include "recording_host.h"
#include "support/memory_controls.h"

namespace kq904 {
namespace {

namespace ids = general_setting_ids;
using GS = GeneralSettings;
using testing::MemoryControls;
using testing::RecordingHost;

constexpr std::uint16_t kAllFeatures = FeatureFlags::powerOnPassword | FeatureFlags::shuntingRadio;

class GeneralSettingFormTest : public ::testing::Test {
protected:
    GeneralSettingFormTest()
    {
        image.setChannelCount(20);
        image.featureFlags = kAllFeatures;
        controls.setEvents(&form);
    }

    void open() { form.open(); }

    RadioImage image;
    MemoryControls controls;
    RecordingHost host;
    GeneralSettingForm form{image, controls, host};
};

struct RatioCase {
    bool dtmf;
    unsigned stored;
    std::size_t entries;
    unsigned storedAfterOpen;
    int selected;
};

// Radios with the code functions have no 1:3 (or 1:4) power save; the others show 1:4 as no
// entry and keep it.
TEST_F(GeneralSettingFormTest, PowerSaveRatioListFollowsDtmfVersion)
{
    const RatioCase cases[] = {
        {true, 0, 2, 0, 0},
        {true, 2, 2, 1, 1},
        {true, 3, 2, 1, 1},
        {false, 2, 3, 2, 2},
        {false, 3, 3, 3, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "dtmf " << c.dtmf << " ratio " << c.stored);
        RadioImage fresh;
        fresh.setChannelCount(5);
        fresh.general.set(GS::dtmfVersion, c.dtmf);
        fresh.general.set(GS::powerSaveRatio, c.stored);
        testing::OpenedForm<GeneralSettingForm> general(fresh);
        auto& fields = general.controls;
        EXPECT_EQ(fields.items(ids::powerSaveRatio).size(), c.entries);
        EXPECT_EQ(fresh.general.get(GS::powerSaveRatio), c.storedAfterOpen);
        EXPECT_EQ(fields.selectedIndex(ids::powerSaveRatio), c.selected);
    }
}

TEST_F(GeneralSettingFormTest, UnlistedRatioSurvivesReadBackUntilAnEntryIsPicked)
{
    image.general.set(GS::powerSaveRatio, 3);
    open();
    EXPECT_FALSE(controls.enabled(ids::powerSaveRatio));
    controls.toggle(ids::powerSave);
    EXPECT_TRUE(controls.enabled(ids::powerSaveRatio));
    EXPECT_TRUE(image.general.get(GS::powerSave));
    EXPECT_EQ(image.general.get(GS::powerSaveRatio), 3u);
    controls.select(ids::powerSaveRatio, 1);
    EXPECT_EQ(image.general.get(GS::powerSaveRatio), 1u);
}

// Each tick lands in its own bit, and in nothing else.
TEST_F(GeneralSettingFormTest, EachTickWritesItsBitAtOnce)
{
    struct TickCase {
        int id;
        GS::Bit bit;
    };
    const TickCase cases[] = {
        {ids::keyBeep, GS::keyBeep},
        {ids::keyLocked, GS::keysLocked},
        {ids::priorityMode, GS::priorityMode},
        {ids::toneSettingByUser, GS::toneSettingByUser},
        {ids::powerSave, GS::powerSave},
        {ids::prioritySettingByUser, GS::prioritySettingByUser},
        {ids::batteryLowWarning, GS::batteryLowWarning},
        {ids::keypadLockUserAccess, GS::keypadLockUserAccess},
        {ids::homeChannelDisable, GS::homeChannelDisabled},
        {ids::passwordEnable, GS::powerOnPassword},
    };
    image.general[11] = 0x5A; // fixed at 0 for the radio: any read-back puts it right
    open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        const auto before = image.general;
        controls.toggle(c.id);
        EXPECT_TRUE(image.general.get(c.bit));
        auto expected = before;
        expected.set(c.bit, true);
        if (c.id != ids::batteryLowWarning && c.id != ids::homeChannelDisable
            && c.id != ids::passwordEnable)
            expected[11] = 0;
        EXPECT_EQ(image.general, expected);
        controls.toggle(c.id);
        EXPECT_FALSE(image.general.get(c.bit));
    }
}

TEST_F(GeneralSettingFormTest, KeypadLockWithoutUserAccessLocksOutTheOtherLock)
{
    image.general.set(GS::keypadLockUserAccess, true);
    image.general.set(GS::userKeyUpDown, true);
    image.general.set(GS::userKeyScan, true);
    open();
    EXPECT_TRUE(controls.checked(ids::keypadLockUserAccess));
    EXPECT_TRUE(controls.enabled(ids::upDownKeys));
    controls.toggle(ids::modeKey);
    EXPECT_EQ(image.general.get(GS::Field{14, 0, 4}), 0b0111u);

    controls.toggle(ids::keypadLockNoUserAccess);
    EXPECT_TRUE(image.general.get(GS::keypadLockNoUserAccess));
    EXPECT_FALSE(image.general.get(GS::keypadLockUserAccess));
    EXPECT_FALSE(controls.checked(ids::keypadLockUserAccess));
    EXPECT_FALSE(controls.enabled(ids::keypadLockUserAccess));
    for (int id : {ids::upDownKeys, ids::modeKey, ids::scanKey, ids::entKey})
        EXPECT_FALSE(controls.enabled(id)) << id;
    // The usable keys keep their bits for when the lock with user access comes back.
    EXPECT_TRUE(image.general.get(GS::userKeyUpDown));
    EXPECT_TRUE(image.general.get(GS::userKeyScan));

    controls.toggle(ids::keypadLockNoUserAccess);
    EXPECT_TRUE(controls.enabled(ids::keypadLockUserAccess));
    EXPECT_FALSE(controls.enabled(ids::upDownKeys));
}

TEST_F(GeneralSettingFormTest, StoredNoUserAccessLockClearsUserAccessWhenOpening)
{
    image.general.set(GS::keypadLockNoUserAccess, true);
    image.general.set(GS::keypadLockUserAccess, true);
    open();
    EXPECT_FALSE(image.general.get(GS::keypadLockUserAccess));
    EXPECT_FALSE(controls.enabled(ids::keypadLockUserAccess));
    EXPECT_FALSE(controls.enabled(ids::entKey));
}

TEST_F(GeneralSettingFormTest, HomeChannelPastTheCountFallsBackToChannelOne)
{
    image.code.set(CodeSettings::homeChannel, 20); // channel 21 of 20
    image.general.set(GS::priorityChannel, 30);
    open();
    EXPECT_EQ(image.code.get(CodeSettings::homeChannel), 0u);
    EXPECT_EQ(controls.text(ids::homeChannel), "1");
    // The priority channel is not corrected: shown as it is, ">" cannot move it, "<" steps
    // down one at a time.
    EXPECT_EQ(controls.text(ids::priorityChannel), "31");
    controls.click(ids::priorityUp);
    EXPECT_EQ(image.general.get(GS::priorityChannel), 30u);
    controls.click(ids::priorityDown);
    EXPECT_EQ(image.general.get(GS::priorityChannel), 29u);
    EXPECT_EQ(controls.text(ids::priorityChannel), "30");
}

TEST_F(GeneralSettingFormTest, StepButtonsStayWithinTheChannels)
{
    image.setChannelCount(3);
    open();
    controls.click(ids::priorityDown);
    controls.click(ids::homeDown);
    EXPECT_EQ(image.general.get(GS::priorityChannel), 0u);
    EXPECT_EQ(image.code.get(CodeSettings::homeChannel), 0u);
    for (int i = 0; i < 5; ++i) {
        controls.click(ids::priorityUp);
        controls.click(ids::homeUp);
    }
    EXPECT_EQ(image.general.get(GS::priorityChannel), 2u);
    EXPECT_EQ(image.code.get(CodeSettings::homeChannel), 2u);
    EXPECT_EQ(controls.text(ids::priorityChannel), "3");
    EXPECT_EQ(controls.text(ids::homeChannel), "3");
    controls.click(ids::homeDown);
    EXPECT_EQ(controls.text(ids::homeChannel), "2");
}

TEST_F(GeneralSettingFormTest, SingleChannelRadioCannotStepEitherChannel)
{
    image.setChannelCount(1);
    open();
    for (int id : {ids::priorityUp, ids::priorityDown, ids::homeUp, ids::homeDown})
        controls.click(id);
    EXPECT_EQ(image.general.get(GS::priorityChannel), 0u);
    EXPECT_EQ(image.code.get(CodeSettings::homeChannel), 0u);
}

TEST_F(GeneralSettingFormTest, StoredShuntingWithoutPriorityDisableIsMadeConsistent)
{
    image.general.set(GS::shuntingRadio, true);
    image.general.set(GS::priorityMode, true);
    open();
    EXPECT_TRUE(image.general.get(GS::shuntingRadio));
    EXPECT_TRUE(image.general.get(GS::priorityFunctionDisabled));
    EXPECT_FALSE(image.general.get(GS::priorityMode));
}

TEST_F(GeneralSettingFormTest, ShuntingNeedsPriorityDisabledAndLocksIt)
{
    image.general.set(GS::priorityMode, true);
    open();
    // Shunting is only offered once the priority function is disabled.
    EXPECT_FALSE(controls.enabled(ids::shuntingRadio));
    EXPECT_TRUE(controls.enabled(ids::priorityMode));

    controls.toggle(ids::priorityDisable);
    EXPECT_TRUE(controls.enabled(ids::shuntingRadio));
    EXPECT_FALSE(image.general.get(GS::priorityMode));
    EXPECT_FALSE(controls.checked(ids::priorityMode));
    EXPECT_FALSE(controls.enabled(ids::priorityMode));

    controls.toggle(ids::shuntingRadio);
    EXPECT_TRUE(image.general.get(GS::shuntingRadio));
    EXPECT_TRUE(controls.checked(ids::priorityDisable));
    EXPECT_FALSE(controls.enabled(ids::priorityDisable));

    // Even a click that reaches the locked tick cannot undo it while shunting is on.
    controls.toggle(ids::priorityDisable);
    EXPECT_TRUE(image.general.get(GS::priorityFunctionDisabled));
    EXPECT_TRUE(controls.checked(ids::priorityDisable));
    EXPECT_TRUE(image.general.get(GS::shuntingRadio));

    controls.toggle(ids::shuntingRadio);
    EXPECT_TRUE(controls.enabled(ids::priorityDisable));
    controls.toggle(ids::priorityDisable);
    EXPECT_FALSE(image.general.get(GS::priorityFunctionDisabled));
    EXPECT_FALSE(controls.enabled(ids::shuntingRadio));
    EXPECT_TRUE(controls.enabled(ids::priorityMode));
}

TEST_F(GeneralSettingFormTest, ShuntingWithoutItsKeywordIsClearedAndStaysOff)
{
    image.featureFlags = FeatureFlags::powerOnPassword;
    image.general.set(GS::shuntingRadio, true);
    image.general.set(GS::priorityFunctionDisabled, true);
    open();
    EXPECT_FALSE(image.general.get(GS::shuntingRadio));
    EXPECT_FALSE(controls.enabled(ids::shuntingRadio));
    EXPECT_TRUE(controls.enabled(ids::priorityDisable));
    controls.toggle(ids::priorityDisable);
    controls.toggle(ids::priorityDisable);
    EXPECT_FALSE(controls.enabled(ids::shuntingRadio));
}

TEST_F(GeneralSettingFormTest, PasswordWithoutItsKeywordIsSwitchedOffButKept)
{
    image.featureFlags = FeatureFlags::shuntingRadio;
    image.general.set(GS::powerOnPassword, true);
    const std::uint8_t digits[] = {1, 2, 3, 4};
    std::copy(std::begin(digits), std::end(digits), image.id.range(IdSettings::password).begin());
    open();
    EXPECT_FALSE(image.general.get(GS::powerOnPassword));
    EXPECT_FALSE(controls.enabled(ids::passwordEnable));
    EXPECT_FALSE(controls.enabled(ids::password));
    EXPECT_EQ(controls.text(ids::password), "1234");
    EXPECT_EQ(image.id[4], 1);
    EXPECT_EQ(image.id[7], 4);
}

TEST_F(GeneralSettingFormTest, PasswordDigitsOutsideZeroToNineAreRepairedOnOpening)
{
    image.id[4] = 0xFF;
    image.id[5] = 3;
    image.id[6] = 10;
    image.id[7] = 9;
    open();
    EXPECT_EQ(controls.text(ids::password), "0309");
    EXPECT_EQ(image.id[4], 0);
    EXPECT_EQ(image.id[5], 3);
    EXPECT_EQ(image.id[6], 0);
    EXPECT_EQ(image.id[7], 9);
}

TEST_F(GeneralSettingFormTest, PasswordIsStoredOnlyAsFourDigits)
{
    image.general.set(GS::powerOnPassword, true);
    open();
    auto stored = [this] {
        const auto p = image.id.range(IdSettings::password);
        return std::string{char('0' + p[0]), char('0' + p[1]), char('0' + p[2]), char('0' + p[3])};
    };
    controls.type(ids::password, "123");
    EXPECT_EQ(stored(), "0000");
    controls.type(ids::password, "1234");
    EXPECT_EQ(stored(), "1234");
    // A fifth digit is taken out again; the first four stay and are stored.
    controls.type(ids::password, "95678");
    EXPECT_EQ(controls.text(ids::password), "9567");
    EXPECT_EQ(stored(), "9567");
    controls.type(ids::password, "24680135");
    EXPECT_EQ(controls.text(ids::password), "2468");
    EXPECT_EQ(stored(), "2468");
    // Characters that are no digit never reach the radio's password.
    controls.type(ids::password, "12a4");
    EXPECT_EQ(stored(), "2468");
}

TEST_F(GeneralSettingFormTest, CodeFunctionFormRunsOnTopAndItsEditsAreShownAfter)
{
    image.general.set(GS::dtmfVersion, true);
    open();
    EXPECT_TRUE(controls.enabled(ids::codeFunction));
    host.codeFunctionForm = [this] {
        image.general.set(GS::keyBeep, true);
        image.general.set(GS::powerSaveRatio, 2);
    };
    controls.click(ids::codeFunction);
    EXPECT_EQ(host.calls, std::vector<std::string>{"run Code Function"});
    EXPECT_TRUE(controls.checked(ids::keyBeep));
    EXPECT_EQ(image.general.get(GS::powerSaveRatio), 1u);
}

// "OK" (and Enter, which does what "OK" does) writes setTab.bin; Escape and the close box keep
// the edits in the image but write nothing.
TEST_F(GeneralSettingFormTest, OnlyOkAndEnterWriteSetTab)
{
    open();
    controls.click(ids::ok);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"write setTab.bin", "end accepted"}));
    host.calls.clear();
    EXPECT_EQ(controls.close(CloseRoute::EnterKey), FormEnd::Accepted);
    EXPECT_EQ(host.calls, std::vector<std::string>{"write setTab.bin"});

    for (CloseRoute route : {CloseRoute::EscapeKey, CloseRoute::CloseBox}) {
        RadioImage fresh;
        testing::OpenedForm<GeneralSettingForm> general(fresh);
        auto& fields = general.controls;
        fields.toggle(ids::batteryLowWarning);
        EXPECT_EQ(fields.close(route), FormEnd::Rejected);
        EXPECT_TRUE(fresh.general.get(GS::batteryLowWarning));
        EXPECT_TRUE(general.host.calls.empty());
    }
}

} // namespace
} // namespace kq904
