// The reading and version sequences: what is fetched into which block, the channel count read
// from the radio, and a failed reading leaving the image exactly as it was.
#include <gtest/gtest.h>

#include "link_bench.h"

using namespace kq904;
using namespace kq904::testing;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Puts an image into the radio's EEPROM where programming would.
void burn(SimulatedRadio& radio, const RadioImage& image)
{
    auto put = [&](std::uint16_t address, std::span<const std::uint8_t> bytes) {
        std::copy(bytes.begin(), bytes.end(), radio.eeprom().begin() + address);
    };
    put(EepromMap::generalSettings, image.general.span());
    put(EepromMap::codeSettings, image.code.span().first(CodeSettings::transferred));
    put(EepromMap::idSettings, image.id.span());
    for (int n = 0; n < kChannelSlots; ++n) {
        put(EepromMap::channelRecord(n), image.channels[static_cast<std::size_t>(n)].span());
        put(EepromMap::channelExtra(n), image.extras[static_cast<std::size_t>(n)].span());
    }
}

// An image on the host side that differs from the radio's everywhere.
RadioImage hostImage()
{
    RadioImage image;
    fillImage(image, 7);
    for (auto* block : {image.general.bytes.data(), image.code.bytes.data(), image.id.bytes.data()})
        block[1] ^= 0xFF;
    for (auto& c : image.channels)
        c.bytes[0] ^= 0xFF;
    image.setChannelCount(7);
    return image;
}

struct ReadingBench : LinkBench {
    RadioImage inRadio;

    explicit ReadingBench(int radioChannels)
    {
        fillImage(inRadio, 1);
        inRadio.setChannelCount(radioChannels);
        burn(radio, inRadio);
        image = hostImage();
    }
};

} // namespace

TEST(Reading, FetchesSettingsAndChannelsBelowTheRadiosCount)
{
    ReadingBench bench(5);
    const RadioImage before = bench.image;
    ASSERT_TRUE(bench.link.startReading());
    bench.runToEnd();

    EXPECT_EQ(bench.observer.names(), (std::vector<std::string>{"refresh", "READ OK"}));
    for (const auto& e : bench.observer.events) {
        EXPECT_EQ(e.linkState, LinkState::ReadDone);
        EXPECT_EQ(e.channelCount, 5); // the listing redraws what was read
    }
    const RadioImage& got = bench.image;
    EXPECT_EQ(got.general, bench.inRadio.general);
    EXPECT_EQ(got.id, bench.inRadio.id);
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_EQ(got.code[i], i < 14 ? bench.inRadio.code[i] : before.code[i]) << i;
    for (std::size_t n = 0; n < kChannelSlots; ++n) {
        const RadioImage& expected = n < 5 ? bench.inRadio : before;
        EXPECT_EQ(got.channels[n], expected.channels[n]) << n;
        EXPECT_EQ(got.extras[n], expected.extras[n]) << n;
    }
    // Never fetched.
    EXPECT_EQ(got.kill, before.kill);
    EXPECT_EQ(got.factory, before.factory);
    EXPECT_EQ(got.ifCounters, before.ifCounters);

    const std::vector<std::pair<std::uint16_t, int>> expectedReads = {{0x0008, 24}, {0x0500, 14},
        {0x0514, 8}, {0x0043, 9}, {0x054A, 7}, {0x004F, 9}, {0x0551, 7}};
    const auto& frames = bench.radio.recordedFrames();
    ASSERT_EQ(frames.size(), 3u + 5 * 2);
    for (std::size_t i = 0; i < expectedReads.size(); ++i) {
        EXPECT_EQ(frames[i].letter(), 'R');
        EXPECT_EQ(frames[i].address(), expectedReads[i].first) << i;
        EXPECT_EQ(frames[i].count(), expectedReads[i].second) << i;
    }
    EXPECT_EQ(frames.back().address(), 0x054A + 7 * 4);
}

TEST(Reading, ProgrammedRadioReadsBackTheSameImage)
{
    LinkBench bench;
    fillImage(bench.image, 12);
    ASSERT_TRUE(bench.link.startProgramming());
    bench.runToEnd();
    const RadioImage programmed = bench.image;

    bench.image = hostImage();
    bench.image.factory = programmed.factory;
    bench.image.kill = programmed.kill;
    bench.image.ifCounters = programmed.ifCounters;
    for (std::size_t n = 12; n < kChannelSlots; ++n) {
        bench.image.channels[n] = programmed.channels[n];
        bench.image.extras[n] = programmed.extras[n];
    }
    ASSERT_TRUE(bench.link.startReading());
    bench.runToEnd();
    EXPECT_EQ(bench.image, programmed);
}

