// The Channel Setting form's fields: what typed frequencies store, how stored values show, the
// repairs made while showing a channel, and the rules that tie controls to each other.
#include "channel_form_fixture.h"
#include "model/tone_tables.h"

namespace kq904::testing {

namespace {

struct TypedFrequency {
    const char* typed;
    bool prescaler64;
    std::uint8_t swallowByte;
    std::uint8_t programLow;
    unsigned programHigh;
    bool step5k;
    const char* shownBack;
};

const TypedFrequency kTypedFrequencies[] = {
    // 146 525 000 Hz is a multiple of 6250: N = 23444 = 183 * 128 + 20.
    {"146.525", false, 0x28, 0xB7, 0, false, "146.52500"},
    // Not a multiple of 6250: the 5 kHz step, N = 29304.
    {"146.520", false, (29304 % 128) * 2, (29304 / 128) % 256, 29304 / 128 / 256, true,
        "146.52000"},
    // Truncated to the 5 kHz step below: N = 146 523 100 / 5000 = 29304.
    {"146.5231", false, (29304 % 128) * 2, (29304 / 128) % 256, 29304 / 128 / 256, true,
        "146.52000"},
    // Seven decimals give 0 Hz.
    {"146.5250001", false, 0, 0, 0, false, " 0.00000"},
    // The prescaler modulus 64 splits N differently.
    {"146.525", true, (23444 % 64) * 2, (23444 / 64) % 256, 23444 / 64 / 256, false, "146.52500"},
    // Large enough to need the program count's high bits: N = 70 400 = 550 * 128.
    {"440", false, 0, 550 % 256, 550 / 256, false, "440.00000"},
};

} // namespace

TEST_F(ChannelFormTest, TypedTransmitFrequencyIsStoredAsSynthesizerCounts)
{
    for (const auto& c : kTypedFrequencies) {
        SCOPED_TRACE(c.typed);
        image.general.set(GeneralSettings::prescalerFlag, c.prescaler64);
        record(2)[6] = 0x38; // DCS, crystal shift off, narrow: none of them may change
        open(2);
        controls.type(ids::txFrequency, c.typed);
        controls.toggle(ids::scan); // any store takes the field over

        EXPECT_EQ(record(2)[4], c.swallowByte);
        EXPECT_EQ(record(2)[5], c.programLow);
        EXPECT_EQ(record(2).get(ChannelRecord::txProgramHigh), c.programHigh);
        EXPECT_EQ(record(2).get(ChannelRecord::txStepIs5k), c.step5k);
        EXPECT_EQ(record(2)[6] & 0x78, 0x38);

        controls.click(ids::nextChannel);
        controls.click(ids::previousChannel);
        EXPECT_EQ(controls.text(ids::txFrequency), c.shownBack);
    }
}

TEST_F(ChannelFormTest, ReceiveFrequencyIsStoredAsOscillatorWithTheIntermediateFrequency)
{
    image.factory.set(FactorySettings::intermediateFrequency, 21400000);
    image.factory.set(FactorySettings::oscillatorAbove, true);
    open(0);
    controls.type(ids::rxFrequency, "150.000");
    controls.toggle(ids::scan);
    EXPECT_EQ(decodeHalf(image, 0, Half::Receive), 171400000u);
    // The transmit side never sees the IF.
    controls.type(ids::txFrequency, "150.000");
    controls.toggle(ids::scan);
    EXPECT_EQ(decodeHalf(image, 0, Half::Transmit), 150000000u);

    image.factory.set(FactorySettings::oscillatorAbove, false);
    controls.type(ids::rxFrequency, "150.000");
    controls.toggle(ids::scan);
    EXPECT_EQ(decodeHalf(image, 0, Half::Receive), 128600000u);
    form.load();
    EXPECT_EQ(controls.text(ids::rxFrequency), "150.00000");
}

// Showing a channel and storing it again must not change a byte of a well-formed record.
TEST_F(ChannelFormTest, StoringAShownChannelKeepsEveryByte)
{
    const std::array<std::uint8_t, 9> records[] = {
        // TX narrow, RX narrow, crystal shift on, CTCSS 67 both ways, BCLO, scan, 60 s, high.
        {0x68, 0xB5, 0x40, 0x00, 0x68, 0xB5, 0x48, 0x00, 0x6A},
        // DCS both ways, RX wide + monitor by carrier, TX wide, crystal shift off, RBTLO, low.
        {0x10, 0x20, 0xB8 & ~0x40, 0x05, 0x10, 0x20, 0xB0, 0x85, 0x01},
        // No tones, 5 kHz steps, transmit disabled.
        {0x02, 0x40, 0x81, 0x00, 0x02, 0x40, 0x81, 0x00, 0x07},
        // User-set CTCSS entry while tone setting by user is on; RBCLO.
        {0x68, 0xB5, 0x40, 0x80 | 51, 0x68, 0xB5, 0x40, 51, 0x41},
    };
    image.general.set(GeneralSettings::toneSettingByUser, true);
    image.general.set(GeneralSettings::dtmfVersion, true);
    for (const auto& bytes : records) {
        SCOPED_TRACE(::testing::PrintToString(bytes));
        record(3).bytes = bytes;
        extra(3)[0] = 0x51; // PTT code enabled, first digit 5
        extra(3)[1] = 0x73;
        open(3);
        form.store();
        EXPECT_EQ(record(3).bytes, bytes);
        EXPECT_EQ(extra(3)[0], 0x51);
        EXPECT_EQ(extra(3)[1], 0x73);
    }
}

TEST_F(ChannelFormTest, SpacingAndCrystalShiftHaveTheirOwnSenses)
{
    open(0);
    controls.setChecked(ids::txWide, false);
    controls.setChecked(ids::txNarrow, true);
    controls.setChecked(ids::rxWide, false);
    controls.setChecked(ids::rxNarrow, true);
    controls.setChecked(ids::crystalShift, true);
    controls.toggle(ids::scan);
    EXPECT_TRUE(record(0).get(ChannelRecord::txNarrow));
    EXPECT_FALSE(record(0).get(ChannelRecord::rxWide));
    EXPECT_FALSE(record(0).get(ChannelRecord::crystalShiftOff));

    controls.setChecked(ids::crystalShift, false);
    controls.toggle(ids::scan);
    EXPECT_TRUE(record(0).get(ChannelRecord::crystalShiftOff));
}

TEST_F(ChannelFormTest, ToneListsOfferTheUserSetEntryOnlyWhenToneSettingByUserIsOn)
{
    record(1).set(ChannelRecord::txToneIsCtcss, false);
    record(1).set(ChannelRecord::txToneIsDcs, true);
    open(1);
    EXPECT_EQ(controls.items(ids::rxTone).size(), 51u);
    EXPECT_EQ(controls.items(ids::rxTone).front(), "67");
    EXPECT_EQ(controls.items(ids::rxTone).back(), "150");
    EXPECT_EQ(controls.items(ids::txTone).size(), 83u);
    EXPECT_EQ(controls.items(ids::txTone).back(), "754");

    image.general.set(GeneralSettings::toneSettingByUser, true);
    form.load();
    EXPECT_EQ(controls.items(ids::rxTone).size(), 52u);
    EXPECT_EQ(controls.items(ids::rxTone).back(), "- - -");
    EXPECT_EQ(controls.items(ids::txTone).size(), 84u);
    EXPECT_EQ(controls.items(ids::txTone).back(), "- - -");
}

TEST_F(ChannelFormTest, ToneIndexPastItsListIsShownAndStoredAsTheFirstTone)
{
    struct Case {
        bool dcs;
        bool userSet;
        unsigned stored;
        unsigned expected;
    };
    const Case cases[] = {
        {false, false, 60, 0},
        {false, false, 51, 0}, // the user-set entry is not offered
        {false, true, 51, 51},
        {false, true, 52, 0},
        {true, false, 83, 0},
        {true, true, 83, 83},
        {true, false, 82, 82},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
            << "dcs " << c.dcs << " user " << c.userSet << " index " << c.stored);
        image.general.set(GeneralSettings::toneSettingByUser, c.userSet);
        record(4).set(ChannelRecord::rxToneIsCtcss, !c.dcs);
        record(4).set(ChannelRecord::rxToneIsDcs, c.dcs);
        record(4).set(ChannelRecord::rxTone, c.stored);
        record(4).set(ChannelRecord::busyLockRbclo, true); // bit 7 is kept
        open(4);
        EXPECT_EQ(controls.selectedIndex(ids::rxTone), static_cast<int>(c.expected));
        controls.toggle(ids::scan);
        EXPECT_EQ(record(4).get(ChannelRecord::rxTone), c.expected);
        EXPECT_TRUE(record(4).get(ChannelRecord::busyLockRbclo));
    }
}

