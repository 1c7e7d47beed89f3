// Fast transfer against the paced link, both in virtual time on the simulated radio: the same
// bytes on the line in the same order, the same outcomes and reasons, the same image, whatever
// the radio does wrong; only the time between a reply and the next frame goes.
#include <gtest/gtest.h>

#include "link_bench.h"

using namespace kq904;
using namespace kq904::testing;

namespace {

constexpr std::int64_t kLatencyMs = 4; // the radio answers within the tick, as a USB adapter can

enum class Sequence { Program, Read, Version };

struct LineLog {
    std::vector<std::uint8_t> written; // every byte the link sent
    std::vector<std::vector<std::uint8_t>> replies; // what the radio answered, frame by frame
    std::vector<std::string> outcomes;
    std::string reason;
    RadioImage image;
    SimulatedRadio::Eeprom eeprom;
    int ticks = 0;
    std::int64_t lastFrameMs = 0;
    long outcomeTick = 0;
};

LineLog run(Sequence sequence, bool fast, const FaultPlan& plan, int channels,
    const std::vector<std::uint8_t>& strayBeforeStart = {})
{
    LinkBench bench(0);
    fillImage(bench.image, channels);
    bench.radio.setReplyLatencyMs(kLatencyMs);
    bench.radio.setFaultPlan(plan);
    // The radio holds another configuration, so a reading changes the image.
    for (std::size_t a = 0; a < bench.radio.eeprom().size(); ++a)
        bench.radio.eeprom()[a] = static_cast<std::uint8_t>(a * 7 + 3);
    bench.radio.eeprom()[EepromMap::generalSettings + 3] = static_cast<std::uint8_t>(channels);
    bench.link.setFastTransfer(fast);
    bench.transport.inject(strayBeforeStart);
    const Result started = sequence == Sequence::Program ? bench.link.startProgramming()
        : sequence == Sequence::Read                     ? bench.link.startReading()
                                                         : bench.link.requestVersion();
    EXPECT_TRUE(started);
    LineLog r;
    r.ticks = bench.runToEnd(20000, true);
    r.written = bench.transport.written();
    for (const auto& frame : bench.radio.recordedFrames()) {
        r.replies.push_back(frame.reply);
        r.lastFrameMs = frame.atMs;
    }
    r.outcomes = bench.observer.names();
    if (!bench.observer.events.empty())
        r.outcomeTick = bench.observer.events.back().tick;
    if (const auto& failure = bench.link.lastFailure())
        r.reason = failureText(*failure, "COM1");
    if (sequence == Sequence::Version)
        r.outcomes.push_back("version " + std::to_string(bench.link.versionWord()));
    r.image = bench.image;
    r.eeprom = bench.radio.eeprom();
    return r;
}

void expectSameOnTheLine(const LineLog& paced, const LineLog& fast)
{
    EXPECT_EQ(fast.written, paced.written);
    EXPECT_EQ(fast.replies, paced.replies);
    EXPECT_EQ(fast.outcomes, paced.outcomes);
    EXPECT_EQ(fast.reason, paced.reason);
    EXPECT_TRUE(fast.image == paced.image);
    EXPECT_EQ(fast.eeprom, paced.eeprom);
}

} // namespace

TEST(FastTransfer, WholeSequencesSendTheSameBytesInAFractionOfTheTime)
{
    for (const Sequence sequence : {Sequence::Program, Sequence::Read}) {
        SCOPED_TRACE(sequence == Sequence::Program ? "programming" : "reading");
        const LineLog paced = run(sequence, false, {}, 99);
        const LineLog fast = run(sequence, true, {}, 99);
        expectSameOnTheLine(paced, fast);
        ASSERT_FALSE(fast.outcomes.empty());
        EXPECT_EQ(
            fast.outcomes.back(), sequence == Sequence::Program ? "Programming OK" : "READ OK");
        EXPECT_EQ(fast.replies.size(), sequence == Sequence::Program ? 204u : 201u);
        // Paced: the start delay, then two ticks a frame. Fast: the start delay, then the
        // radio's latency a frame (204 x 4 ms is 55 ticks).
        EXPECT_GT(paced.ticks, 33 + 2 * 200);
        EXPECT_LT(fast.ticks, 33 + 60);
    }
}

// Every fault the simulated radio can commit, on each kind of sequence: the fast link must end
// where the paced one ends, for the same reason, after the same frames.
TEST(FastTransfer, EveryFaultEndsAsOnThePacedLink)
{
    struct Target {
        Sequence sequence;
        int frame; // a frame of that sequence worth spoiling
    };
    const Target targets[] = {{Sequence::Program, 5}, {Sequence::Program, 12}, {Sequence::Read, 4},
        {Sequence::Version, 1}};
    for (const Target& target : targets) {
        for (const FaultKind kind : kAllFaultKinds) {
            SCOPED_TRACE(std::string(faultName(kind)) + " at frame " + std::to_string(target.frame)
                + " of sequence " + std::to_string(static_cast<int>(target.sequence)));
            const FaultPlan plan = FaultPlan().at(target.frame, kind);
            expectSameOnTheLine(
                run(target.sequence, false, plan, 3), run(target.sequence, true, plan, 3));
        }
        const FaultPlan silent = FaultPlan().silenceFrom(target.frame);
        expectSameOnTheLine(
            run(target.sequence, false, silent, 3), run(target.sequence, true, silent, 3));
    }
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE("random faults, seed " + std::to_string(seed));
        FaultPlan plan;
        for (const FaultKind kind : kAllFaultKinds)
            plan.atRandom(kind, 0.03, seed * 31 + static_cast<std::uint32_t>(kind));
        for (const Sequence sequence : {Sequence::Program, Sequence::Read})
            expectSameOnTheLine(run(sequence, false, plan, 20), run(sequence, true, plan, 20));
    }
}

TEST(FastTransfer, StrayAcknowledgeBeforeTheStartIsNoAnswerToTheFirstFrame)
{
    // The "1" arrives while the start delay holds the first frame back: it is taken in, and the
    // first request does not count it as its answer, on either link.
    const std::vector<std::uint8_t> stray = {0x3C, 0x3C, 0x3C, 0x02, 0x31, 0x33};
    const FaultPlan lostFirstAck = FaultPlan().at(1, FaultKind::NoAnswer);
    const LineLog paced = run(Sequence::Program, false, lostFirstAck, 2, stray);
    const LineLog fast = run(Sequence::Program, true, lostFirstAck, 2, stray);
    expectSameOnTheLine(paced, fast);
    EXPECT_EQ(fast.outcomes, std::vector<std::string>{"Programming Fail"});
    EXPECT_EQ(fast.replies.size(), 1u);
}

TEST(FastTransfer, TheRadioGetsAtLeastThePacedLinksTimeToAnswer)
{
    // From the unanswered frame to the failure: 200 ticks on the paced link, where an answer
    // must have come by the tick before; the fast link takes an answer the moment it comes and
    // fails on the same tick count after a frame sent between ticks.
    const FaultPlan silent = FaultPlan().silenceFrom(7);
    const LineLog paced = run(Sequence::Program, false, silent, 3);
    const LineLog fast = run(Sequence::Program, true, silent, 3);
    EXPECT_EQ(paced.outcomeTick * 15 - paced.lastFrameMs, 3000);
    const std::int64_t fastWait = fast.outcomeTick * 15 - fast.lastFrameMs;
    EXPECT_GT(fastWait, 2985);
    EXPECT_LE(fastWait, 3000);
}
