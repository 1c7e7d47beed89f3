#include "soak/soak_plan.h"

#include <algorithm>
#include <cstdio>

namespace kq904::soak {

namespace {

std::string strayTimingName(StrayTiming timing)
{
    switch (timing) {
    case StrayTiming::BeforeStart:
        return "before-start";
    case StrayTiming::SameTickAsReply:
        return "same-tick";
    case StrayTiming::AheadOfReply:
        return "ahead";
    case StrayTiming::DuringLostReply:
        return "during-lost";
    case StrayTiming::Anywhere:
        break;
    }
    return "anywhere";
}

std::string sequenceName(Sequence sequence)
{
    switch (sequence) {
    case Sequence::Programming:
        return "programming";
    case Sequence::Reading:
        break;
    case Sequence::VersionThenReading:
        return "version answered \"2\", reading";
    }
    return "reading";
}

} // namespace

std::string_view scenarioName(Scenario scenario)
{
    switch (scenario) {
    case Scenario::Clean:
        return "clean";
    case Scenario::DroppedReply:
        return "dropped reply";
    case Scenario::CorruptedReply:
        return "corrupted reply";
    case Scenario::NegativeReply:
        return "negative reply";
    case Scenario::ShortReadReply:
        return "short read reply";
    case Scenario::Noise:
        return "noise";
    case Scenario::Delay:
        return "delay";
    case Scenario::Silence:
        return "silence";
    case Scenario::StrayTwoAndZero:
        return "stray 2 and 0";
    case Scenario::StrayAcknowledge:
        return "stray acknowledge";
    case Scenario::NewSequenceWhileRunning:
        return "new sequence while running";
    case Scenario::VersionAnsweredTwo:
        return "version answered 2";
    case Scenario::Mixed:
        return "mixed";
    }
    return {};
}

bool SessionPlan::has(int frame, FaultKind kind) const
{
    return std::any_of(faults.begin(), faults.end(),
        [&](const PlannedFault& f) { return f.frame == frame && f.kind == kind; });
}

FaultPlan SessionPlan::faultPlan() const
{
    FaultPlan plan(line);
    for (const PlannedFault& f : faults)
        plan.at(f.frame, f.kind);
    if (silenceFrom > 0)
        plan.silenceFrom(silenceFrom);
    return plan;
}

std::vector<std::string> SessionPlan::simArguments() const
{
    std::vector<std::string> args = {"--latency", std::to_string(latencyMs)};
    for (const PlannedFault& f : faults) {
        args.push_back("--fault");
        args.push_back(std::string(faultName(f.kind)) + "@" + std::to_string(f.frame));
    }
    if (silenceFrom > 0) {
        args.push_back("--fault");
        args.push_back("silence@" + std::to_string(silenceFrom));
    }
    return args;
}

std::string SessionPlan::describe() const
{
    char head[160];
    std::snprintf(head, sizeof head,
        "session %d (seed %016llx): %s; image %u channels, radio %u; latency %d ms; port %s", index,
        static_cast<unsigned long long>(seed), std::string(scenarioName(scenario)).c_str(),
        image.general.bytes[3], eeprom[0x000B], latencyMs,
        preOpen ? "open before the start" : "opened by the start");
    std::string text = head;
    text += "\n  sequence: " + sequenceName(first);
    if (refusedStart) {
        text += ", " + sequenceName(*refusedStart) + " refused after "
            + std::to_string(interruptAfter) + " answers"
            + (interruptAfter == 0 ? " (tick " + std::to_string(interruptTick) + ")" : "");
    }
    text += "\n  faults:";
    for (const PlannedFault& f : faults)
        text += " " + std::string(faultName(f.kind)) + "@" + std::to_string(f.frame);
    if (silenceFrom > 0)
        text += " silence@" + std::to_string(silenceFrom);
    text += "; delay " + std::to_string(line.delayMs) + " ms, short by "
        + std::to_string(line.shortBy) + ", noise of " + std::to_string(line.noise.size())
        + " bytes";
    text += "\n  strays:";
    for (const Stray& s : strays)
        text += " '" + std::string(1, static_cast<char>(s.letter)) + "' "
            + strayTimingName(s.timing) + " #" + std::to_string(s.request) + "+"
            + std::to_string(s.offsetTicks);
    return text;
}

} // namespace kq904::soak