TEST_F(ChannelFormTest, ChannelWithoutToneStoresToneIndexZero)
{
    record(0).set(ChannelRecord::txToneIsCtcss, false);
    record(0).set(ChannelRecord::txTone, 17);
    open(0);
    EXPECT_TRUE(controls.checked(ids::txToneNone));
    EXPECT_FALSE(controls.enabled(ids::txTone));
    EXPECT_TRUE(controls.items(ids::txTone).empty());
    controls.toggle(ids::scan);
    EXPECT_EQ(record(0).get(ChannelRecord::txTone), 0u);
}

TEST_F(ChannelFormTest, TimeOutCodeSixShowsNoEntryAndIsStoredAsTransmitDisabled)
{
    record(5).set(ChannelRecord::timeOut, 6);
    open(5);
    EXPECT_EQ(controls.selectedIndex(ids::timeOut), -1);
    EXPECT_FALSE(controls.checked(ids::txDisable));
    controls.toggle(ids::scan);
    EXPECT_EQ(record(5).get(ChannelRecord::timeOut), 7u);

    form.load();
    EXPECT_TRUE(controls.checked(ids::txDisable));

    // A selection is taken over by the next store, not at once.
    controls.toggle(ids::txDisable);
    controls.select(ids::timeOut, 3);
    EXPECT_EQ(record(5).get(ChannelRecord::timeOut), 0u);
    controls.toggle(ids::scan);
    EXPECT_EQ(record(5).get(ChannelRecord::timeOut), 3u);
}