TEST(Reading, ChannelCountFromTheRadio)
{
    struct Case {
        unsigned radioCount;
        unsigned storedAfter;
        int channelsRead;
    };
    // 0 channels: no channel transfer at all, still "READ OK"; above 99: 99.
    for (const Case c :
        {Case{0, 0, 0}, Case{1, 1, 1}, Case{99, 99, 99}, Case{120, 99, 99}, Case{255, 99, 99}}) {
        SCOPED_TRACE(c.radioCount);
        ReadingBench bench(1);
        bench.radio.eeprom()[EepromMap::generalSettings + 3] =
            static_cast<std::uint8_t>(c.radioCount);
        ASSERT_TRUE(bench.link.startReading());
        bench.runToEnd();
        EXPECT_EQ(bench.observer.names(), (std::vector<std::string>{"refresh", "READ OK"}));
        EXPECT_EQ(bench.image.storedChannelCount(), c.storedAfter);
        EXPECT_EQ(bench.radio.framesReceived(), 3 + 2 * c.channelsRead);
        EXPECT_EQ(bench.link.chanIndex(), c.channelsRead);
    }
}

TEST(Reading, ProgressDividesByTheCountBeingRead)
{
    ReadingBench bench(40);
    ASSERT_EQ(bench.image.channelCount(), 7);
    ASSERT_TRUE(bench.link.startReading());
    // Two ticks per frame after the start delay: the settings blocks and 20 channels are in, and
    // channel 20 has just been asked for.
    bench.run(Link::startDelayTicks + 2 * (3 + 40));
    ASSERT_TRUE(bench.link.busy());
    EXPECT_EQ(bench.link.transferChannelCount(), 40);
    EXPECT_EQ(bench.link.chanIndex(), 20);
    EXPECT_EQ(bench.link.progressPercent(), 50);
    EXPECT_EQ(bench.image.channelCount(), 7); // nothing committed yet
    bench.runToEnd();
    EXPECT_EQ(bench.image.channelCount(), 40);
    EXPECT_EQ(bench.link.progressPercent(), 100);
}

