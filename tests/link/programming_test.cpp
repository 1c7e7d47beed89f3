// The programming sequence against the simulated radio: what goes where, in which order, what is
// recomputed on the way, the timeouts, and how long a whole programming takes.
#include <gtest/gtest.h>

#include "link_bench.h"

using namespace kq904;
using namespace kq904::testing;
using Bytes = std::vector<std::uint8_t>;

namespace {

struct Write {
    std::uint16_t address;
    int count;
    bool operator==(const Write&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Write& w)
{
    return os << std::hex << "W(0x" << w.address << ", " << std::dec << w.count << ")";
}

// The writes the radio received, in order; "D" shows as address 0xFFFF.
std::vector<Write> writesOf(const SimulatedRadio& radio)
{
    std::vector<Write> out;
    for (const auto& f : radio.recordedFrames()) {
        if (f.letter() == 'W')
            out.push_back({f.address(), f.count()});
        else if (f.letter() == 'D')
            out.push_back({0xFFFF, 0});
    }
    return out;
}

Bytes eepromAt(const SimulatedRadio& radio, std::size_t address, std::size_t count)
{
    return Bytes(radio.eeprom().begin() + static_cast<long>(address),
        radio.eeprom().begin() + static_cast<long>(address + count));
}

template <typename B> Bytes bytesOf(const B& block, std::size_t count = B::size)
{
    return Bytes(block.bytes.begin(), block.bytes.begin() + static_cast<long>(count));
}

} // namespace

TEST(Programming, ThreeChannelsInOrder)
{
    LinkBench bench;
    fillImage(bench.image, 3);
    ASSERT_TRUE(bench.link.startProgramming());
    bench.runToEnd();

    const std::vector<Write> expected = {{0x0043, 9}, {0x054A, 7}, {0x004F, 9}, {0x0551, 7},
        {0x005B, 9}, {0x0558, 7}, {0x0008, 24}, {0x0020, 28}, {0x04EE, 17}, {0x0500, 14},
        {0x0514, 8}, {0xFFFF, 0}};
    EXPECT_EQ(writesOf(bench.radio), expected);
    EXPECT_EQ(bench.observer.names(), std::vector<std::string>{"Programming OK"});
    EXPECT_EQ(bench.observer.events[0].linkState, LinkState::Programmed);
    EXPECT_EQ(bench.link.linkState(), LinkState::Programmed);
    EXPECT_EQ(bench.radio.programmingEnds(), 1);

    // What the radio holds is what the image holds, blocks and channels alike.
    const auto& image = bench.image;
    EXPECT_EQ(eepromAt(bench.radio, 0x0008, 24), bytesOf(image.general));
    EXPECT_EQ(eepromAt(bench.radio, 0x0500, 14), bytesOf(image.code, 14));
    EXPECT_EQ(eepromAt(bench.radio, 0x0514, 8), bytesOf(image.id));
    EXPECT_EQ(eepromAt(bench.radio, 0x04EE, 17), bytesOf(image.kill));
    EXPECT_EQ(image.kill[0], 0xCF); // set in the image just before the block is sent
    for (int n = 0; n < 3; ++n) {
        EXPECT_EQ(eepromAt(bench.radio, EepromMap::channelRecord(n), 9),
            bytesOf(image.channels[static_cast<std::size_t>(n)]));
        EXPECT_EQ(eepromAt(bench.radio, EepromMap::channelExtra(n), 7),
            bytesOf(image.extras[static_cast<std::size_t>(n)]));
    }
    // Channels at or above the count are not sent.
    EXPECT_EQ(eepromAt(bench.radio, EepromMap::channelRecord(3), 9), Bytes(9, 0xFF));
}

TEST(Programming, NinetyNineChannelsFillTheirSlotsAndNoMore)
{
    LinkBench bench;
    fillImage(bench.image, 99);
    ASSERT_TRUE(bench.link.startProgramming());
    bench.runToEnd();
    ASSERT_EQ(bench.observer.names(), std::vector<std::string>{"Programming OK"});

    std::vector<bool> written(SimulatedRadio::eepromSize, false);
    for (const auto& f : bench.radio.recordedFrames()) {
        if (f.letter() == 'W')
            for (int i = 0; i < f.count(); ++i)
                written[f.address() + static_cast<std::size_t>(i)] = true;
    }
    const auto& frames = bench.radio.recordedFrames();
    ASSERT_EQ(frames.size(), 99u * 2 + 6);
    EXPECT_EQ(frames[196].address(), 0x04DB); // channel 98's record: 0x04DB-0x04E3
    EXPECT_EQ(frames[197].address(), 0x07F8); // channel 98's extra: 0x07F8-0x07FE
    EXPECT_TRUE(written[0x04E3]);
    EXPECT_TRUE(written[0x07FE]);
    EXPECT_FALSE(written[0x07FF]);
    EXPECT_EQ(bench.radio.eeprom()[0x07FF], 0xFF);
    // The three bytes between consecutive channel records are never written.
    for (int n = 0; n < 98; ++n)
        for (int gap = 9; gap < 12; ++gap)
            EXPECT_FALSE(written[EepromMap::channelRecord(n) + static_cast<std::size_t>(gap)]);
}

TEST(Programming, ChannelCountOutOfRange)
{
    struct Case {
        unsigned stored;
        int channelsSent;
    };
    // A count of 0 still programs channel 0; a damaged count above 99 stops at the last slot.
    for (const Case c : {Case{0, 1}, Case{1, 1}, Case{120, 99}, Case{255, 99}}) {
        SCOPED_TRACE(c.stored);
        LinkBench bench;
        fillImage(bench.image, 1);
        bench.image.general.set(GeneralSettings::channelCount, c.stored);
        ASSERT_TRUE(bench.link.startProgramming());
        bench.runToEnd();
        EXPECT_EQ(bench.observer.names(), std::vector<std::string>{"Programming OK"});
        EXPECT_EQ(bench.radio.framesReceived(), c.channelsSent * 2 + 6);
    }
}

TEST(Programming, BandEdgesAndTheIfSide)
{
    // One channel, band 1 = 150.000-160.000 MHz, band 2 empty; IF 21.4 MHz.
    struct Case {
        const char* what;
        std::uint32_t txHz;
        std::uint32_t oscillatorHz;
        bool oscillatorAbove;
        bool txIn;
        bool rxIn;
    };
    const Case cases[] = {
        {"lower edges", 150000000, 150000000 - 21400000, false, true, true},
        {"upper edges", 160000000, 160000000 + 21400000, true, true, true},
        {"5 kHz below", 149995000, 149995000 - 21400000, false, false, false},
        {"receive side uses oscillator - IF when above", 155000000, 155000000, true, true, false},
        {"receive side uses oscillator + IF when below", 155000000, 130000000, false, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LinkBench bench;
        fillImage(bench.image, 1);
        auto& f = bench.image.factory;
        f.set(FactorySettings::band1Low, 150000000);
        f.set(FactorySettings::band1High, 160000000);
        f.set(FactorySettings::band2Low, 1);
        f.set(FactorySettings::band2High, 0);
        f.set(FactorySettings::oscillatorAbove, c.oscillatorAbove);
        setTransmitFrequency(bench.image, 0, c.txHz);
        encodeHalf(bench.image, 0, Half::Receive, c.oscillatorHz);
        // Stale bits, the opposite of the truth.
        bench.image.channels[0].set(ChannelRecord::txInBand, !c.txIn);
        bench.image.extras[0].set(ChannelExtra::rxInBand, !c.rxIn);
        ASSERT_TRUE(bench.link.startProgramming());
        bench.runToEnd();
        EXPECT_EQ((bench.radio.eeprom()[0x0043 + 8] & 0x80) != 0, c.txIn);
        EXPECT_EQ((bench.radio.eeprom()[0x054A] & 0x04) != 0, c.rxIn);
        // Stored back into the image as well.
        EXPECT_EQ(bench.image.channels[0].get(ChannelRecord::txInBand), c.txIn);
        EXPECT_EQ(bench.image.extras[0].get(ChannelExtra::rxInBand), c.rxIn);
    }
}

TEST(Programming, IfCountersGoWithTheConstantBlock)
{
    struct Case {
        bool prescaler64;
        bool oscillatorAbove;
        Bytes counters;
    };
    const Case cases[] = {
        {false, false, {0x70, 0x21, 0x00, 0x00, 0xC0, 0x1A, 0x00, 0x00}},
        {true, true, {0x70, 0x42, 0x00, 0x01, 0x40, 0x35, 0x00, 0x00}},
    };
    for (const auto& c : cases) {
        LinkBench bench;
        fillImage(bench.image, 1);
        bench.image.general.set(GeneralSettings::prescalerFlag, c.prescaler64);
        bench.image.factory.set(FactorySettings::oscillatorAbove, c.oscillatorAbove);
        bench.image.ifCounters.bytes.fill(0xEE); // stale: must be recomputed
        ASSERT_TRUE(bench.link.startProgramming());
        bench.runToEnd();
        Bytes block(28);
        std::copy(kConstantBlock.begin(), kConstantBlock.end(), block.begin());
        std::copy(c.counters.begin(), c.counters.end(), block.begin() + 20);
        EXPECT_EQ(eepromAt(bench.radio, 0x0020, 28), block);
        EXPECT_EQ(bytesOf(bench.image.ifCounters), c.counters);
    }
}

TEST(Programming, IdealTimingOfAFullProgramming)
{
    // Every reply readable at the tick after its frame: 33 ticks of start delay (the first frame
    // leaves on tick 33), two ticks per channel frame, three per settings frame and "D" (the
    // ack is acted on the step after it arrives, and the next step sends), and one for the step
    // from the last channel to the settings.
    LinkBench bench;
    fillImage(bench.image, 99);
    ASSERT_TRUE(bench.link.startProgramming());
    bench.runToEnd();
    ASSERT_EQ(bench.observer.events.size(), 1u);
    EXPECT_EQ(bench.observer.events[0].what, "Programming OK");
    EXPECT_EQ(bench.observer.events[0].tick, 447);
    EXPECT_EQ(bench.radio.recordedFrames().front().atMs, 33 * InProcessTransport::tickMs);
}

TEST(Programming, ReplyTimeouts)
{
    // No answer to the 5th frame (channel 2's record): fail 200 ticks after it was sent.
    LinkBench silent;
    fillImage(silent.image, 5);
    silent.radio.setFaultPlan(FaultPlan().silenceFrom(5));
    ASSERT_TRUE(silent.link.startProgramming());
    silent.runToEnd();
    const long sentAt = silent.radio.recordedFrames()[4].atMs / InProcessTransport::tickMs;
    ASSERT_EQ(silent.observer.events.size(), 1u);
    EXPECT_EQ(silent.observer.events[0].what, "Programming Fail");
    EXPECT_EQ(silent.observer.events[0].tick, sentAt + 200);
    EXPECT_EQ(silent.observer.events[0].linkState, LinkState::Failed);
    EXPECT_EQ(silent.radio.framesReceived(), 5); // nothing is retried
}

TEST(Programming, EndOfProgrammingWaitsLonger)
{
    // "D" is frame 1 * 2 + 6 = 8 for one channel. Its acknowledge may take up to 395 ticks.
    struct Case {
        std::int64_t delayMs;
        const char* outcome;
    };
    // Readable 1 + delay/15 ticks after "D" left; taken in then, acted on at the next step.
    for (const Case c :
        {Case{3100, "Programming OK"}, Case{5000, "Programming OK"}, Case{5910, "Programming OK"},
            Case{5925, "Programming Fail"}, Case{7000, "Programming Fail"}}) {
        SCOPED_TRACE(c.delayMs);
        FaultPlan::Settings settings;
        settings.delayMs = c.delayMs;
        LinkBench bench;
        fillImage(bench.image, 1);
        bench.radio.setFaultPlan(FaultPlan(settings).at(8, FaultKind::DelayedReply));
        ASSERT_TRUE(bench.link.startProgramming());
        bench.runToEnd();
        ASSERT_EQ(bench.observer.events.size(), 1u);
        EXPECT_EQ(bench.observer.events[0].what, c.outcome);
        if (std::string(c.outcome) == "Programming Fail") {
            const long sentAt = bench.radio.recordedFrames()[7].atMs / InProcessTransport::tickMs;
            EXPECT_EQ(bench.observer.events[0].tick, sentAt + 396);
        }
    }
}
