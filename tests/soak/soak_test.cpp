// The fault-injection soak in virtual time: programming and reading sessions against the
// simulated radio with random faults and stray frames, each checked against what its faults
// imply. KQ904_SOAK_SEED, KQ904_SOAK_SESSIONS and KQ904_SOAK_FIRST choose other sessions; a
// failing session prints how to run it alone.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>

#include "soak/session_check.h"
#include "soak/soak_tally.h"
#include "soak/virtual_session.h"

using namespace kq904;
using namespace kq904::soak;

namespace {

constexpr std::uint64_t kDefaultSeed = 904;
constexpr int kDefaultSessions = 2000;

struct SoakConfig {
    std::uint64_t seed = kDefaultSeed;
    int sessions = kDefaultSessions;
    int first = 0;

    bool standard() const { return seed == kDefaultSeed && sessions >= kDefaultSessions; }
};

long long environmentNumber(const char* name, long long fallback)
{
    const char* text = std::getenv(name);
    if (!text || !*text)
        return fallback;
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 0);
    return end && *end == '\0' ? value : fallback;
}

SoakConfig configFromEnvironment()
{
    SoakConfig config;
    config.seed = static_cast<std::uint64_t>(environmentNumber("KQ904_SOAK_SEED", kDefaultSeed));
    config.sessions = static_cast<int>(environmentNumber("KQ904_SOAK_SESSIONS", kDefaultSessions));
    config.first = static_cast<int>(environmentNumber("KQ904_SOAK_FIRST", 0));
    return config;
}

std::string lines(const std::vector<std::string>& problems)
{
    std::string text;
    for (const auto& p : problems)
        text += "\n  " + p;
    return text;
}

// A session with every fault and stray taken out of it.
SessionPlan cleanProgramming(std::uint64_t seed)
{
    SessionPlan plan = planSession(seed, 0, false);
    plan.scenario = Scenario::Clean;
    plan.first = Sequence::Programming;
    plan.refusedStart.reset();
    plan.faults.clear();
    plan.strays.clear();
    plan.silenceFrom = 0;
    plan.image.general.bytes[3] = 2;
    return plan;
}

} // namespace

TEST(FaultSoak, EverySessionEndsAsItsFaultsImply)
{
    const SoakConfig config = configFromEnvironment();
    SoakTally tally;
    const auto began = std::chrono::steady_clock::now();
    for (int i = config.first; i < config.first + config.sessions; ++i) {
        const SessionPlan plan = planSession(config.seed, i, false);
        const Expectation expected = expectSession(plan);
        const SessionResult result = runVirtualSession(plan, expected);
        const auto problems = checkSession(expected, result);
        tally.add(plan, expected, result, problems.empty());
        if (!problems.empty() && tally.failed() <= 10)
            ADD_FAILURE() << plan.describe() << lines(problems)
                          << "\n  alone: KQ904_SOAK_SEED=" << config.seed
                          << " KQ904_SOAK_FIRST=" << i << " KQ904_SOAK_SESSIONS=1";
    }
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - began);
    std::cout << tally.report() << "  run time " << ms.count() << " ms\n";
    EXPECT_EQ(tally.failed(), 0) << "base seed " << config.seed;

    if (!config.standard())
        return;
    // The standard run must reach every corner it claims to: a generator that quietly stopped
    // producing a fault would leave the soak passing and proving less.
    EXPECT_GE(tally.programmingSessions(), 1000);
    EXPECT_GE(tally.readingSessions(), 1000);
    for (int s = 0; s < kScenarioCount; ++s)
        EXPECT_GE(tally.scenarioSessions(static_cast<Scenario>(s)), 50)
            << scenarioName(static_cast<Scenario>(s));
    // Where the faults drawn may or may not spoil a wait, both outcomes must come up.
    for (Scenario scenario : {Scenario::Delay, Scenario::NewSequenceWhileRunning,
             Scenario::VersionAnsweredTwo, Scenario::Mixed}) {
        SCOPED_TRACE(std::string(scenarioName(scenario)));
        EXPECT_GT(tally.scenarioOk(scenario), 0);
        EXPECT_LT(tally.scenarioOk(scenario), tally.scenarioSessions(scenario));
    }
    for (Fate fate :
        {Fate::Lost, Fate::Silent, Fate::Refused, Fate::Corrupted, Fate::Short, Fate::Late})
        EXPECT_GT(tally.endings(fate), 10) << fateName(fate);
    for (StrayTiming timing : {StrayTiming::BeforeStart, StrayTiming::SameTickAsReply,
             StrayTiming::AheadOfReply, StrayTiming::DuringLostReply, StrayTiming::Anywhere})
        EXPECT_GT(tally.strays(timing), 10) << static_cast<int>(timing);
    EXPECT_GT(tally.rescued(), 10);
    // Random frequencies would almost never fall in a band: the bands are placed around, on the
    // edge of and just beside programmed channels, and both bits must come up set and clear.
    for (int inBand : {tally.txInBand(), tally.rxInBand()}) {
        EXPECT_GT(inBand, tally.channelsProgrammed() / 100);
        EXPECT_LT(inBand, tally.channelsProgrammed() * 99 / 100);
    }
    EXPECT_GT(tally.acknowledgesLeftAtStart(), 10);
}

