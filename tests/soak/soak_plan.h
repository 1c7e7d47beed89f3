#pragma once
// One soak session, drawn from a seed: a random image and radio EEPROM, the sequence to run (and
// the one started while it runs), the faults the simulated radio commits on which frames, and the
// stray frames the line adds. A session has one headline scenario, used for the tallies.
//
// Frames are numbered from 1 in the order the radio receives them, as the fault plan counts
// them; the requests of a session share that numbering (no session sends the negative reply
// "0" before its last request).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/fault_plan.h"
#include "soak/transfer_oracle.h"

namespace kq904::soak {

// When a stray frame reaches the program, and so what the sequence rules make of it.
enum class StrayTiming {
    BeforeStart, // taken in while idle or during the start delay: answers nothing
    SameTickAsReply, // read just ahead of the real answer, in the same tick: one acknowledge
    AheadOfReply, // a tick or more before a real answer: the programming runs one ahead
    DuringLostReply, // while the sequence waits for an answer the radio lost: stands in for it
    Anywhere, // a letter that no state waiting here acts on
};

struct Stray {
    std::uint8_t letter = '1'; // '1' acknowledge, '2', or '0' negative acknowledge
    StrayTiming timing = StrayTiming::Anywhere;
    int request = 0; // readable offsetTicks after this request left; 0: after the session began
    int offsetTicks = 0;
};

struct PlannedFault {
    int frame = 0;
    FaultKind kind = FaultKind::NoAnswer;
};

enum class Scenario {
    Clean,
    DroppedReply,
    CorruptedReply,
    NegativeReply,
    ShortReadReply,
    Noise,
    Delay,
    Silence,
    StrayTwoAndZero,
    StrayAcknowledge,
    NewSequenceWhileRunning,
    VersionAnsweredTwo,
    Mixed,
};
inline constexpr int kScenarioCount = 13;
std::string_view scenarioName(Scenario scenario);

struct SessionPlan {
    int index = 0;
    std::uint64_t seed = 0;
    bool realTime = false;
    Scenario scenario = Scenario::Clean;

    RadioImage image;
    Eeprom eeprom{};

    Sequence first = Sequence::Programming;
    // Tried while the first runs, and to be refused with the first going on untouched: once
    // the first has had `interruptAfter` requests answered, or at tick `interruptTick` of the
    // start delay when `interruptAfter` is 0.
    std::optional<Sequence> refusedStart;
    int interruptAfter = 0;
    int interruptTick = 0;

    // The port is opened `preludeTicks` before the start, so the first frame leaves at once.
    bool preOpen = false;
    int preludeTicks = 0;

    int latencyMs = 0;
    FaultPlan::Settings line; // delay, noise and shortfall of the radio's faults
    std::vector<PlannedFault> faults;
    int silenceFrom = 0; // 0: never silent
    std::vector<Stray> strays;

    Sequence finalSequence() const { return first; }
    bool programming() const { return finalSequence() == Sequence::Programming; }
    bool has(int frame, FaultKind kind) const;
    FaultPlan faultPlan() const;
    // The kq904-sim options that commit the same faults (real-time sessions only).
    std::vector<std::string> simArguments() const;
    std::string describe() const;
};

// Session `index` of a soak with `baseSeed`. Even indexes end in a programming, odd ones in a
// reading. Real-time sessions keep to what kq904-sim can be told on its command line and to
// timings that a loaded machine cannot turn around.
SessionPlan planSession(std::uint64_t baseSeed, int index, bool realTime);

} // namespace kq904::soak
