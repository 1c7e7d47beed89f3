// The Programming form driving the link and the in-process simulated radio in virtual time: the
// serial number rules, what reaches the profile and when, the version display, the ends taken
// in as one of the link's observers, and "Com Port Fail".

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

#include "forms/programming_form.h"
#include "forms/programming_ids.h"
#include "link/link.h"
#include "link/link_observers.h"
#include "sim/in_process_transport.h"
#include "sim/simulated_radio.h"
#include "support/memory_controls.h"

namespace kq904 {
namespace {

namespace ids = programming_ids;

struct SerialTextCase {
    std::uint32_t serial;
    const char* text;
};

TEST(SerialNumberText, SevenDigitsOrQuestionMark)
{
    const SerialTextCase cases[] = {{0, "0000000"}, {41, "0000041"}, {500, "0000500"},
        {9'999'999, "9999999"}, {10'000'000, "?"}, {12'345'678, "?"}, {0xFFFFFFFF, "?"}};
    for (const auto& c : cases)
        EXPECT_EQ(serialNumberText(c.serial), c.text) << c.serial;
}

struct ParseCase {
    const char* text;
    std::uint32_t serial;
};

TEST(SerialNumberText, ParsesTheDigitsOfTheFirstSevenCharacters)
{
    const ParseCase cases[] = {{"", 0}, {"?", 0}, {"0000041", 41}, {"12a34", 1234},
        {"1234567", 1'234'567}, {"12345678", 1'234'567}, {"99999999999", 9'999'999},
        {"abcdefg9", 0}, {"a1b2c3d4", 123},
        {"\xC3\xA9\xC3\xA9"
         "12345",
            12345}};
    for (const auto& c : cases)
        EXPECT_EQ(parseSerialNumber(c.text), c.serial) << c.text;
    // Characters, not bytes: a two-byte character counts once and is never cut in half.
    EXPECT_EQ(firstSevenCharacters("\xC3\xA9"
                                   "1234567"),
        "\xC3\xA9"
        "123456");
    EXPECT_EQ(firstSevenCharacters("1234567\xC3\xA9"), "1234567");
}

// The profile, the form's timer on a virtual clock, and the message boxes.
class FakeHost : public ProgrammingHost {
public:
    std::uint32_t storedSerialNumber() override { return profile().profileSerial; }
    Result storeSerialNumber(std::uint32_t serial) override
    {
        profile().profileSerial = serial;
        ++profile().serialStores;
        return Result::success();
    }
    // As serial_numbers.h reserves, on the profile the windows share.
    SerialReservationResult reserveSerialNumber(std::optional<std::uint32_t> startingAt) override
    {
        const std::uint32_t serial = startingAt.value_or(profile().profileSerial);
        profile().profileSerial = nextSerialNumber(serial);
        return {Result::success(), {serial, profile().profileSerial, std::nullopt}};
    }
    void releaseSerialNumber(const SerialReservation& taken) override
    {
        if (profile().profileSerial == taken.next)
            profile().profileSerial = taken.serial;
    }
    bool storedAutoIncrement() const override { return profileAutoIncrement; }
    void storeAutoIncrement(bool on) override { profileAutoIncrement = on; }
    void startTimer() override
    {
        timerRunning = true;
        timerDueMs = nowMs + ProgrammingForm::timerPeriodMs;
    }
    void stopTimer() override { timerRunning = false; }
    void showMessage(std::string_view text) override { messages.emplace_back(text); }

