#include "soak/soak_tally.h"

#include <cstdio>

namespace kq904::soak {

void SoakTally::add(
    const SessionPlan& plan, const Expectation& expected, const SessionResult& result, bool passed)
{
    (passed ? passed_ : failed_) += 1;
    auto& o = byScenario_[static_cast<std::size_t>(plan.scenario)];
    const bool ok = expected.failedRequest == 0;
    if (plan.programming()) {
        ++programming_;
        (ok ? o.programmingOk : o.programmingFail) += 1;
    } else {
        (ok ? o.readOk : o.readingFail) += 1;
    }
    ++endings_[expected.failFate];
    for (const Stray& s : plan.strays)
        ++strays_[s.timing];
    rescued_ += expected.rescued;
    for (const ExpectedFrame& f : expected.frames) {
        if (f.letter != 'W' || f.count != 9)
            continue;
        const int n = (f.address - 0x0043) / 12;
        ++channelsProgrammed_;
        txInBand_ += (f.data[8] & 0x80) != 0;
        rxInBand_ += (expected.image.extras[static_cast<std::size_t>(n)].bytes[0] & 0x04) != 0;
    }
    if (result.ackFlagBeforeStart)
        ++ackLeftAtStart_;
    ticks_ += result.outcomeTick;
}

int SoakTally::scenarioSessions(Scenario scenario) const
{
    const auto& o = byScenario_[static_cast<std::size_t>(scenario)];
    return o.programmingOk + o.programmingFail + o.readOk + o.readingFail;
}

int SoakTally::scenarioOk(Scenario scenario) const
{
    const auto& o = byScenario_[static_cast<std::size_t>(scenario)];
    return o.programmingOk + o.readOk;
}

int SoakTally::endings(Fate fate) const
{
    const auto it = endings_.find(fate);
    return it == endings_.end() ? 0 : it->second;
}

int SoakTally::strays(StrayTiming timing) const
{
    const auto it = strays_.find(timing);
    return it == strays_.end() ? 0 : it->second;
}

std::string SoakTally::report() const
{
    char line[256];
    std::string text;
    std::snprintf(line, sizeof line,
        "%d sessions (%d programming, %d reading): %d passed, %d failed; %ld ticks to the "
        "outcomes\n",
        sessions(), programming_, readingSessions(), passed_, failed_, ticks_);
    text += line;
    std::snprintf(line, sizeof line, "  %-28s %18s %18s\n", "scenario", "Programming OK/Fail",
        "READ OK/Reading Fail");
    text += line;
    for (int s = 0; s < kScenarioCount; ++s) {
        const auto& o = byScenario_[static_cast<std::size_t>(s)];
        std::snprintf(line, sizeof line, "  %-28s %12d/%-5d %12d/%-5d\n",
            std::string(scenarioName(static_cast<Scenario>(s))).c_str(), o.programmingOk,
            o.programmingFail, o.readOk, o.readingFail);
        text += line;
    }
    text += "  sequences ended by:";
    for (const auto& [fate, count] : endings_)
        if (fate != Fate::Answered)
            text += " " + fateName(fate) + " " + std::to_string(count) + ";";
    text += " lost answers a stray acknowledge stood in for: " + std::to_string(rescued_) + "\n";
    std::snprintf(line, sizeof line,
        "  channel records programmed %d: transmit in band %d, receive in band %d\n",
        channelsProgrammed_, txInBand_, rxInBand_);
    text += line;
    std::snprintf(line, sizeof line,
        "  strays: before the start %d (acknowledge left in ackFlag at the start: %d), same tick "
        "%d, ahead %d, during a lost answer %d, elsewhere %d\n",
        strays(StrayTiming::BeforeStart), ackLeftAtStart_, strays(StrayTiming::SameTickAsReply),
        strays(StrayTiming::AheadOfReply), strays(StrayTiming::DuringLostReply),
        strays(StrayTiming::Anywhere));
    text += line;
    return text;
}

} // namespace kq904::soak