TEST(FaultSoak, SameSeedAndIndexRunTheSameSession)
{
    for (int index : {0, 1, 7, 10}) {
        SCOPED_TRACE(index);
        const SessionPlan a = planSession(31, index, false);
        const SessionPlan b = planSession(31, index, false);
        EXPECT_EQ(a.describe(), b.describe());
        EXPECT_EQ(a.image, b.image);
        EXPECT_EQ(a.eeprom, b.eeprom);
        const Expectation expected = expectSession(a);
        const SessionResult first = runVirtualSession(a, expected);
        const SessionResult second = runVirtualSession(b, expected);
        EXPECT_EQ(first.events, second.events);
        EXPECT_EQ(first.outcomeTick, second.outcomeTick);
        EXPECT_EQ(first.eeprom, second.eeprom);
        EXPECT_NE(a.describe(), planSession(31, index + 2, false).describe());
    }
}

TEST(FaultSoak, CheckNamesEveryDeparture)
{
    // A clean programming run for real, then spoiled one way at a time: a check that let any of
    // these through would let the soak pass without proving anything.
    const SessionPlan plan = cleanProgramming(5);
    const Expectation expected = expectSession(plan);
    const SessionResult good = runVirtualSession(plan, expected);
    ASSERT_EQ(checkSession(expected, good), std::vector<std::string>{});
    ASSERT_EQ(expected.outcome, "Programming OK");

    const std::pair<const char*, std::function<void(SessionResult&)>> spoilers[] = {
        {"another outcome", [](SessionResult& r) { r.events = {"Programming Fail"}; }},
        {"a second outcome", [](SessionResult& r) { r.events.push_back("Programming OK"); }},
        {"too slow", [&](SessionResult& r) { r.outcomeTick = expected.tickBound + 1; }},
        {"left in another state", [](SessionResult& r) { r.finalState = 18; }},
        {"band bit not stored", [](SessionResult& r) { r.image.channels[1].bytes[8] ^= 0x80; }},
        {"kill marker not stored", [](SessionResult& r) { r.image.kill.bytes[0] ^= 0x01; }},
        {"channel beyond the count touched",
            [](SessionResult& r) { r.image.extras[2].bytes[3] ^= 1; }},
        {"EEPROM byte wrong", [](SessionResult& r) { r.eeprom[0x0514] ^= 0x10; }},
        {"EEPROM gap written", [](SessionResult& r) { r.eeprom[0x004C] ^= 0x01; }},
        {"frame missing", [](SessionResult& r) { r.hostFrames.pop_back(); }},
        {"frame too many", [](SessionResult& r) { r.hostFrames.push_back(r.hostFrames.back()); }},
        {"data byte wrong", [](SessionResult& r) { r.hostFrames[2].bytes[7] ^= 0x01; }},
        {"address wrong", [](SessionResult& r) { r.hostFrames[0].bytes[3] ^= 0x01; }},
        {"bad checksum", [](SessionResult& r) { r.hostFrames[1].checksumOk = false; }},
        {"stuck", [](SessionResult& r) { r.stuck = "state 7 still waiting"; }},
        {"harness", [](SessionResult& r) { r.harness = "the start failed"; }},
    };
    for (const auto& [what, spoil] : spoilers) {
        SessionResult bad = good;
        spoil(bad);
        EXPECT_FALSE(checkSession(expected, bad).empty()) << what;
    }
}