TEST_F(ChannelFormTest, TransmitDisableClearsBusyLockAndDisablesTheTransmitter)
{
    record(0).set(ChannelRecord::busyLockBclo, true);
    record(0).set(ChannelRecord::busyLockRbtlo, true);
    record(0).set(ChannelRecord::timeOut, 2);
    open(0);

    controls.toggle(ids::txDisable);
    EXPECT_EQ(record(0).get(ChannelRecord::timeOut), 7u);
    EXPECT_FALSE(record(0).get(ChannelRecord::busyLockBclo));
    EXPECT_FALSE(record(0).get(ChannelRecord::busyLockRbtlo));
    EXPECT_TRUE(controls.checked(ids::busyLockNone));
    for (int id : {ids::txFrequency, ids::txToneCtcss, ids::txToneDcs, ids::txToneNone, ids::txTone,
             ids::highPower, ids::lowPower, ids::txNarrow, ids::txWide, ids::busyLockBtlo,
             ids::busyLockBclo, ids::busyLockRbtlo, ids::busyLockRbclo, ids::copyTxFrequency,
             ids::copyTxTone, ids::timeOut}) {
        EXPECT_FALSE(controls.enabled(id)) << id;
    }
    EXPECT_TRUE(controls.enabled(ids::rxFrequency));
    EXPECT_TRUE(controls.enabled(ids::busyLockNone));
    EXPECT_EQ(controls.selectedIndex(ids::timeOut), 0);

    // Clearing it again leaves the time-out at "- - -", not the 60 s it had.
    controls.toggle(ids::txDisable);
    EXPECT_EQ(record(0).get(ChannelRecord::timeOut), 0u);
    EXPECT_TRUE(controls.enabled(ids::txFrequency));
    EXPECT_TRUE(controls.enabled(ids::busyLockBclo));
}

