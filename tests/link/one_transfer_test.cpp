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
    const char* refusal; // how the refusal begins
};

const SecondStartCase kCases[] = {
    {"1.3 s into a programming", &Link::startProgramming, 87, "Programming OK", "A programming"},
    {"during the start delay", &Link::startProgramming, 5, "Programming OK", "A programming"},
    {"during a reading", &Link::startReading, 60, "READ OK", "A reading"},
    {"during a version request", &Link::requestVersion, 34, "", "A version request"},
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
            const LinkState state = bench.link.linkState();
            const int frames = bench.radio.framesReceived();

            const Result refused = (bench.link.*second)();
            EXPECT_FALSE(refused);
            EXPECT_TRUE(refused.error.starts_with(c.refusal)) << refused.error;
            EXPECT_EQ(bench.link.linkState(), state);
            EXPECT_EQ(bench.radio.framesReceived(), frames);

            bench.runToEnd();
            const auto names = bench.observer.names();
            EXPECT_EQ(names.empty() ? "" : names.back(), c.outcome);
            EXPECT_EQ(bench.observer.busyChanges, (std::vector<bool>{true, false}));
        }
    }
}
