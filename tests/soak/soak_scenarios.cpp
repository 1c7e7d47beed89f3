#include "soak/soak_plan.h"

#include <algorithm>

#include "soak/random_radio.h"
#include "soak/soak_random.h"

namespace kq904::soak {

namespace {

constexpr Scenario kProgrammingScenarios[] = {Scenario::Clean, Scenario::DroppedReply,
    Scenario::CorruptedReply, Scenario::NegativeReply, Scenario::ShortReadReply, Scenario::Noise,
    Scenario::Delay, Scenario::Silence, Scenario::StrayTwoAndZero, Scenario::StrayAcknowledge,
    Scenario::NewSequenceWhileRunning, Scenario::Mixed};
constexpr Scenario kReadingScenarios[] = {Scenario::Clean, Scenario::DroppedReply,
    Scenario::CorruptedReply, Scenario::NegativeReply, Scenario::ShortReadReply, Scenario::Noise,
    Scenario::Delay, Scenario::Silence, Scenario::StrayTwoAndZero, Scenario::StrayAcknowledge,
    Scenario::NewSequenceWhileRunning, Scenario::VersionAnsweredTwo, Scenario::Mixed};

// Builds the faults of a session on the requests of its final sequence.
class Planner {
public:
    Planner(SessionPlan& plan, SoakRandom& r)
        : plan_(plan)
        , r_(r)
    { }

    void run();

private:
    int frameOf(int i) const { return base_ + 1 + i; }
    int count() const { return static_cast<int>(requests_.size()); }
    int anyRequest() { return r_.below(count()); }
    // A request after the version request, when there is one.
    int laterRequest() { return r_.between(firstAfterVersion(), count() - 1); }
    int firstAfterVersion() const
    {
        return plan_.finalSequence() == Sequence::VersionThenReading ? 1 : 0;
    }
    void fault(int i, FaultKind kind) { plan_.faults.push_back({frameOf(i), kind}); }
    void stray(std::uint8_t letter, StrayTiming timing, int i, int offset)
    {
        plan_.strays.push_back({letter, timing, frameOf(i), offset});
    }
    void strayBeforeStart(std::uint8_t letter);
    void harmlessStrays(int count);
    // A delay that the 200-tick waits take in time, cut close, or miss.
    int delayAround(int timeoutTicks);
    int inTimeLimitMs(int timeoutTicks) const { return 15 * (timeoutTicks - 2) - plan_.latencyMs; }

    void prepareInterrupt();
    void placeScenario();
    void placeStrayAcknowledges();
    void placeMixed();

