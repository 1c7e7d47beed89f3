#pragma once
// Counts of a soak run: sessions and outcomes per scenario, how failing sequences ended, and
// which stray timings came up, printed as a short table.

#include <array>
#include <map>
#include <string>

#include "soak/session_driver.h"
#include "soak/session_expectation.h"

namespace kq904::soak {

class SoakTally {
public:
    void add(const SessionPlan& plan, const Expectation& expected, const SessionResult& result,
        bool passed);

    int sessions() const { return passed_ + failed_; }
    int passed() const { return passed_; }
    int failed() const { return failed_; }
    int programmingSessions() const { return programming_; }
    int readingSessions() const { return sessions() - programming_; }
    // Sessions of a scenario, and of them those that ended well, by final sequence.
    int scenarioSessions(Scenario scenario) const;
    int scenarioOk(Scenario scenario) const;
    int endings(Fate fate) const;
    int strays(StrayTiming timing) const;
    int acknowledgesLeftAtStart() const { return ackLeftAtStart_; }
    int rescued() const { return rescued_; }
    // Channel records sent by programmings, and of them those sent with each in-band bit set.
    int channelsProgrammed() const { return channelsProgrammed_; }
    int txInBand() const { return txInBand_; }
    int rxInBand() const { return rxInBand_; }
    long ticks() const { return ticks_; }

    std::string report() const;

private:
    struct Outcomes {
        int programmingOk = 0;
        int programmingFail = 0;
        int readOk = 0;
        int readingFail = 0;
    };

    int passed_ = 0;
    int failed_ = 0;
    int programming_ = 0;
    int ackLeftAtStart_ = 0;
    int rescued_ = 0;
    int channelsProgrammed_ = 0;
    int txInBand_ = 0;
    int rxInBand_ = 0;
    long ticks_ = 0;
    std::array<Outcomes, kScenarioCount> byScenario_{};
    std::map<Fate, int> endings_;
    std::map<StrayTiming, int> strays_;
};

} // namespace kq904::soak
