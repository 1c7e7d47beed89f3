// What the link does with each frame that arrives, and when: acknowledges, negative replies to
// corrupted frames, replies outside their state, the step guard and the silence timeout.
#include <gtest/gtest.h>

#include "link_bench.h"

using namespace kq904;
using namespace kq904::testing;
using Bytes = std::vector<std::uint8_t>;

namespace {

// A link whose port is open and whose start delay has run out, idle.
struct IdleLink : LinkBench {
    IdleLink()
    {
        radio.setFaultPlan(FaultPlan().silenceFrom(1));
        EXPECT_TRUE(link.requestVersion());
        run(Link::startDelayTicks);
        link.returnToIdle();
        transport.clearWritten();
    }
};

} // namespace

TEST(ReplyHandling, AcknowledgeAndCorruptedFrame)
{
    IdleLink bench;
    bench.transport.inject(Bytes{0x3C, 0x3C, 0x3C, 0x02, 0x31, 0x33});
    bench.tick();
    EXPECT_TRUE(bench.link.ackFlag());
    EXPECT_TRUE(bench.transport.written().empty());

    // A bad checksum is answered with the negative reply and leaves ackFlag as it was.
    IdleLink clean;
    clean.transport.inject(Bytes{0x3C, 0x3C, 0x3C, 0x02, 0x31, 0x00});
    clean.tick();
    EXPECT_FALSE(clean.link.ackFlag());
    EXPECT_EQ(clean.transport.written(), (Bytes{0x3C, 0x3C, 0x3C, 0x02, 0x30, 0x32}));
}

TEST(ReplyHandling, RepliesOutsideTheirStateChangeNoState)
{
    const Bytes readReply =
        wireBytes(readReplyFrame(std::array<std::uint8_t, 3>{0, 8, 24}, Bytes(24, 0x55)));
    const Bytes two = wireBytes(commandFrame(FrameLetter::startReading));

    IdleLink idle;
    const RadioImage before = idle.image;
    idle.transport.inject(readReply);
    idle.transport.inject(two);
    idle.run(3);
    EXPECT_EQ(idle.link.linkState(), LinkState::Idle);
    EXPECT_EQ(idle.image, before);

    // While waiting for the version reply a read reply is no answer.
    IdleLink waiting;
    ASSERT_TRUE(waiting.link.requestVersion());
    ASSERT_EQ(waiting.link.linkState(), LinkState::AwaitVersion);
    waiting.transport.inject(readReply);
    waiting.run(3);
    EXPECT_EQ(waiting.link.linkState(), LinkState::AwaitVersion);

    // A version reply in idle keeps its word but moves no state.
    IdleLink version;
    version.transport.inject(wireBytes(versionReplyFrame(0x0123)));
    version.tick();
    EXPECT_EQ(version.link.versionWord(), 0x0123);
    EXPECT_EQ(version.link.linkState(), LinkState::Idle);
    EXPECT_TRUE(version.observer.events.empty());
}

TEST(ReplyHandling, AFrameCompletedDuringTheStartDelayWaitsForTheFirstStep)
{
    LinkBench bench;
    bench.radio.setFaultPlan(FaultPlan().silenceFrom(1));
    ASSERT_TRUE(bench.link.startReading()); // opens the port: 33 ticks of start delay
    bench.transport.inject(wireBytes(versionReplyFrame(0x0123)));
    bench.run(5);
    EXPECT_TRUE(bench.link.parser().complete());
    EXPECT_EQ(bench.link.versionWord(), 0);
    bench.run(Link::startDelayTicks - 5);
    EXPECT_EQ(bench.link.versionWord(), 0x0123);
    EXPECT_FALSE(bench.link.parser().complete());

    // Unless another byte arrives first: then frame and byte are dropped.
    LinkBench dropped;
    dropped.radio.setFaultPlan(FaultPlan().silenceFrom(1));
    ASSERT_TRUE(dropped.link.startReading());
    dropped.transport.inject(wireBytes(versionReplyFrame(0x0123)));
    dropped.run(2);
    dropped.transport.inject(Bytes{0x3C});
    dropped.run(Link::startDelayTicks);
    EXPECT_EQ(dropped.link.versionWord(), 0);
}

TEST(ReplyHandling, SilenceDiscardsAPartialFrame)
{
    IdleLink bench;
    bench.transport.inject(Bytes{0x3C, 0x3C, 0x3C, 0x02, 0x31});
    bench.tick(); // the bytes arrive
    bench.run(Link::activityTimeout - 1);
    EXPECT_EQ(bench.link.parser().state(), ReceiveParser::State::Body);
    bench.tick();
    EXPECT_EQ(bench.link.parser().state(), ReceiveParser::State::Idle);
    // The checksum byte arriving now starts no frame and completes none.
    bench.transport.inject(Bytes{0x33});
    bench.run(2);
    EXPECT_FALSE(bench.link.ackFlag());
}

TEST(ReplyHandling, StartDelayIsArmedOnlyWhenThePortOpens)
{
    LinkBench bench;
    ASSERT_TRUE(bench.link.startProgramming());
    EXPECT_EQ(bench.link.startDelay(), 33); // 495 ms
    EXPECT_TRUE(bench.radio.recordedFrames().empty());
    bench.run(32);
    EXPECT_EQ(bench.radio.framesReceived(), 0);
    bench.tick(); // the tick on which the delay reaches 0 sends the first frame
    EXPECT_EQ(bench.radio.framesReceived(), 1);
    bench.runToEnd();

    // A second start on the open port sends at once.
    const int before = bench.radio.framesReceived();
    ASSERT_TRUE(bench.link.startReading());
    EXPECT_EQ(bench.link.startDelay(), 0);
    EXPECT_EQ(bench.radio.framesReceived(), before + 1);
    EXPECT_EQ(bench.transport.openAttempts(), 1);
}

TEST(ReplyHandling, APortThatWillNotOpenStartsNothing)
{
    LinkBench bench;
    bench.transport.setOpenFails(true);
    const Result result = bench.link.startProgramming();
    EXPECT_FALSE(result);
    EXPECT_EQ(result.error, "Com Port Fail");
    EXPECT_EQ(bench.link.linkState(), LinkState::Idle);
    bench.run(50);
    EXPECT_TRUE(bench.transport.written().empty());

    // The next attempt tries the port again.
    bench.transport.setOpenFails(false);
    EXPECT_TRUE(bench.link.startProgramming());
    EXPECT_EQ(bench.transport.openAttempts(), 2);
    EXPECT_EQ(bench.link.linkState(), LinkState::ProgramStart);
}