    SessionPlan& plan_;
    SoakRandom& r_;
    std::vector<Request> requests_;
    int base_ = 0;
};

void Planner::run()
{
    if (plan_.scenario == Scenario::NewSequenceWhileRunning)
        prepareInterrupt();
    RadioImage image = plan_.image;
    Eeprom radio = plan_.eeprom;
    requests_ = sequenceRequests(plan_.finalSequence(), image, radio);
    if (plan_.finalSequence() == Sequence::VersionThenReading)
        fault(0, FaultKind::TwoInsteadOfVersion);
    placeScenario();
    const bool background = plan_.scenario != Scenario::Clean && plan_.scenario != Scenario::Mixed;
    if (background && r_.chance(30)) {
        for (int i = 0; i < count(); ++i)
            if (r_.chance(10))
                fault(i, FaultKind::NoiseBeforeReply);
        harmlessStrays(r_.between(0, 2));
    }
}

void Planner::strayBeforeStart(std::uint8_t letter)
{
    const int offset = plan_.preOpen ? r_.between(1, plan_.preludeTicks - 1) : r_.between(1, 30);
    plan_.strays.push_back({letter, StrayTiming::BeforeStart, 0, offset});
}

void Planner::harmlessStrays(int n)
{
    for (int k = 0; k < n; ++k)
        stray(r_.chance(50) ? '2' : '0', StrayTiming::Anywhere, laterRequest(), r_.between(0, 250));
}

int Planner::delayAround(int timeoutTicks)
{
    // The last in-time answer and the first late one are one tick apart: a delay that lands on
    // either side of that tick shows an off-by-one in the wait.
    const int limit = inTimeLimitMs(timeoutTicks);
    const int roll = r_.below(100);
    if (roll < 35)
        return r_.between(0, limit);
    if (roll < 70) {
        const int edges[] = {-15, -1, 0, 1, 15};
        return std::max(0, limit + edges[r_.below(5)]);
    }
    return r_.between(limit + 1, 7000);
}

void Planner::prepareInterrupt()
{
    const Sequence tried[] = {
        Sequence::Programming, Sequence::Reading, Sequence::VersionThenReading};
    plan_.refusedStart = tried[r_.below(3)];
    const auto first = sequenceRequests(plan_.first, plan_.image, plan_.eeprom);
    plan_.interruptAfter = r_.between(plan_.preOpen ? 1 : 0, static_cast<int>(first.size()) - 1);
    if (plan_.interruptAfter == 0)
        plan_.interruptTick = r_.between(1, 30);
    for (int frame = 1; frame <= plan_.interruptAfter; ++frame)
        if (r_.chance(15))
            plan_.faults.push_back({frame, FaultKind::NoiseBeforeReply});
}

void Planner::placeScenario()
{
    const bool reading = !plan_.programming();
    switch (plan_.scenario) {
    case Scenario::Clean:
        break;
    case Scenario::DroppedReply:
        for (int k = r_.between(1, 2); k > 0; --k)
            fault(anyRequest(), FaultKind::NoAnswer);
        break;
    case Scenario::CorruptedReply:
        fault(anyRequest(), FaultKind::CorruptChecksum);
        break;
    case Scenario::NegativeReply:
        if (reading) {
            // The radio refuses a read: its answer is a "0" in place of the reply.
            const int i = anyRequest();
            fault(i, FaultKind::NoAnswer);
            stray('0', StrayTiming::Anywhere, i, r_.between(1, 3));
        } else {
            fault(anyRequest(), FaultKind::NegativeAck);
        }
        break;
    case Scenario::ShortReadReply:
        fault(reading ? laterRequest() : anyRequest(), FaultKind::ShortReadReply);
        break;
    case Scenario::Noise:
        for (int i = 0; i < count(); ++i)
            if (r_.chance(40))
                fault(i, FaultKind::NoiseBeforeReply);
        break;
    case Scenario::Delay:
        if (!plan_.realTime && !reading && r_.chance(30)) {
            // Only the end of programming is late, close to its longer timeout.
            const int edges[] = {-15, -1, 0, 1, 15};
            plan_.line.delayMs = inTimeLimitMs(396) + edges[r_.below(5)];
            fault(count() - 1, FaultKind::DelayedReply);
            break;
        }
        if (!plan_.realTime)
            plan_.line.delayMs = delayAround(200);
        for (int k = r_.between(1, 3); k > 0; --k) {
            // Half the time one of the settings blocks, whose waits differ from the channels'.
            const int settings = plan_.programming()
                ? r_.between(std::max(0, count() - 6), count() - 1)
                : r_.between(firstAfterVersion(), firstAfterVersion() + 2);
            const int i = r_.chance(50) ? settings : anyRequest();
            fault(i, FaultKind::DelayedReply);
        }
        break;
    case Scenario::Silence:
        plan_.silenceFrom = frameOf(anyRequest());
        break;
    case Scenario::StrayTwoAndZero:
        harmlessStrays(r_.between(1, 6));
        if (r_.chance(30))
            strayBeforeStart(r_.chance(50) ? '2' : '0');
        break;
    case Scenario::StrayAcknowledge:
        placeStrayAcknowledges();
        break;
    case Scenario::NewSequenceWhileRunning:
        // Only after the refused start, so the sequence is sure to be running when it comes.
        if (r_.chance(40))
            fault(r_.between(plan_.interruptAfter, count() - 1),
                r_.chance(50) ? FaultKind::NoAnswer : FaultKind::CorruptChecksum);
        break;
    case Scenario::VersionAnsweredTwo: {
        const int roll = r_.below(100);
        if (roll < 30)
            fault(0, FaultKind::NoAnswer);
        else if (roll < 45)
            fault(0, FaultKind::CorruptChecksum);
        else if (roll < 70) {
            if (!plan_.realTime)
                plan_.line.delayMs = delayAround(200);
            fault(0, FaultKind::DelayedReply);
        }
        break;
    }
    case Scenario::Mixed:
        placeMixed();
        break;
    }
}

void Planner::placeStrayAcknowledges()
{
    if (!plan_.programming()) {
        // Reading waits only for read replies: an acknowledge anywhere changes nothing.
        for (int k = r_.between(1, 6); k > 0; --k)
            stray('1', StrayTiming::Anywhere, anyRequest(), r_.between(0, 250));
        if (r_.chance(40))
            strayBeforeStart('1');
        return;
    }
    const int kinds = r_.between(1, 15);
    if (kinds & 1)
        strayBeforeStart('1');
    int lastLost = -1;
    std::vector<int> lost;
    if (kinds & 2) {
        for (int k = r_.between(1, 2); k > 0; --k) {
            const int i = anyRequest();
            const int timeout = requests_[static_cast<std::size_t>(i)].timeoutTicks();
            fault(i, FaultKind::NoAnswer);
            stray('1', StrayTiming::DuringLostReply, i,
                plan_.realTime ? r_.between(40, 120) : r_.between(1, timeout - 1));
            lost.push_back(i);
            lastLost = std::max(lastLost, i);
        }
    }
    if (plan_.realTime)
        return;
    if (kinds & 4) {
        for (int k = r_.between(1, 3); k > 0; --k) {
            const int i = anyRequest();
            if (std::find(lost.begin(), lost.end(), i) == lost.end())
                stray('1', StrayTiming::SameTickAsReply, i, replyTicks(plan_.latencyMs, 0));
        }
    }
    // Running one acknowledge ahead hides what the radio says about later frames, so nothing
    // but harmless faults may follow it.
    if ((kinds & 8) && lastLost < count() - 1) {
        const int i = r_.between(lastLost + 1, count() - 1);
        const int timeout = requests_[static_cast<std::size_t>(i)].timeoutTicks();
        plan_.line.delayMs = r_.between(30, inTimeLimitMs(timeout));
        fault(i, FaultKind::DelayedReply);
        const int ticks = replyTicks(plan_.latencyMs, plan_.line.delayMs);
        stray('1', StrayTiming::AheadOfReply, i, r_.between(1, ticks - 1));
    }
}

void Planner::placeMixed()
{
    if (r_.chance(10))
        plan_.silenceFrom = frameOf(anyRequest());
    if (!plan_.realTime)
        plan_.line.delayMs = r_.between(0, 7000);
    const std::pair<FaultKind, int> odds[] = {{FaultKind::NoAnswer, 1},
        {FaultKind::CorruptChecksum, 1}, {FaultKind::NegativeAck, 1},
        {FaultKind::ShortReadReply, 1}, {FaultKind::NoiseBeforeReply, 5},
        {FaultKind::DelayedReply, 3}, {FaultKind::TwoInsteadOfVersion, 1}};
    for (int i = firstAfterVersion(); i < count(); ++i)
        for (const auto& [kind, percent] : odds)
            if (r_.chance(percent))
                fault(i, kind);
    harmlessStrays(r_.between(0, 3));
    if (!plan_.programming()) {
        for (int k = r_.between(0, 2); k > 0; --k)
            stray('1', StrayTiming::Anywhere, anyRequest(), r_.between(0, 250));
    } else if (r_.chance(30)) {
        strayBeforeStart('1');
    }
}

} // namespace

SessionPlan planSession(std::uint64_t baseSeed, int index, bool realTime)
{
    SessionPlan plan;
    plan.index = index;
    plan.seed = sessionSeed(baseSeed, index);
    plan.realTime = realTime;
    SoakRandom r(plan.seed);

    const bool programming = index % 2 == 0;
    plan.scenario = programming
        ? kProgrammingScenarios[r.below(static_cast<int>(std::size(kProgrammingScenarios)))]
        : kReadingScenarios[r.below(static_cast<int>(std::size(kReadingScenarios)))];
    plan.first = programming ? Sequence::Programming : Sequence::Reading;
    const bool versionAllowed = plan.scenario != Scenario::NewSequenceWhileRunning;
    if (!programming
        && (plan.scenario == Scenario::VersionAnsweredTwo || (versionAllowed && r.chance(15))))
        plan.first = Sequence::VersionThenReading;

    plan.image = randomImage(r, realTime);
    plan.eeprom = randomEeprom(r, realTime);
    plan.latencyMs = realTime ? r.between(0, 10) : (r.chance(40) ? 0 : r.between(1, 45));
    plan.preOpen = r.chance(50);
    plan.preludeTicks = plan.preOpen ? r.between(2, 6) : 0;
    if (!realTime) {
        plan.line.delayMs = r.between(100, 2800);
        plan.line.noise = randomNoise(r);
        plan.line.shortBy = r.between(1, 30);
    }
    Planner(plan, r).run();
    return plan;
}

} // namespace kq904::soak