    FakeHost& profile() { return *sharedProfile; }
    FakeHost* sharedProfile = this; // another window's host, whose profile this one shares
    std::uint32_t profileSerial = 0;
    int serialStores = 0;
    bool profileAutoIncrement = false;
    bool timerRunning = false;
    std::int64_t nowMs = 0;
    std::int64_t timerDueMs = 0;
    std::vector<std::string> messages;
};

class RecordingObserver : public LinkObserver {
public:
    void refreshRequested() override { }
    void transferEnded(LinkOutcome outcome) override
    {
        outcomes.emplace_back(outcomeText(outcome));
    }
    std::vector<std::string> outcomes;
};

constexpr std::uint16_t kRadioSerialAddress = EepromMap::idSettings;

class ProgrammingFormTest : public ::testing::Test {
protected:
    ProgrammingFormTest()
    {
        image.setChannelCount(3);
        image.featureFlags = FeatureFlags::versionShow;
        radio.eeprom()[EepromMap::generalSettings + 3] = 2; // the radio holds two channels
        setRadioSerial(0);
        controls.setEvents(&form);
        observers.add(observer);
        observers.add(form);
    }

    void setRadioSerial(std::uint32_t serial)
    {
        for (int i = 0; i < 4; ++i)
            radio.eeprom()[kRadioSerialAddress + i] = static_cast<std::uint8_t>(serial >> (8 * i));
    }
    std::uint32_t radioSerial() const
    {
        std::uint32_t serial = 0;
        for (int i = 3; i >= 0; --i)
            serial = (serial << 8) | radio.eeprom()[kRadioSerialAddress + i];
        return serial;
    }
    std::uint32_t imageSerial() const { return image.id.get(IdSettings::serialNumber); }

    // One 15 ms tick of the main window, and the form's timer when it falls due.
    void tick()
    {
        transport.advanceTick();
        link.tick();
        host.nowMs += 15;
        while (host.timerRunning && host.nowMs >= host.timerDueMs) {
            host.timerDueMs += ProgrammingForm::timerPeriodMs;
            form.onTimer();
            progressSeen.push_back(controls.get(ids::progress).progress);
        }
    }
    // Runs until the form stops watching the transfer; false if it never does.
    bool runUntilTimerStops(int limitTicks = 3000)
    {
        for (int i = 0; i < limitTicks && host.timerRunning; ++i)
            tick();
        return !host.timerRunning;
    }

