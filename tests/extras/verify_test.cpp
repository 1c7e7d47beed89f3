// Reading back what a programming wrote, in virtual time against the in-process simulated radio:
// a good radio verifies, a weak EEPROM cell is found at its address, and a read that gets no
// usable answer is asked again before the radio is declared unverified.
#include <gtest/gtest.h>

#include <algorithm>

#include "link/link_bench.h"
#include "link/verify.h"

using namespace kq904;
using kq904::testing::LinkBench;

namespace {

// A radio programmed through the link, then read back through the same transport.
struct VerifyBench : LinkBench {
    explicit VerifyBench(int channels = 3)
    {
        kq904::testing::fillImage(image, channels);
        EXPECT_TRUE(link.startProgramming());
        runToEnd();
        EXPECT_EQ(link.linkState(), LinkState::Programmed);
        programmingFrames = radio.framesReceived();
    }

    // Ticks the read-back to its end; returns how many ticks it took (or limit + 1).
    int verify(VerifyRun& run, int limit = 20000)
    {
        int ticks = 0;
        while (!run.finished() && ticks <= limit) {
            transport.advanceTick();
            run.tick();
            ++ticks;
        }
        return ticks;
    }

    // The "R" frames of the read-back, as the radio received them.
    std::vector<ReceivedFrame> readRequests() const
    {
        std::vector<ReceivedFrame> reads;
        for (const auto& f : radio.recordedFrames())
            if (f.number > programmingFrames && f.letter() == FrameLetter::read)
                reads.push_back(f);
        return reads;
    }

    int programmingFrames = 0;
};

int totalBytes(const std::vector<EepromBlock>& blocks)
{
    int total = 0;
    for (const auto& b : blocks)
        total += static_cast<int>(b.bytes.size());
    return total;
}

} // namespace

// The read-back must cover exactly what went out: if the link's sequence changes, this list
// must change with it.
TEST(Verify, ProgrammedBlocksAreTheWritesTheRadioReceived)
{
    for (int channels : {1, 3, 99}) {
        VerifyBench bench(channels);
        std::vector<EepromBlock> written;
        for (const auto& f : bench.radio.recordedFrames())
            if (f.letter() == FrameLetter::write)
                written.push_back({f.address(), {f.data().begin(), f.data().end()}});
        EXPECT_EQ(programmedBlocks(bench.image), written) << channels << " channels";
    }
}

TEST(Verify, GoodRadioVerifiesWithReadsNoLongerThanAReplyCarries)
{
    VerifyBench bench(3);
    const auto blocks = programmedBlocks(bench.image);
    VerifyRun run(bench.transport, blocks);
    bench.verify(run);

    EXPECT_EQ(run.status(), VerifyStatus::Ok);
    EXPECT_TRUE(run.differences().empty());
    EXPECT_EQ(run.bytesCompared(), totalBytes(blocks));
    EXPECT_EQ(run.progressPercent(), 100);
    const auto reads = bench.readRequests();
    ASSERT_EQ(reads.size(), blocks.size()); // every block fits one reply, the 28 bytes at 0x0020
    for (std::size_t i = 0; i < reads.size(); ++i) {
        EXPECT_EQ(reads[i].address(), blocks[i].address);
        EXPECT_EQ(reads[i].count(), blocks[i].bytes.size());
        EXPECT_LE(reads[i].count(), FrameFormat::maxReadData);
    }
}

TEST(Verify, LongBlockIsReadInPiecesThatJoinUp)
{
    VerifyBench bench(1);
    // 40 bytes from 0x0600: a reply carries at most 28.
    EepromBlock block{0x0600, std::vector<std::uint8_t>(40)};
    for (std::size_t i = 0; i < block.bytes.size(); ++i)
        block.bytes[i] = static_cast<std::uint8_t>(i * 3);
    std::copy(block.bytes.begin(), block.bytes.end(), bench.radio.eeprom().begin() + 0x0600);
    bench.radio.eeprom()[0x0600 + 30] ^= 0xFF;

    VerifyRun run(bench.transport, {block});
    bench.verify(run);

    const auto reads = bench.readRequests();
    ASSERT_EQ(reads.size(), 2u);
    EXPECT_EQ(reads[0].address(), 0x0600);
    EXPECT_EQ(reads[0].count(), 28);
    EXPECT_EQ(reads[1].address(), 0x0600 + 28);
    EXPECT_EQ(reads[1].count(), 12);
    ASSERT_EQ(run.status(), VerifyStatus::Mismatch);
    EXPECT_EQ(run.differences(), (std::vector<VerifyDifference>{{0x061E, 90, 0xA5}}));
}

