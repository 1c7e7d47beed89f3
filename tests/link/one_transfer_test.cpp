// One transfer at a time: a start while a programming, reading or version request runs is
// refused and leaves the running sequence untouched; the observer hears each start and end once.
#include <gtest/gtest.h>

#include "link_bench.h"

using namespace kq904;
using namespace kq904::testing;

namespace {

using Start = Result (Link::*)();

struct SecondStartCase {
    const char* name;
    Start first;
    int ticksIn; // into the first sequence: during the start delay, or mid-way
    const char* outcome; // of the first, which must stand
    const char* refusal;
};

const SecondStartCase kCases[] = {
    {"reading 1.3 s into a programming", &Link::startProgramming, 87, "Programming OK",
        "A programming of the radio is under way: wait for its outcome"},
    {"during the start delay", &Link::startProgramming, 5, "Programming OK",
        "A programming of the radio is under way: wait for its outcome"},
    {"during a reading", &Link::startReading, 60, "READ OK",
        "A reading of the radio is under way: wait for its outcome"},
    {"during a version request", &Link::requestVersion, 34, "",
        "A version request to the radio is under way: wait for its outcome"},
};

} // namespace

TEST(OneTransferAtATime, AStartDuringATransferIsRefusedAndTheFirstRunsOn)
{
    const Start seconds[] = {&Link::startProgramming, &Link::startReading, &Link::requestVersion};
    for (const auto& c : kCases) {
        for (const Start second : seconds) {
            SCOPED_TRACE(c.name);
            LinkBench bench;
            fillImage(bench.image, 20);
            bench.radio.setReplyLatencyMs(30);
            ASSERT_TRUE((bench.link.*c.first)());
            bench.run(c.ticksIn);
            ASSERT_TRUE(bench.link.busy());
            const std::uint8_t state = bench.link.linkState();
            const int frames = bench.radio.framesReceived();

            const Result refused = (bench.link.*second)();
            EXPECT_FALSE(refused);
            EXPECT_EQ(refused.error, c.refusal);
            EXPECT_EQ(bench.link.linkState(), state);
            EXPECT_EQ(bench.radio.framesReceived(), frames);

            bench.runToEnd();
            const auto names = bench.observer.names();
            if (*c.outcome) {
                ASSERT_FALSE(names.empty());
                EXPECT_EQ(names.back(), c.outcome);
            }
            EXPECT_EQ(std::count(names.begin(), names.end(), "Programming Fail")
                    + std::count(names.begin(), names.end(), "Reading Fail"),
                0);
            EXPECT_EQ(bench.observer.busyChanges, (std::vector<bool>{true, false}));
            EXPECT_TRUE(bench.link.busyText().empty());
        }
    }
}

TEST(OneTransferAtATime, TheNextTransferStartsOnceTheOutcomeIsKnown)
{
    LinkBench bench;
    bench.radio.setFaultPlan(FaultPlan().silenceFrom(1));
    ASSERT_TRUE(bench.link.startProgramming());
    bench.runToEnd();
    ASSERT_EQ(bench.observer.names(), std::vector<std::string>{"Programming Fail"});
    // The failed state ends the transfer: no need to wait for the form to take it in.
    EXPECT_TRUE(bench.link.startReading());
    EXPECT_EQ(bench.observer.busyChanges, (std::vector<bool>{true, false, true}));
}