// Stepping from a DCS channel onto a transmit-disabled CTCSS channel and storing it must keep
// the channel's own transmit tone, not the one the controls showed before.
TEST_F(ChannelFormTest, TransmitDisabledChannelKeepsItsOwnTransmitTone)
{
    record(0).set(ChannelRecord::txToneIsCtcss, false);
    record(0).set(ChannelRecord::txToneIsDcs, true);
    record(1).set(ChannelRecord::timeOut, 7);
    record(1).set(ChannelRecord::txTone, 12);
    open(0);
    controls.click(ids::nextChannel);
    EXPECT_TRUE(controls.checked(ids::txToneCtcss));
    EXPECT_FALSE(controls.enabled(ids::txToneCtcss));
    controls.toggle(ids::scan);
    EXPECT_TRUE(record(1).get(ChannelRecord::txToneIsCtcss));
    EXPECT_FALSE(record(1).get(ChannelRecord::txToneIsDcs));

    // Re-enabling the transmitter finds the tone it had.
    controls.toggle(ids::txDisable);
    EXPECT_EQ(record(1).get(ChannelRecord::txTone), 12u);
    EXPECT_EQ(controls.selectedIndex(ids::txTone), 12);
}

TEST_F(ChannelFormTest, ReceiverWithoutToneHasNoBusyLockByToneNorMonitorByCarrier)
{
    record(0).set(ChannelRecord::busyLockBtlo, true);
    record(0).set(ChannelRecord::monitorByCarrier, true);
    open(0);
    EXPECT_TRUE(controls.checked(ids::busyLockBtlo));
    EXPECT_TRUE(controls.checked(ids::monitorByCarry));

    controls.setChecked(ids::rxToneCtcss, false);
    controls.setChecked(ids::rxToneNone, true);
    controls.click(ids::rxToneNone);
    EXPECT_FALSE(record(0).get(ChannelRecord::busyLockBtlo));
    EXPECT_FALSE(record(0).get(ChannelRecord::busyLockRbtlo));
    EXPECT_FALSE(controls.enabled(ids::busyLockBtlo));
    EXPECT_FALSE(controls.enabled(ids::busyLockRbtlo));
    EXPECT_FALSE(controls.enabled(ids::monitorByCarry));
    EXPECT_FALSE(controls.checked(ids::monitorByCarry));
    EXPECT_TRUE(controls.checked(ids::busyLockNone));
    EXPECT_TRUE(controls.enabled(ids::busyLockBclo));
    // The unticked box is taken over by the next store.
    controls.toggle(ids::scan);
    EXPECT_FALSE(record(0).get(ChannelRecord::monitorByCarrier));
}

TEST_F(ChannelFormTest, SelectiveCallingHoldsTheMonitorDisabled)
{
    image.general.set(GeneralSettings::dtmfVersion, true);
    open(0);
    EXPECT_TRUE(controls.enabled(ids::monitorDisable));
    EXPECT_TRUE(controls.enabled(ids::monitorByCarry));

    controls.toggle(ids::selectiveCalling);
    EXPECT_TRUE(extra(0).get(ChannelExtra::selectiveCalling));
    EXPECT_TRUE(extra(0).get(ChannelExtra::monitorDisable));
    EXPECT_TRUE(controls.checked(ids::monitorDisable));
    EXPECT_FALSE(controls.enabled(ids::monitorDisable));
    EXPECT_FALSE(controls.enabled(ids::monitorByCarry));

    // Turning it off again frees the box; the monitor stays disabled until unticked.
    controls.toggle(ids::selectiveCalling);
    EXPECT_TRUE(controls.enabled(ids::monitorDisable));
    EXPECT_TRUE(extra(0).get(ChannelExtra::monitorDisable));
    controls.toggle(ids::monitorDisable);
    EXPECT_FALSE(extra(0).get(ChannelExtra::monitorDisable));
    EXPECT_TRUE(controls.enabled(ids::monitorByCarry));
}

TEST_F(ChannelFormTest, WithoutDtmfVersionPttCodeAndSelectiveCallingAreClearedWhenShown)
{
    extra(6).set(ChannelExtra::pttCodeEnable, true);
    extra(6).set(ChannelExtra::selectiveCalling, true);
    open(6);
    EXPECT_FALSE(extra(6).get(ChannelExtra::pttCodeEnable));
    EXPECT_FALSE(extra(6).get(ChannelExtra::selectiveCalling));
    for (int id : {ids::pttCodeLabel, ids::pttCodeEnable, ids::pttCode, ids::pttCodeRange,
             ids::selectiveCalling})
        EXPECT_FALSE(controls.enabled(id)) << id;
    // Selective calling no longer holds the monitor box.
    EXPECT_TRUE(controls.enabled(ids::monitorDisable));
}