    RadioImage image;
    SimulatedRadio radio;
    InProcessTransport transport{radio};
    RecordingObserver observer;
    LinkObservers observers;
    Link link{image, transport, &observers};
    testing::MemoryControls controls;
    FakeHost host;
    ProgrammingForm form{image, link, controls, host};
    std::vector<int> progressSeen;
};

TEST_F(ProgrammingFormTest, OpeningTakesTheSerialNumberFromTheProfile)
{
    const SerialTextCase cases[] = {{41, "0000041"}, {0, "0000000"}, {9'999'999, "9999999"},
        // Eight digits cannot be shown: "?" holds no digit, so the serial number becomes 0.
        {10'000'000, "?"}, {0xFFFFFFFF, "?"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.serial);
        image.id.set(IdSettings::serialNumber, 777);
        host.profileSerial = c.serial;
        form.open();
        EXPECT_EQ(controls.text(ids::serialNumber), c.text);
        EXPECT_EQ(imageSerial(), c.serial > kMaxSerialNumber ? 0 : c.serial);
        // Only shown: closing stores nothing back.
        EXPECT_FALSE(form.keepsSerialOnClose());
    }
}

TEST_F(ProgrammingFormTest, OpeningTicksAutoIncrementFromTheProfile)
{
    for (bool stored : {true, false}) {
        host.profileAutoIncrement = stored;
        form.open();
        EXPECT_EQ(controls.checked(ids::autoIncrement), stored);
    }
}

TEST_F(ProgrammingFormTest, VersionButtonAndTextExistOnlyWithVersionShowEnable)
{
    form.open();
    EXPECT_TRUE(controls.shown(ids::version));
    EXPECT_TRUE(controls.shown(ids::versionText));

    testing::MemoryControls plain;
    // Every other feature on: only version_show_enable brings the two back.
    image.featureFlags = static_cast<std::uint16_t>(0xFFFF & ~FeatureFlags::versionShow);
    ProgrammingForm without{image, link, plain, host};
    plain.setEvents(&without);
    without.open();
    EXPECT_FALSE(plain.shown(ids::version));
    EXPECT_FALSE(plain.shown(ids::versionText));
    EXPECT_TRUE(plain.shown(ids::programming));
}

TEST_F(ProgrammingFormTest, TypingIntoTheSerialFieldWritesTheImageAtOnce)
{
    form.open();
    const ParseCase cases[] = {{"12a34", 1234}, {"", 0}, {"0000500", 500}};
    for (const auto& c : cases) {
        controls.type(ids::serialNumber, c.text);
        EXPECT_EQ(imageSerial(), c.serial) << c.text;
    }
    // An eighth character is cut off; the field keeps the first seven.
    controls.type(ids::serialNumber, "12345678");
    EXPECT_EQ(controls.text(ids::serialNumber), "1234567");
    EXPECT_EQ(imageSerial(), 1'234'567u);
    // Nothing reaches the profile before the form closes.
    EXPECT_EQ(host.serialStores, 0);
}

TEST_F(ProgrammingFormTest, AutoIncrementIsStoredTheMomentItIsClicked)
{
    form.open();
    controls.toggle(ids::autoIncrement);
    EXPECT_TRUE(host.profileAutoIncrement);
    controls.toggle(ids::autoIncrement);
    EXPECT_FALSE(host.profileAutoIncrement);
}

TEST_F(ProgrammingFormTest, EveryWayOutKeepsTheSerialNumber)
{
    const std::pair<CloseRoute, FormEnd> routes[] = {{CloseRoute::CloseBox, FormEnd::Rejected},
        {CloseRoute::EscapeKey, FormEnd::Rejected}, {CloseRoute::EnterKey, FormEnd::Accepted}};
    for (const auto& [route, end] : routes) {
        host.profileSerial = 41;
        form.open();
        controls.type(ids::serialNumber, "1234");
        EXPECT_EQ(controls.close(route), end);
        EXPECT_EQ(host.profileSerial, 1234u);
    }
}

TEST_F(ProgrammingFormTest, ProgrammingWithAutoIncrementAdvancesTheSerialNumber)
{
    host.profileSerial = 41;
    host.profileAutoIncrement = true;
    form.open();
    controls.click(ids::programming);
    EXPECT_EQ(controls.get(ids::progress).progress, 1);
    EXPECT_TRUE(host.timerRunning);
    ASSERT_TRUE(runUntilTimerStops());

    EXPECT_EQ(observer.outcomes, std::vector<std::string>{"Programming OK"});
    EXPECT_EQ(radioSerial(), 41u); // the radio got the number the field showed
    EXPECT_EQ(controls.text(ids::serialNumber), "0000042");
    EXPECT_EQ(imageSerial(), 42u);
    EXPECT_EQ(link.linkState(), LinkState::Idle);
    EXPECT_EQ(host.serialStores, 0);
    controls.close(CloseRoute::CloseBox);
    EXPECT_EQ(host.profileSerial, 42u);

    // The progress went up with the channels and ended on a full bar.
    ASSERT_GE(progressSeen.size(), 3u);
    EXPECT_TRUE(std::is_sorted(progressSeen.begin(), progressSeen.end()));
    EXPECT_GE(progressSeen.back(), 100);
}

TEST_F(ProgrammingFormTest, SerialNumbersRunOnAcrossRadios)
{
    host.profileSerial = 9'999'998;
    host.profileAutoIncrement = true;
    form.open();
    const char* shown[] = {"9999999", "0000000", "0000001"};
    for (const char* text : shown) {
        controls.click(ids::programming);
        ASSERT_TRUE(runUntilTimerStops());
        EXPECT_EQ(controls.text(ids::serialNumber), text);
    }
    EXPECT_EQ(radioSerial(), 0u);
    EXPECT_EQ(observer.outcomes.size(), 3u);
}

TEST_F(ProgrammingFormTest, ProgrammingWithoutAutoIncrementKeepsTheSerialNumber)
{
    host.profileSerial = 41;
    form.open();
    controls.click(ids::programming);
    ASSERT_TRUE(runUntilTimerStops());
    EXPECT_EQ(observer.outcomes, std::vector<std::string>{"Programming OK"});
    EXPECT_EQ(controls.text(ids::serialNumber), "0000041");
    controls.close(CloseRoute::CloseBox);
    EXPECT_EQ(host.profileSerial, 41u);
}

// The number may already sit in the half-programmed radio: it is never handed out again.
TEST_F(ProgrammingFormTest, AFailedProgrammingUsesUpItsNumber)
{
    radio.setFaultPlan(FaultPlan{}.silenceFrom(4));
    host.profileSerial = 41;
    host.profileAutoIncrement = true;
    form.open();
    controls.click(ids::programming);
    ASSERT_TRUE(runUntilTimerStops());
    EXPECT_EQ(observer.outcomes, std::vector<std::string>{"Programming Fail"});
    EXPECT_EQ(link.linkState(), LinkState::Idle);
    EXPECT_EQ(controls.text(ids::serialNumber), "0000042");
    EXPECT_EQ(host.profileSerial, 42u);
    EXPECT_TRUE(controls.enabled(ids::programming));
}

TEST_F(ProgrammingFormTest, ReadingShowsTheRadiosSerialNumberAndKeepsItForTheNextRadio)
{
    setRadioSerial(500);
    host.profileSerial = 41;
    form.open();
    controls.click(ids::reading);
    ASSERT_TRUE(runUntilTimerStops());
    EXPECT_EQ(observer.outcomes, std::vector<std::string>{"READ OK"});
    EXPECT_EQ(controls.text(ids::serialNumber), "0000500");
    controls.close(CloseRoute::CloseBox);
    EXPECT_EQ(host.profileSerial, 500u);
}

TEST_F(ProgrammingFormTest, ARadioWithAnEightDigitSerialNumberShowsQuestionMark)
{
    setRadioSerial(12'345'678);
    host.profileSerial = 41;
    form.open();
    controls.click(ids::reading);
    ASSERT_TRUE(runUntilTimerStops());
    EXPECT_EQ(controls.text(ids::serialNumber), "?");
    EXPECT_EQ(imageSerial(), 0u);
    controls.close(CloseRoute::CloseBox);
    EXPECT_EQ(host.profileSerial, 0u);
}

TEST_F(ProgrammingFormTest, VersionReplyShowsTheVersionNumber)
{
    radio.setVersionWord(0x0123);
    form.open();
    controls.click(ids::version);
    EXPECT_EQ(controls.get(ids::progress).progress, 0);
    ASSERT_TRUE(runUntilTimerStops());
    EXPECT_EQ(controls.text(ids::versionText), "18");
    // A version reply is no reading: no message box.
    EXPECT_TRUE(observer.outcomes.empty());
}

TEST_F(ProgrammingFormTest, AnswerTwoToTheVersionRequestReadsTheRadio)
{
    radio.setFaultPlan(FaultPlan{}.at(1, FaultKind::TwoInsteadOfVersion));
    setRadioSerial(777);
    form.open();
    controls.click(ids::version);
    ASSERT_TRUE(runUntilTimerStops());
    EXPECT_EQ(observer.outcomes, std::vector<std::string>{"READ OK"});
    EXPECT_EQ(controls.text(ids::serialNumber), "0000777");
    EXPECT_EQ(controls.text(ids::versionText), "0"); // no version word came
}

TEST_F(ProgrammingFormTest, APortThatWillNotOpenStartsNothing)
{
    transport.setOpenFails(true);
    host.profileSerial = 41;
    host.profileAutoIncrement = true;
    form.open();
    for (int button : {ids::programming, ids::reading, ids::version}) {
        controls.click(button);
        EXPECT_FALSE(host.timerRunning);
        EXPECT_EQ(link.linkState(), LinkState::Idle);
    }
    EXPECT_EQ(host.messages,
        (std::vector<std::string>{"Com Port Fail", "Com Port Fail", "Com Port Fail"}));
    EXPECT_TRUE(transport.written().empty());
    EXPECT_EQ(transport.openAttempts(), 3);
    EXPECT_EQ(host.profileSerial, 41u); // reserved, then given back: no radio got it

    // The next attempt tries the port again.
    transport.setOpenFails(false);
    controls.click(ids::programming);
    EXPECT_TRUE(host.timerRunning);
    EXPECT_EQ(host.messages.size(), 3u);
}

TEST_F(ProgrammingFormTest, AChannelCountOfZeroBecomesOneAtTheFirstTimerTick)
{
    form.open();
    controls.click(ids::programming);
    image.setChannelCount(0);
    for (int i = 0; i < 14; ++i)
        tick();
    EXPECT_EQ(image.storedChannelCount(), 1u);
}

TEST_F(ProgrammingFormTest, ClosingDuringATransferLeavesTheEndStateAndTheSerialNumber)
{
    host.profileSerial = 41;
    host.profileAutoIncrement = true;
    form.open();
    controls.click(ids::programming);
    for (int i = 0; i < 40; ++i)
        tick();
    // Nothing that would start a transfer or change the serial number is offered, and a click
    // that gets through anyway is refused.
    for (const int id : {ids::programming, ids::reading, ids::serialNumber, ids::autoIncrement})
        EXPECT_FALSE(controls.enabled(id)) << id;
    controls.click(ids::reading);
    EXPECT_EQ(host.messages, std::vector<std::string>{link.busyText()});
    EXPECT_EQ(controls.close(CloseRoute::CloseBox), FormEnd::Rejected);
    EXPECT_FALSE(host.timerRunning);
    EXPECT_EQ(host.profileSerial, 42u); // 41 was reserved when the programming started
    // The main window's tick carries the transfer on to its end.
    for (int i = 0; i < 2000 && link.linkState() != LinkState::Programmed; ++i)
        tick();
    EXPECT_EQ(observer.outcomes, std::vector<std::string>{"Programming OK"});
    EXPECT_EQ(link.linkState(), LinkState::Programmed);
    EXPECT_EQ(imageSerial(), 41u);
}

// A second Programming form on the same profile, as another program window has it: neither
// programs a number the other took, and closing either never rolls the profile back.
TEST_F(ProgrammingFormTest, TwoWindowsOnOneProfileNeverProgramTheSameNumber)
{
    host.profileSerial = 100;
    host.profileAutoIncrement = true;
    form.open();
    testing::MemoryControls otherControls;
    FakeHost other;
    other.sharedProfile = &host;
    other.profileAutoIncrement = true;
    ProgrammingForm otherForm{image, link, otherControls, other};
    otherControls.setEvents(&otherForm);
    observers.add(otherForm);
    otherForm.open();
    std::vector<std::uint32_t> programmed;
    testing::MemoryControls* const windows[] = {&controls, &otherControls};
    for (int i = 0; i < 4; ++i) {
        testing::MemoryControls* window = windows[i % 2];
        window->click(ids::programming);
        while (link.busy())
            tick();
        programmed.push_back(radioSerial());
    }
    EXPECT_EQ(programmed, (std::vector<std::uint32_t>{100, 101, 102, 103}));
    EXPECT_EQ(otherControls.text(ids::serialNumber), "0000104");
    otherControls.close(CloseRoute::CloseBox);
    EXPECT_EQ(host.profileSerial, 104u);

    // A number typed in is the new starting number, used once.
    controls.type(ids::serialNumber, "500");
    controls.click(ids::programming);
    ASSERT_TRUE(runUntilTimerStops());
    EXPECT_EQ(radioSerial(), 500u);
    controls.close(CloseRoute::CloseBox);
    EXPECT_EQ(host.profileSerial, 501u);
}

} // namespace
} // namespace kq904
