// The Code Function Setting form: the identity digits spread over two blocks, the five-character
// rule of its text fields, repairs of a blank radio's values, and the enabling rules.

#include <gtest/gtest.h>

#include "forms/code_function_form.h"
#include "forms/code_function_ids.h"
#include "recording_host.h"
#include "support/memory_controls.h"

namespace kq904 {
namespace {

namespace ids = code_function_ids;
using GS = GeneralSettings;
using CS = CodeSettings;
using testing::MemoryControls;
using testing::RecordingHost;

class CodeFunctionFormTest : public ::testing::Test {
protected:
    CodeFunctionFormTest()
    {
        image.general.set(GS::dtmfVersion, true);
        controls.setEvents(&form);
    }

    void open() { form.open(); }

    RadioImage image;
    MemoryControls controls;
    RecordingHost host;
    CodeFunctionForm form{image, controls, host};
};

TEST_F(CodeFunctionFormTest, UnitIdDigitsGoToTheirNibblesAndLeaveTheirNeighbours)
{
    image.general[17] = 0xB0; // DTMF Rx any time, PTT ID delay and Priority Disable live here
    open();
    controls.type(ids::unitId, "12345");
    EXPECT_EQ(image.general[16], 0x21);
    EXPECT_EQ(image.general[17], 0xB3);
    EXPECT_EQ(image.code[3], 0x54);
}

// Byte 2 holds the fifth digit of both group identities; storing one keeps the other.
TEST_F(CodeFunctionFormTest, GroupIdentitiesShareByteTwoWithoutDisturbingEachOther)
{
    open();
    controls.type(ids::subGroupId, "12345");
    controls.type(ids::allGroupId, "67890");
    EXPECT_EQ(image.code[0], 0x21);
    EXPECT_EQ(image.code[1], 0x43);
    EXPECT_EQ(image.code[5], 0x76);
    EXPECT_EQ(image.code[6], 0x98);
    EXPECT_EQ(image.code[2], 0x05);
    controls.type(ids::subGroupId, "11119");
    EXPECT_EQ(image.code[2], 0x09);
    controls.type(ids::allGroupId, "22227");
    EXPECT_EQ(image.code[2], 0x79);
    EXPECT_EQ(image.code[4], 0x00);
}

TEST_F(CodeFunctionFormTest, IdentitiesAreShownInDigitOrder)
{
    setIdentityDigits(image, Identity::Unit, {9, 8, 7, 6, 5});
    setIdentityDigits(image, Identity::SubGroup, {1, 0, 2, 0, 3});
    setIdentityDigits(image, Identity::AllGroup, {4, 4, 0, 0, 1});
    open();
    EXPECT_EQ(controls.text(ids::unitId), "98765");
    EXPECT_EQ(controls.text(ids::subGroupId), "10203");
    EXPECT_EQ(controls.text(ids::allGroupId), "44001");
}

TEST_F(CodeFunctionFormTest, FieldsStoreOnlyWithFiveCharacters)
{
    for (int id : {ids::unitId, ids::subGroupId, ids::allGroupId, ids::emergencyDigits}) {
        SCOPED_TRACE(id);
        RadioImage fresh;
        testing::OpenedForm<CodeFunctionForm> codes(fresh);
        auto& fields = codes.controls;
        const RadioImage opened = fresh;
        fields.type(id, "1234");
        EXPECT_EQ(fresh, opened);
        fields.type(id, "12345");
        EXPECT_NE(fresh, opened);
        const RadioImage stored = fresh;
        // A sixth character is taken out again, and the first five are what stays stored.
        fields.type(id, "123456");
        EXPECT_EQ(fields.text(id), "12345");
        EXPECT_EQ(fresh, stored);
        fields.type(id, "9876543");
        EXPECT_EQ(fields.text(id), "98765");
        EXPECT_NE(fresh, stored);
    }
}

TEST_F(CodeFunctionFormTest, BlankRadioValuesAreRepairedOnOpening)
{
    image.general.bytes.fill(0xFF);
    image.code.bytes.fill(0xFF);
    image.general.set(GS::powerSaveRatio, 1); // keep the ratio out of this test
    open();
    for (int id : {ids::unitId, ids::subGroupId, ids::allGroupId, ids::emergencyDigits})
        EXPECT_EQ(controls.text(id), "00000") << id;
    EXPECT_EQ(image.general[16], 0x00);
    EXPECT_EQ(image.general[17], 0xF0); // the upper nibble belongs to other settings
    for (int byte : {0, 1, 2, 3, 5, 6, 9, 10, 11, 12, 13})
        EXPECT_EQ(image.code[byte], 0x00) << byte;
    EXPECT_EQ(image.code[4], 0xFF); // not an identity byte
    EXPECT_EQ(image.code[8], 0xFF); // home channel, not this form's
}

TEST_F(CodeFunctionFormTest, OtherCharactersKeepTheirLowFourBits)
{
    open();
    controls.type(ids::unitId, "A2:45"); // 'A' = 0x41, ':' = 0x3A
    // The 10 of ':' is no digit: it is stored as 0 at once, not left for the radio to receive.
    EXPECT_EQ(identityDigits(image, Identity::Unit), (std::array<unsigned, 5>{1, 2, 0, 4, 5}));
    // The next opening shows 'A' as 1.
    testing::OpenedForm<CodeFunctionForm> reopened(image);
    auto& again = reopened.controls;
    EXPECT_EQ(again.text(ids::unitId), "12045");
    EXPECT_EQ(identityDigits(image, Identity::Unit), (std::array<unsigned, 5>{1, 2, 0, 4, 5}));
}

TEST_F(CodeFunctionFormTest, EmergencyCodeHoldsOneDigitPerByte)
{
    image.code[9] = 12;
    image.code[13] = 0xFF;
    image.code[11] = 7;
    open();
    EXPECT_EQ(controls.text(ids::emergencyDigits), "00700");
    EXPECT_EQ(image.code[9], 0);
    EXPECT_EQ(image.code[13], 0);
    controls.type(ids::emergencyDigits, "90210");
    const std::uint8_t expected[] = {9, 0, 2, 1, 0};
    EXPECT_TRUE(std::equal(
        std::begin(expected), std::end(expected), image.code.range(CS::emergencyDigits).begin()));
}

TEST_F(CodeFunctionFormTest, NonLatinCharactersCountAsOneEach)
{
    open();
    // Five characters, one of them two bytes long in the field's text.
    controls.type(ids::subGroupId,
        "12\xC3\xA9"
        "45");
    EXPECT_EQ(identityDigits(image, Identity::SubGroup), (std::array<unsigned, 5>{1, 2, 9, 4, 5}));
    controls.type(ids::subGroupId,
        "1234\xE2\x82\xAC"
        "6");
    EXPECT_EQ(controls.text(ids::subGroupId), "1234?");
}

TEST_F(CodeFunctionFormTest, EmergencyCodeTickEnablesCodeAndSirenButKeepsThem)
{
    image.code.set(CS::siren, true);
    image.code[10] = 5;
    open();
    EXPECT_FALSE(controls.enabled(ids::emergencyDigits));
    EXPECT_FALSE(controls.enabled(ids::siren));
    EXPECT_TRUE(controls.checked(ids::siren));
    controls.toggle(ids::emergencyCode);
    EXPECT_TRUE(image.code.get(CS::emergencyCode));
    EXPECT_TRUE(controls.enabled(ids::emergencyDigits));
    EXPECT_TRUE(controls.enabled(ids::siren));
    controls.toggle(ids::siren);
    EXPECT_FALSE(image.code.get(CS::siren));
    controls.toggle(ids::emergencyCode);
    EXPECT_FALSE(controls.enabled(ids::siren));
    EXPECT_EQ(image.code[10], 5);
}

struct ListCase {
    unsigned ani;
    unsigned talking;
    int aniEntry;
    int talkingEntry;
};

TEST_F(CodeFunctionFormTest, ListsShowStoredCodesAndKeepUnlistedOnes)
{
    const ListCase cases[] = {{0, 0, 0, 0}, {3, 4, 3, 4}, {4, 5, -1, -1}, {7, 7, -1, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.ani << "/" << c.talking);
        RadioImage fresh;
        fresh.code.set(CS::aniShowTime, c.ani);
        fresh.code.set(CS::talkingTime, c.talking);
        testing::OpenedForm<CodeFunctionForm> codes(fresh);
        auto& fields = codes.controls;
        EXPECT_EQ(fields.selectedIndex(ids::aniShow), c.aniEntry);
        EXPECT_EQ(fields.selectedIndex(ids::talkingTime), c.talkingEntry);
        fields.toggle(ids::siren);
        EXPECT_EQ(fresh.code.get(CS::aniShowTime), c.ani);
        EXPECT_EQ(fresh.code.get(CS::talkingTime), c.talking);
        fields.select(ids::aniShow, 2);
        fields.select(ids::talkingTime, 4);
        EXPECT_EQ(fresh.code.get(CS::aniShowTime), 2u);
        EXPECT_EQ(fresh.code.get(CS::talkingTime), 4u);
    }
}

TEST_F(CodeFunctionFormTest, DtmfRadiosLoseTheLongPowerSaveRatios)
{
    image.general.set(GS::powerSaveRatio, 3);
    open();
    EXPECT_EQ(image.general.get(GS::powerSaveRatio), 1u);
}

TEST_F(CodeFunctionFormTest, KillFeatureRunsOnTopAndEveryCloseKeepsTheEdits)
{
    open();
    controls.click(ids::killFeature);
    EXPECT_EQ(host.calls, std::vector<std::string>{"run Kill Feature"});
    controls.type(ids::unitId, "55555");
    for (CloseRoute route :
        {CloseRoute::OkButton, CloseRoute::EnterKey, CloseRoute::EscapeKey, CloseRoute::CloseBox})
        EXPECT_NE(controls.close(route), FormEnd::Stay);
    EXPECT_EQ(identityDigits(image, Identity::Unit), (std::array<unsigned, 5>{5, 5, 5, 5, 5}));
    // No table file and no refresh from this form.
    EXPECT_EQ(host.calls.size(), 1u);
}

} // namespace
} // namespace kq904