TEST(Reading, AFailedReadingLeavesTheImageUntouched)
{
    struct Case {
        const char* what;
        FaultPlan plan;
        Bytes negativeRepliesSent; // letters of frames the radio got from the host
    };
    FaultPlan::Settings muchShorter;
    muchShorter.shortBy = 20;
    const Case cases[] = {
        {"no answer to the general settings", FaultPlan().at(1, FaultKind::NoAnswer), {}},
        {"silence from the first channel", FaultPlan().silenceFrom(4), {}},
        {"no answer in the middle of the channels", FaultPlan().at(9, FaultKind::NoAnswer), {}},
        {"corrupted reply to the code settings", FaultPlan().at(2, FaultKind::CorruptChecksum),
            {'0'}},
        {"short reply to the general settings", FaultPlan().at(1, FaultKind::ShortReadReply), {}},
        {"much shorter reply to a channel", FaultPlan(muchShorter).at(6, FaultKind::ShortReadReply),
            {}},
        {"reply too late", FaultPlan().at(3, FaultKind::DelayedReply).at(3, FaultKind::NoAnswer),
            {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ReadingBench bench(5);
        bench.radio.setFaultPlan(c.plan);
        const RadioImage before = bench.image;
        ASSERT_TRUE(bench.link.startReading());
        bench.runToEnd();
        EXPECT_EQ(bench.observer.names(), (std::vector<std::string>{"refresh", "Reading Fail"}));
        for (const auto& e : bench.observer.events)
            EXPECT_EQ(e.linkState, LinkState::Failed);
        EXPECT_EQ(bench.image, before);
        Bytes fromHost;
        for (const auto& f : bench.radio.recordedFrames())
            if (f.letter() != 'R')
                fromHost.push_back(f.letter());
        EXPECT_EQ(fromHost, c.negativeRepliesSent);
    }
}

TEST(Reading, NoiseAndSlowRepliesStillRead)
{
    FaultPlan::Settings slow;
    slow.delayMs = 2900;
    FaultPlan plan(slow);
    for (int frame = 1; frame <= 13; ++frame)
        plan.at(frame, FaultKind::NoiseBeforeReply);
    plan.at(2, FaultKind::DelayedReply).at(7, FaultKind::DelayedReply);
    ReadingBench bench(5);
    bench.radio.setFaultPlan(plan);
    ASSERT_TRUE(bench.link.startReading());
    bench.runToEnd();
    EXPECT_EQ(bench.observer.names(), (std::vector<std::string>{"refresh", "READ OK"}));
    EXPECT_EQ(bench.image.general, bench.inRadio.general);
    EXPECT_EQ(bench.image.extras[4], bench.inRadio.extras[4]);
}

TEST(Reading, AFrameRightBehindTheReplyDoesNotSpoilItsData)
{
    // The radio is mute; the test answers each request itself and sends a second read reply
    // right behind the first, so both reach the link in the same tick and the second fills the
    // receive buffer before the step that stores the first one's data.
    LinkBench bench;
    bench.radio.setFaultPlan(FaultPlan().silenceFrom(1));
    Bytes general(24, 0x21);
    general[3] = 0; // the channel count: no channels to read
    const Bytes code(14, 0x43), id(8, 0x65);
    ASSERT_TRUE(bench.link.startReading());
    bench.run(Link::startDelayTicks);
    for (const Bytes* data : std::initializer_list<const Bytes*>{&general, &code, &id}) {
        Bytes reply = wireBytes(readReplyFrame(std::array<std::uint8_t, 3>{0, 0, 0}, *data));
        const Bytes other = wireBytes(
            readReplyFrame(std::array<std::uint8_t, 3>{0, 0, 0}, Bytes(data->size(), 0xEE)));
        reply.insert(reply.end(), other.begin(), other.end());
        bench.transport.inject(reply);
        bench.run(2);
    }
    EXPECT_EQ(bench.observer.names(), (std::vector<std::string>{"refresh", "READ OK"}));
    EXPECT_EQ(bench.image.general[0], 0x21);
    EXPECT_EQ(bench.image.code[13], 0x43);
    EXPECT_EQ(bench.image.id[7], 0x65);
}

TEST(Version, ReplyIsTakenWithoutOutcome)
{
    ReadingBench bench(5);
    bench.radio.setVersionWord(0x0123);
    const RadioImage before = bench.image;
    ASSERT_TRUE(bench.link.requestVersion());
    bench.runToEnd();
    EXPECT_EQ(bench.link.linkState(), LinkState::ReadDone);
    EXPECT_EQ(bench.link.versionWord(), 0x0123);
    EXPECT_EQ(bench.link.chanIndex(), 7); // the progress display reads complete
    EXPECT_EQ(bench.link.progressPercent(), 100);
    EXPECT_TRUE(bench.observer.events.empty());
    EXPECT_EQ(bench.image, before);
    EXPECT_EQ(bench.radio.framesReceived(), 1);

    // With a damaged count in the image the progress display still reads complete.
    for (const unsigned stored : {0u, 150u}) {
        ReadingBench damaged(5);
        damaged.image.general.set(GeneralSettings::channelCount, stored);
        ASSERT_TRUE(damaged.link.requestVersion());
        damaged.runToEnd();
        EXPECT_EQ(damaged.link.progressPercent(), 100) << stored;
    }
}

TEST(Version, ATwoStartsAFullReading)
{
    ReadingBench bench(5);
    bench.radio.setFaultPlan(FaultPlan().at(1, FaultKind::TwoInsteadOfVersion));
    ASSERT_TRUE(bench.link.requestVersion());
    bench.runToEnd();
    EXPECT_EQ(bench.observer.names(), (std::vector<std::string>{"refresh", "READ OK"}));
    EXPECT_EQ(bench.image.general, bench.inRadio.general);
    EXPECT_EQ(bench.radio.framesReceived(), 1 + 3 + 5 * 2);
    EXPECT_EQ(bench.link.versionWord(), 0);
}

TEST(Version, NoReplyIsAFailedReading)
{
    ReadingBench bench(5);
    bench.radio.setFaultPlan(FaultPlan().silenceFrom(1));
    const RadioImage before = bench.image;
    ASSERT_TRUE(bench.link.requestVersion());
    bench.runToEnd();
    ASSERT_EQ(bench.observer.names(), (std::vector<std::string>{"refresh", "Reading Fail"}));
    EXPECT_EQ(bench.observer.events[1].tick, Link::startDelayTicks + 200);
    EXPECT_EQ(bench.image, before);
}
