// Every failed transfer says why: which frame waited for its answer, what it carried, how long
// the link waited, and what came instead (nothing, a refusal, a spoiled or short answer). A
// device that went away is tried end to end (cli_link).
#include <gtest/gtest.h>

#include "link_bench.h"

using namespace kq904;
using namespace kq904::testing;

namespace {

struct ReasonCase {
    const char* name;
    Result (Link::*start)();
    int frame;
    FaultKind fault;
    const char* text; // on the device "/dev/ttyUSB0"
};

// Three channels: a programming is 12 frames (record and extra per channel, five blocks, "D");
// the radio holds two, so a reading is 7 (three blocks, record and extra per channel).
const ReasonCase kCases[] = {
    {"silent radio", &Link::startProgramming, 4, FaultKind::NoAnswer,
        "/dev/ttyUSB0: no answer from the radio within 3 s after frame 4 of 12 (W 0x0551: "
        "channel 2 extra)"},
    {"refused write", &Link::startProgramming, 7, FaultKind::NegativeAck,
        "/dev/ttyUSB0: the radio refused frame 7 of 12 (W 0x0008: general settings)"},
    {"end of programming unanswered", &Link::startProgramming, 12, FaultKind::NoAnswer,
        "/dev/ttyUSB0: no answer from the radio within 5.94 s after frame 12 of 12 (D: end of "
        "programming)"},
    {"spoiled first answer", &Link::startReading, 1, FaultKind::CorruptChecksum,
        "/dev/ttyUSB0: the radio's answer to frame 1 (R 0x0008: general settings) arrived "
        "damaged (wrong checksum), and no good answer followed within 3 s"},
    {"short read reply", &Link::startReading, 5, FaultKind::ShortReadReply,
        "/dev/ttyUSB0: the radio's answer to frame 5 of 7 (R 0x054A: channel 1 extra) carried "
        "fewer bytes than were asked for, and no full answer followed within 3 s"},
};

} // namespace

TEST(FailureReason, NamesTheFrameAndWhatCameInsteadOfItsAnswer)
{
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        LinkBench bench;
        fillImage(bench.image, 3);
        bench.radio.eeprom()[EepromMap::generalSettings + 3] = 2;
        bench.radio.setFaultPlan(FaultPlan().at(c.frame, c.fault));
        ASSERT_TRUE((bench.link.*c.start)());
        bench.runToEnd();
        ASSERT_EQ(bench.link.linkState(), LinkState::Failed);
        ASSERT_TRUE(bench.link.lastFailure());
        EXPECT_EQ(failureText(*bench.link.lastFailure(), "/dev/ttyUSB0"), c.text);
        // The next start clears it: a later success shows no stale reason.
        ASSERT_TRUE(bench.link.startReading());
        EXPECT_FALSE(bench.link.lastFailure());
    }
}
