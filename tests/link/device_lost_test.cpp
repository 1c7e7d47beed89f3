// A device that goes away under a running sequence (cable pulled): the port closes, no reply or
// timeout can come any more, so the sequence must end as failed at once instead of hanging.
#include <gtest/gtest.h>

#include "link_bench.h"

using namespace kq904;
using namespace kq904::testing;

namespace {

struct LostCase {
    const char* name;
    Result (Link::*start)();
    int ticksBeforeLoss;
    const char* outcome;
};

const LostCase kCases[] = {
    {"programming mid-way", &Link::startProgramming, 60, "Programming Fail"},
    {"programming during start delay", &Link::startProgramming, 5, "Programming Fail"},
    {"reading mid-way", &Link::startReading, 60, "Reading Fail"},
    {"version request", &Link::requestVersion, 33, "Reading Fail"},
};

} // namespace

TEST(DeviceLost, RunningSequenceEndsAsFailedAndImageIsKept)
{
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        LinkBench bench;
        fillImage(bench.image, 5);
        const RadioImage before = bench.image;
        ASSERT_TRUE((bench.link.*c.start)().ok);
        bench.run(c.ticksBeforeLoss);
        ASSERT_TRUE(bench.link.busy());
        bench.transport.loseDevice();
        bench.tick();
        EXPECT_FALSE(bench.link.busy());
        EXPECT_EQ(bench.link.linkState(), LinkState::Failed);
        ASSERT_FALSE(bench.observer.events.empty());
        EXPECT_EQ(bench.observer.events.back().what, c.outcome);
        if (std::string(c.outcome) == "Reading Fail") {
            EXPECT_TRUE(bench.image == before);
        }
        // Idle afterwards: no second outcome while the port stays closed.
        const auto reported = bench.observer.events.size();
        bench.run(500);
        EXPECT_EQ(bench.observer.events.size(), reported);
    }
}

TEST(DeviceLost, IdleLinkWithClosedPortReportsNothing)
{
    LinkBench bench;
    ASSERT_TRUE(bench.link.startProgramming().ok);
    bench.runToEnd();
    ASSERT_EQ(bench.observer.names().back(), "Programming OK");
    bench.link.returnToIdle();
    bench.transport.loseDevice();
    const auto reported = bench.observer.events.size();
    bench.run(500);
    EXPECT_EQ(bench.observer.events.size(), reported);
    // The next transfer opens the port again and works.
    ASSERT_TRUE(bench.link.startProgramming().ok);
    bench.runToEnd();
    EXPECT_EQ(bench.observer.names().back(), "Programming OK");
}
