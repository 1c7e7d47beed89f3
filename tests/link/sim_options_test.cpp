// The simulated radio's command line, above all the --fault syntax its help documents.
#include <gtest/gtest.h>

#include <algorithm>

#include "sim/sim_options.h"

using namespace kq904;

namespace {

SimOptions parse(std::initializer_list<const char*> words)
{
    std::vector<std::string> args(words.begin(), words.end());
    return parseSimOptions(args);
}

bool has(const std::vector<FaultKind>& faults, FaultKind kind)
{
    return std::find(faults.begin(), faults.end(), kind) != faults.end();
}

} // namespace

TEST(SimOptions, FaultsLandOnTheFramesNamed)
{
    FaultPlan plan;
    EXPECT_EQ(addFault(plan, "no-answer@3"), "");
    EXPECT_EQ(addFault(plan, "corrupt-checksum@3"), "");
    EXPECT_EQ(addFault(plan, "negative-ack@5"), "");
    EXPECT_EQ(addFault(plan, "silence@9"), "");
    for (int frame = 1; frame <= 10; ++frame) {
        SCOPED_TRACE(frame);
        const std::vector<FaultKind> faults = plan.faultsFor(frame);
        EXPECT_EQ(has(faults, FaultKind::NoAnswer), frame == 3);
        EXPECT_EQ(has(faults, FaultKind::CorruptChecksum), frame == 3);
        EXPECT_EQ(has(faults, FaultKind::NegativeAck), frame == 5);
        EXPECT_EQ(plan.silentAt(frame), frame >= 9);
    }
}

TEST(SimOptions, RandomFaultsFollowTheirSeedAndRate)
{
    auto framesHit = [](const char* fault, FaultKind kind) {
        FaultPlan plan;
        EXPECT_EQ(addFault(plan, fault), "");
        std::vector<int> hit;
        for (int frame = 1; frame <= 2000; ++frame) {
            if (has(plan.faultsFor(frame), kind))
                hit.push_back(frame);
        }
        return hit;
    };
    const auto first = framesHit("no-answer@random:7:10", FaultKind::NoAnswer);
    EXPECT_EQ(first, framesHit("no-answer@random:7:10", FaultKind::NoAnswer));
    EXPECT_NE(first, framesHit("no-answer@random:8:10", FaultKind::NoAnswer));
    EXPECT_GT(first.size(), 120u); // about 200 of 2000
    EXPECT_LT(first.size(), 280u);
    EXPECT_TRUE(framesHit("delay@random:7:0", FaultKind::DelayedReply).empty());
    EXPECT_EQ(framesHit("delay@random:7:100", FaultKind::DelayedReply).size(), 2000u);

    // "random:SEED:PERCENT" lets every kind loose, each on frames of its own.
    FaultPlan plan;
    EXPECT_EQ(addFault(plan, "random:42:50"), "");
    std::vector<int> perKind(std::size(kAllFaultKinds));
    for (int frame = 1; frame <= 400; ++frame) {
        const auto faults = plan.faultsFor(frame);
        for (std::size_t k = 0; k < perKind.size(); ++k)
            perKind[k] += has(faults, kAllFaultKinds[k]) ? 1 : 0;
    }
    for (int count : perKind) {
        EXPECT_GT(count, 140);
        EXPECT_LT(count, 260);
    }
}

TEST(SimOptions, MalformedFaultsAreRefusedWithTheReason)
{
    const char* bad[] = {"no-answer", "no-answer@0", "no-answer@x", "no-answer@3x", "bogus@3",
        "silence@", "no-answer@random:7", "no-answer@random:7:101", "random:x:5", "random:1:-1",
        "@3", ""};
    for (const char* text : bad) {
        FaultPlan plan;
        const std::string problem = addFault(plan, text);
        EXPECT_NE(problem, "") << text;
        EXPECT_NE(problem.find("bad fault"), std::string::npos) << problem;
    }
}

TEST(SimOptions, CommandLine)
{
    const SimOptions all =
        parse({"--eeprom", "in.bin", "--save=out.bin", "--version", "0x0123", "--latency", "20",
            "--link", "/tmp/radio", "--fault", "no-answer@2", "--swap-radios", "2500"});
    EXPECT_EQ(all.error, "");
    EXPECT_EQ(all.eepromFile, "in.bin");
    EXPECT_EQ(all.saveFile, "out.bin");
    EXPECT_EQ(all.versionWord, 0x0123);
    EXPECT_EQ(all.latencyMs, 20);
    EXPECT_EQ(all.linkPath, "/tmp/radio");
    EXPECT_EQ(all.swapRadiosMs, 2500);

    EXPECT_EQ(parse({"--version", "1298"}).versionWord, 1298);
    EXPECT_TRUE(parse({"--help"}).help);
    EXPECT_FALSE(parse({}).versionWord.has_value());

    const std::initializer_list<const char*> bad[] = {{"--save"}, {"--save="}, {"--bogus"},
        {"positional"}, {"--version", "65536"}, {"--version", "0x"}, {"--latency", "-1"},
        {"--fault", "nothing@1"}, {"--swap-radios", "0"}};
    for (const auto& words : bad)
        EXPECT_NE(parse(words).error, "") << *words.begin();
}
