// The Factory Setting form: the text conversions of its frequency and counter fields, the DTMF
// on/off code table, the feature gating made at opening, and that only "OK" stores and writes.

#include <gtest/gtest.h>

#include "forms/factory_setting_form.h"
#include "forms/factory_setting_ids.h"
#include "recording_host.h"
#include "support/memory_controls.h"

namespace kq904 {
namespace {

namespace ids = factory_setting_ids;
using GS = GeneralSettings;
using FS = FactorySettings;
using testing::MemoryControls;
using testing::RecordingHost;

constexpr std::uint16_t kAllFeatures =
    FeatureFlags::aniVersion | FeatureFlags::channelName | FeatureFlags::powerDelaySetting;

TEST(FactoryFrequencyText, FourDecimalsOfMegahertz)
{
    struct Case {
        std::uint32_t hertz;
        const char* text;
    };
    const Case cases[] = {
        {21'400'000, "21.4000"},
        {21'412'345, "21.4123"},
        {10'700'000, "10.7000"},
        {450'000'000, "450.0000"},
        {0, " 0.0000"},
        {4'294'967'295u, "4294.9673"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(factoryFrequencyText(c.hertz), c.text) << c.hertz;
}

TEST(FactoryFrequencyText, ReadBackToHertz)
{
    struct Case {
        const char* text;
        std::uint32_t hertz;
    };
    const Case cases[] = {
        {"21.4", 21'400'000},
        {"21.4000", 21'400'000},
        {"21.4123", 21'412'300},
        {"450", 450'000'000},
        {"10.7", 10'700'000},
        {"10.70", 10'700'000},
        {"10.700000", 10'700'000},
        {" 0.0000", 0},
        {"", 0},
        // Finer than 1 Hz is no frequency.
        {"10.7000000", 0},
        // So many decimals that a counted-up divisor would reach zero.
        {"1.0000000000000000000000000000000000000001", 0},
        // Only the first '.' counts; other characters are skipped.
        {"1.2.3", 1'230'000},
        {"4 3 3 . 5 MHz", 433'500'000},
        {"136,5", 136'500'000}, // typed under a comma locale
        // Digits wrap at 32 bits, like every counter of the radio's tools.
        {"4295", 32'704},
    };
    for (const auto& c : cases)
        EXPECT_EQ(factoryFrequencyFromText(c.text), c.hertz) << '"' << c.text << '"';
}

TEST(RefCounterText, EightLowerCaseHexDigits)
{
    EXPECT_EQ(refCounterText(0x1A2B), "00001a2b");
    EXPECT_EQ(refCounterText(0xDEADBEEF), "deadbeef");
    EXPECT_EQ(refCounterFromText("1a2b"), 0x1A2Bu);
    EXPECT_EQ(refCounterFromText("1A2B"), 0x1A2Bu);
    EXPECT_EQ(refCounterFromText("123456789"), 0x23456789u); // the last eight digits count
    EXPECT_EQ(refCounterFromText("12 g3"), 0x123u);
    EXPECT_EQ(refCounterFromText(""), 0u);
}

TEST(DtmfOnOffTime, CodesAndEntries)
{
    // code: 0 = 50 ms (third entry), 1 = 25 ms, 2 = 33 ms, 3 = 66 ms.
    const int entryOf[] = {2, 0, 1, 3};
    for (unsigned code = 0; code < 4; ++code) {
        EXPECT_EQ(dtmfOnOffEntry(code), entryOf[code]) << code;
        EXPECT_EQ(dtmfOnOffCode(entryOf[code]), code) << code;
    }
    EXPECT_EQ(dtmfOnOffCode(-1), 0u);
}

class FactorySettingFormTest : public ::testing::Test {
protected:
    FactorySettingFormTest()
    {
        image.featureFlags = kAllFeatures;
        controls.setEvents(&form);
    }

    void open() { form.open(); }
    void ok() { controls.click(ids::ok); }

    RadioImage image;
    MemoryControls controls;
    RecordingHost host;
    FactorySettingForm form{image, controls, host};
};

TEST_F(FactorySettingFormTest, OkConvertsEveryFieldBackFromItsText)
{
    image.factory.set(FS::intermediateFrequency, 21'412'345);
    image.factory.set(FS::band1Low, 136'000'000);
    image.factory.set(FS::band1High, 174'000'000);
    image.factory.set(FS::band2Low, 400'000'001);
    image.factory.set(FS::band2High, 470'000'000);
    open();
    EXPECT_EQ(controls.text(ids::ifFrequency), "21.4123");
    EXPECT_EQ(controls.text(ids::band2Low), "400.0000");
    ok();
    EXPECT_EQ(image.factory.get(FS::intermediateFrequency), 21'412'300u);
    EXPECT_EQ(image.factory.get(FS::band1Low), 136'000'000u);
    EXPECT_EQ(image.factory.get(FS::band1High), 174'000'000u);
    EXPECT_EQ(image.factory.get(FS::band2Low), 400'000'000u);
    EXPECT_EQ(image.factory.get(FS::band2High), 470'000'000u);
}

TEST_F(FactorySettingFormTest, TypedValuesLandInTheirFields)
{
    open();
    controls.type(ids::ifFrequency, "21.4");
    controls.type(ids::band1Low, "136");
    controls.type(ids::band1High, "174.5");
    controls.type(ids::band2Low, "400.0125");
    controls.type(ids::band2High, "470");
    controls.type(ids::refCounter6250, "1A2B");
    controls.type(ids::refCounter5000, "12c8000");
    controls.select(ids::txPowerDelay, 5);
    controls.select(ids::pttIdDelay, 3);
    controls.select(ids::dtmfOnOffTime, 0);
    ok();
    EXPECT_EQ(image.general.get(GS::powerDelay), 5u);
    EXPECT_EQ(image.general.get(GS::pttIdDelay), 3u);
    EXPECT_EQ(image.general.get(GS::dtmfOnOffTime), 1u); // 25 ms
    const auto& f = image.factory;
    EXPECT_EQ(f.get(FS::intermediateFrequency), 21'400'000u);
    EXPECT_EQ(f.get(FS::band1Low), 136'000'000u);
    EXPECT_EQ(f.get(FS::band1High), 174'500'000u);
    EXPECT_EQ(f.get(FS::band2Low), 400'012'500u);
    EXPECT_EQ(f.get(FS::band2High), 470'000'000u);
    EXPECT_EQ(f.get(FS::refCounter6250), 0x1A2Bu);
    EXPECT_EQ(f.get(FS::refCounter5000), 0x12C8000u);
}

TEST_F(FactorySettingFormTest, ReferenceCountersReachTheGeneralSettings)
{
    open();
    controls.type(ids::refCounter6250, "aabbccdd");
    controls.type(ids::refCounter5000, "00118000"); // bit 15: prescaler modulus 64
    ok();
    EXPECT_EQ(image.general[0], 0xDD);
    EXPECT_EQ(image.general[1], 0xCC);
    EXPECT_EQ(image.general[2], 0xBB);
    EXPECT_EQ(image.general[3], 0x00); // channel count untouched
    EXPECT_EQ(image.general[4], 0x00);
    EXPECT_EQ(image.general[5], 0x80);
    EXPECT_EQ(image.general[6], 0x11);
    EXPECT_TRUE(image.general.get(GS::prescalerFlag));

    testing::OpenedForm<FactorySettingForm> reopened(image);
    auto& again = reopened.controls;
    EXPECT_EQ(again.text(ids::refCounter6250), "aabbccdd");
    EXPECT_EQ(again.text(ids::refCounter5000), "00118000");
}

TEST_F(FactorySettingFormTest, PolarityAndSideAreStoredAndMirrored)
{
    image.factory.set(FS::dcsRxInverted, true);
    open();
    EXPECT_TRUE(controls.checked(ids::dcsRxInvert));
    EXPECT_TRUE(controls.checked(ids::dcsTxNormal));
    EXPECT_TRUE(controls.checked(ids::rxDown));
    controls.at(ids::dcsTxNormal).checked = false;
    controls.at(ids::dcsTxInvert).checked = true;
    controls.at(ids::dcsRxInvert).checked = false;
    controls.at(ids::dcsRxNormal).checked = true;
    controls.at(ids::rxDown).checked = false;
    controls.at(ids::rxUp).checked = true;
    ok();
    EXPECT_TRUE(image.factory.get(FS::dcsTxInverted));
    EXPECT_FALSE(image.factory.get(FS::dcsRxInverted));
    EXPECT_TRUE(image.factory.get(FS::oscillatorAbove));
    EXPECT_TRUE(image.general.get(GS::dcsTxInverted));
    EXPECT_FALSE(image.general.get(GS::dcsRxInverted));
}

TEST_F(FactorySettingFormTest, DtmfOptionsFollowTheDtmfVersionTick)
{
    image.general.set(GS::dtmfVersion, true);
    image.general.set(GS::dtmfReceiveAnyTime, true);
    image.general.set(GS::pttIdDelay, 2);
    image.general.set(GS::dtmfOnOffTime, 3);
    open();
    const int options[] = {ids::dtmfRxAnyTime, ids::pttIdDelay, ids::pttIdDelayGroup,
        ids::pttIdDelayUnit, ids::dtmfOnOffTime, ids::dtmfOnOffGroup, ids::dtmfOnOffUnit};
    for (int id : options)
        EXPECT_TRUE(controls.enabled(id)) << id;
    EXPECT_TRUE(controls.checked(ids::dtmfRxAnyTime));

    controls.toggle(ids::dtmfVersion);
    for (int id : options)
        EXPECT_FALSE(controls.enabled(id)) << id;
    EXPECT_FALSE(controls.checked(ids::dtmfRxAnyTime));
    // Nothing is stored before "OK".
    EXPECT_TRUE(image.general.get(GS::dtmfVersion));
    EXPECT_TRUE(image.general.get(GS::dtmfReceiveAnyTime));

    ok();
    EXPECT_FALSE(image.general.get(GS::dtmfVersion));
    EXPECT_FALSE(image.general.get(GS::dtmfReceiveAnyTime));
    // The codes read from the disabled lists are kept.
    EXPECT_EQ(image.general.get(GS::pttIdDelay), 2u);
    EXPECT_EQ(image.general.get(GS::dtmfOnOffTime), 3u);
}

// Features switched off in kq904.ini are cleared the moment the form opens, even if it is then
// closed without "OK".
TEST_F(FactorySettingFormTest, SwitchedOffFeaturesAreClearedAtOnce)
{
    image.featureFlags = 0;
    image.general.set(GS::dtmfVersion, true);
    image.general.set(GS::dtmfReceiveAnyTime, true);
    image.general.set(GS::fiveCharacterNames, true);
    image.general.set(GS::powerDelay, 4);
    open();
    EXPECT_EQ(controls.close(CloseRoute::CloseBox), FormEnd::Rejected);
    EXPECT_FALSE(image.general.get(GS::dtmfVersion));
    EXPECT_FALSE(image.general.get(GS::dtmfReceiveAnyTime));
    EXPECT_FALSE(image.general.get(GS::fiveCharacterNames));
    EXPECT_FALSE(controls.enabled(ids::dtmfVersion));
    EXPECT_FALSE(controls.enabled(ids::channelNameTag));
    // The power delay is only locked, shown and kept.
    EXPECT_FALSE(controls.enabled(ids::txPowerDelay));
    EXPECT_EQ(controls.selectedIndex(ids::txPowerDelay), 4);
    EXPECT_EQ(image.general.get(GS::powerDelay), 4u);
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(FactorySettingFormTest, PowerDelayWithoutAnEntryIsKept)
{
    image.general.set(GS::powerDelay, 6);
    open();
    EXPECT_EQ(controls.selectedIndex(ids::txPowerDelay), -1);
    ok();
    EXPECT_EQ(image.general.get(GS::powerDelay), 6u);
}

TEST_F(FactorySettingFormTest, GreetingReplacesOnlyTheTypedCharacters)
{
    const std::string stored = "HELLO";
    std::copy(stored.begin(), stored.end(), image.general.range(GS::welcomeGreeting).begin());
    open();
    EXPECT_EQ(controls.text(ids::welcomeGreeting), "HELLO");
    controls.type(ids::welcomeGreeting, "hi");
    ok();
    const auto greeting = image.general.range(GS::welcomeGreeting);
    // Lower case is stored as typed; the last three bytes stay.
    EXPECT_EQ(std::string(greeting.begin(), greeting.end()), "hiLLO");
}

TEST_F(FactorySettingFormTest, GreetingEndsAtAZeroByteAndTakesFiveCharactersAtMost)
{
    const std::uint8_t stored[] = {'A', 'B', 0, 'X', 'Y'};
    std::copy(
        std::begin(stored), std::end(stored), image.general.range(GS::welcomeGreeting).begin());
    open();
    EXPECT_EQ(controls.text(ids::welcomeGreeting), "AB");
    controls.type(ids::welcomeGreeting, "1234567");
    ok();
    const auto greeting = image.general.range(GS::welcomeGreeting);
    EXPECT_EQ(std::string(greeting.begin(), greeting.end()), "12345");
    EXPECT_EQ(image.general[23], 0); // the byte after the greeting
}

// A blank radio's greeting bytes are no text at all; an untouched "OK" must store them back.
TEST_F(FactorySettingFormTest, BlankGreetingBytesSurviveAnUntouchedOk)
{
    image.general.range(GS::welcomeGreeting)[0] = 0xFF;
    image.general.range(GS::welcomeGreeting)[4] = 0xE9;
    const auto before = image.general.range(GS::welcomeGreeting);
    const std::vector<std::uint8_t> expected(before.begin(), before.end());
    open();
    ok();
    const auto after = image.general.range(GS::welcomeGreeting);
    EXPECT_EQ(std::vector<std::uint8_t>(after.begin(), after.end()), expected);
}

TEST_F(FactorySettingFormTest, OkWritesBothFilesThenClosesThenRefreshes)
{
    open();
    ok();
    EXPECT_EQ(host.calls,
        (std::vector<std::string>{
            "write factoryTab.bin", "write setTab.bin", "end accepted", "refresh"}));
}

TEST_F(FactorySettingFormTest, EnterStoresLikeOk)
{
    open();
    controls.type(ids::ifFrequency, "45.05");
    EXPECT_EQ(controls.close(CloseRoute::EnterKey), FormEnd::Accepted);
    EXPECT_EQ(image.factory.get(FS::intermediateFrequency), 45'050'000u);
    EXPECT_EQ(host.calls,
        (std::vector<std::string>{"write factoryTab.bin", "write setTab.bin", "refresh"}));
}

TEST_F(FactorySettingFormTest, EscapeAndCloseBoxDiscardTheEdits)
{
    image.factory.set(FS::intermediateFrequency, 21'412'345);
    image.general.set(GS::dtmfVersion, true);
    image.general.set(GS::pttIdDelay, 1);
    for (CloseRoute route : {CloseRoute::EscapeKey, CloseRoute::CloseBox}) {
        const RadioImage before = image;
        testing::OpenedForm<FactorySettingForm> factory(image);
        auto& fields = factory.controls;
        fields.type(ids::ifFrequency, "10.7");
        fields.type(ids::welcomeGreeting, "NEW");
        fields.toggle(ids::dtmfVersion);
        fields.select(ids::pttIdDelay, 3);
        EXPECT_EQ(fields.close(route), FormEnd::Rejected);
        EXPECT_EQ(image, before);
        EXPECT_TRUE(factory.host.calls.empty());
    }
}

} // namespace
} // namespace kq904