// A weak cell acknowledges the write; only the read-back shows the radio holds something else.
TEST(Verify, WeakEepromCellIsFoundAtItsAddress)
{
    struct Case {
        const char* where;
        std::uint16_t cell;
    };
    const Case cases[] = {
        {"channel 1 record", static_cast<std::uint16_t>(EepromMap::channelRecord(1) + 4)},
        {"IfCounters after the constant block", 0x0034},
        {"serial number", EepromMap::idSettings},
        {"last channel extra byte", static_cast<std::uint16_t>(EepromMap::channelExtra(2) + 6)},
    };
    for (const Case& c : cases) {
        VerifyBench bench(3);
        // Program again into a radio with the weak cell.
        bench.radio.setCorruptedCell(c.cell);
        EXPECT_TRUE(bench.link.startProgramming());
        bench.runToEnd();
        ASSERT_EQ(bench.link.linkState(), LinkState::Programmed) << c.where;
        bench.programmingFrames = bench.radio.framesReceived();

        VerifyRun run(bench.transport, programmedBlocks(bench.image));
        bench.verify(run);
        ASSERT_EQ(run.status(), VerifyStatus::Mismatch) << c.where;
        ASSERT_EQ(run.differences().size(), 1u) << c.where;
        const VerifyDifference& d = run.differences().front();
        EXPECT_EQ(d.address, c.cell) << c.where;
        EXPECT_EQ(d.read, d.wrote ^ 0x01) << c.where;
        EXPECT_EQ(d.read, bench.radio.eeprom()[c.cell]) << c.where;
    }
}

// A read changes nothing in the radio, so a lost or damaged answer is simply asked again.
TEST(Verify, ReadWithoutUsableAnswerIsAskedAgain)
{
    for (FaultKind fault : {FaultKind::NoAnswer, FaultKind::CorruptChecksum,
             FaultKind::ShortReadReply, FaultKind::NoiseBeforeReply}) {
        VerifyBench bench(2);
        FaultPlan plan;
        plan.at(bench.programmingFrames + 2, fault); // the second read
        bench.radio.setFaultPlan(std::move(plan));
        VerifyRun run(bench.transport, programmedBlocks(bench.image));
        bench.verify(run);

        EXPECT_EQ(run.status(), VerifyStatus::Ok) << faultName(fault);
        const auto reads = bench.readRequests();
        const bool retried = fault != FaultKind::NoiseBeforeReply;
        EXPECT_EQ(run.readsSent(), static_cast<int>(programmedBlocks(bench.image).size()) + retried)
            << faultName(fault);
        if (retried) {
            ASSERT_GE(reads.size(), 3u);
            EXPECT_EQ(reads[1].address(), reads[2].address()) << faultName(fault);
        }
        // A corrupted reply is refused with the negative reply, as the link refuses one.
        const auto& frames = bench.radio.recordedFrames();
        const bool refused = std::any_of(frames.begin(), frames.end(), [&](const ReceivedFrame& f) {
            return f.number > bench.programmingFrames && f.letter() == FrameLetter::negative;
        });
        EXPECT_EQ(refused, fault == FaultKind::CorruptChecksum) << faultName(fault);
    }
}

TEST(Verify, SilentRadioIsUnverifiedAfterEveryAttemptTimedOut)
{
    VerifyBench bench(2);
    FaultPlan plan;
    plan.silenceFrom(bench.programmingFrames + 1);
    bench.radio.setFaultPlan(std::move(plan));
    const auto blocks = programmedBlocks(bench.image);
    VerifyRun run(bench.transport, blocks);
    const int ticks = bench.verify(run);

    EXPECT_EQ(run.status(), VerifyStatus::NoAnswer);
    EXPECT_EQ(run.unansweredAddress(), blocks.front().address);
    EXPECT_EQ(run.unansweredCount(), static_cast<int>(blocks.front().bytes.size()));
    EXPECT_EQ(run.readsSent(), VerifyRun::attemptsPerRead);
    EXPECT_TRUE(run.differences().empty());
    // The settling pause, then each attempt waits its full timeout.
    EXPECT_GE(ticks, VerifyRun::settleTicks + VerifyRun::attemptsPerRead * VerifyRun::replyTimeout);
    EXPECT_LE(
        ticks, VerifyRun::settleTicks + VerifyRun::attemptsPerRead * (VerifyRun::replyTimeout + 2));
}

// Bytes still arriving from the programming are not taken for the answer to the first read.
TEST(Verify, LeftoverBytesBeforeTheFirstReadAreNotAnAnswer)
{
    VerifyBench bench(1);
    const auto blocks = programmedBlocks(bench.image);
    // A stray read reply carrying wrong data for the first block.
    const std::array<std::uint8_t, 3> head = {0, 0, 9};
    std::vector<std::uint8_t> wrong(blocks.front().bytes.size(), 0xEE);
    bench.transport.inject(wireBytes(readReplyFrame(head, wrong)));
    VerifyRun run(bench.transport, blocks);
    bench.verify(run);
    EXPECT_EQ(run.status(), VerifyStatus::Ok);
}