TEST_F(ChannelFormTest, PttCodeFieldKeepsThreeDigitsAndStoresThemAsNibbles)
{
    image.general.set(GeneralSettings::dtmfVersion, true);
    extra(2)[0] = 0xF1; // digit 1 is 15: damaged
    extra(2)[1] = 0x9A; // digit 2 is 10: damaged, digit 3 is 9
    open(2);
    EXPECT_EQ(controls.text(ids::pttCode), "009");
    EXPECT_EQ(extra(2)[0], 0x01);
    EXPECT_EQ(extra(2)[1], 0x90);
    EXPECT_TRUE(controls.checked(ids::pttCodeEnable));
    EXPECT_TRUE(controls.enabled(ids::pttCode));

    controls.type(ids::pttCode, "1234");
    EXPECT_EQ(controls.text(ids::pttCode), "123");
    EXPECT_EQ(extra(2).get(ChannelExtra::pttDigit1), 1u);
    EXPECT_EQ(extra(2).get(ChannelExtra::pttDigit2), 2u);
    EXPECT_EQ(extra(2).get(ChannelExtra::pttDigit3), 3u);
    EXPECT_TRUE(extra(2).get(ChannelExtra::pttCodeEnable)); // the other bits stay

    // Shorter texts, and texts that are not digits, change nothing.
    controls.type(ids::pttCode, "45");
    controls.type(ids::pttCode, "4?5");
    EXPECT_EQ(extra(2).get(ChannelExtra::pttDigit1), 1u);

    // Unticking "Enable" stores at once and disables the field.
    controls.toggle(ids::pttCodeEnable);
    EXPECT_FALSE(extra(2).get(ChannelExtra::pttCodeEnable));
    EXPECT_FALSE(controls.enabled(ids::pttCode));
    EXPECT_FALSE(controls.enabled(ids::pttCodeRange));
}

TEST_F(ChannelFormTest, ModLevelShowsWhetherTheTransmitFrequencyIsInsideABand)
{
    image.factory.set(FactorySettings::band1Low, 136000000);
    image.factory.set(FactorySettings::band1High, 145000000);
    image.factory.set(FactorySettings::band2Low, 400000000);
    image.factory.set(FactorySettings::band2High, 470000000);
    const std::pair<const char*, bool> cases[] = {
        {"145.000", true}, // upper edge of band 1
        {"145.0125", false},
        {"400.000", true}, // lower edge of band 2
        {"399.9875", false},
    };
    open(0);
    EXPECT_FALSE(controls.enabled(ids::modLevel));
    for (const auto& [typed, inside] : cases) {
        controls.type(ids::txFrequency, typed);
        controls.click(ids::nextChannel);
        controls.click(ids::previousChannel);
        EXPECT_EQ(controls.checked(ids::modLevel), inside) << typed;
    }
}

TEST_F(ChannelFormTest, CopyingTheTransmitToneSetsTheReceiveTone)
{
    record(0).set(ChannelRecord::txToneIsCtcss, false);
    record(0).set(ChannelRecord::txToneIsDcs, true);
    record(0).set(ChannelRecord::txTone, 40);
    open(0);
    controls.click(ids::copyTxTone);
    EXPECT_TRUE(record(0).get(ChannelRecord::rxToneIsDcs));
    EXPECT_FALSE(record(0).get(ChannelRecord::rxToneIsCtcss));
    EXPECT_EQ(controls.selectedIndex(ids::rxTone), 40);
    controls.toggle(ids::scan);
    EXPECT_EQ(record(0).get(ChannelRecord::rxTone), 40u);

    // A transmitter without tone leaves the receiver without one too.
    controls.setChecked(ids::txToneDcs, false);
    controls.setChecked(ids::txToneNone, true);
    controls.click(ids::txToneNone);
    controls.click(ids::copyTxTone);
    EXPECT_TRUE(controls.checked(ids::rxToneNone));
    EXPECT_FALSE(record(0).get(ChannelRecord::rxToneIsDcs));
}

} // namespace kq904::testing
