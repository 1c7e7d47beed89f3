#include "soak/session_expectation.h"

#include <algorithm>

namespace kq904::soak {

namespace {

constexpr int kStartDelayTicks = 33;

bool carriesOn(Fate fate)
{
    return fate == Fate::Answered || fate == Fate::Rescued;
}

bool refused(const SessionPlan& plan, const Request& request, int frame)
{
    return plan.has(frame, FaultKind::NegativeAck)
        && (request.letter == 'W' || request.letter == 'D');
}

bool rescued(const SessionPlan& plan, int frame)
{
    return std::any_of(plan.strays.begin(), plan.strays.end(), [&](const Stray& s) {
        return s.letter == '1' && s.timing == StrayTiming::DuringLostReply && s.request == frame;
    });
}

ExpectedFrame expectedFrame(const Request& request, std::vector<std::uint8_t> data)
{
    return {request.letter, request.address, request.count, std::move(data)};
}

} // namespace

std::string fateName(Fate fate)
{
    switch (fate) {
    case Fate::Answered:
        return "answered";
    case Fate::Rescued:
        return "rescued by a stray acknowledge";
    case Fate::Lost:
        return "answer lost";
    case Fate::Silent:
        return "radio silent";
    case Fate::Refused:
        return "refused";
    case Fate::Corrupted:
        return "answer corrupted";
    case Fate::Short:
        return "read reply short";
    case Fate::Late:
        return "answer late";
    }
    return {};
}

Fate replyFate(const SessionPlan& plan, const Request& request, int frame)
{
    if (plan.silenceFrom > 0 && frame >= plan.silenceFrom)
        return Fate::Silent;
    // A refusal is an answer too: it can be lost or spoiled on its way like an acknowledge.
    // (No session puts a stray acknowledge in place of a refusal: the programming would go on
    // with the block unwritten.)
    if (plan.has(frame, FaultKind::NoAnswer)) {
        const bool acknowledged = request.letter == 'W' || request.letter == 'D';
        return acknowledged && !refused(plan, request, frame) && rescued(plan, frame)
            ? Fate::Rescued
            : Fate::Lost;
    }
    if (plan.has(frame, FaultKind::CorruptChecksum))
        return Fate::Corrupted;
    if (refused(plan, request, frame))
        return Fate::Refused;
    if (plan.has(frame, FaultKind::ShortReadReply) && request.letter == 'R')
        return Fate::Short;
    const int delay = plan.has(frame, FaultKind::DelayedReply) ? plan.line.delayMs : 0;
    // Taken in on the tick before the wait runs out at the latest.
    if (replyTicks(plan.latencyMs, delay) > request.timeoutTicks() - 1)
        return Fate::Late;
    return Fate::Answered;
}

bool carriedOut(const SessionPlan& plan, const Request& request, int frame)
{
    const bool silent = plan.silenceFrom > 0 && frame >= plan.silenceFrom;
    return !silent && !refused(plan, request, frame);
}

Expectation expectSession(const SessionPlan& plan)
{
    Expectation e;
    e.image = plan.image;
    e.eeprom = plan.eeprom;
    e.tickBound = plan.preOpen ? 0 : kStartDelayTicks;

    const auto send = [&](const Request& request) {
        e.tickBound += request.timeoutTicks() + 2;
        return request.letter == 'W' ? prepareWrite(e.image, request) : std::vector<std::uint8_t>{};
    };

    // A start refused while the sequence runs changes nothing of it.
    int frame = 0;
    const Sequence sequence = plan.finalSequence();
    bool ok = true;
    for (const Request& request : sequenceRequests(sequence, e.image, e.eeprom)) {
        ++frame;
        const Fate fate = replyFate(plan, request, frame);
        const auto data = send(request);
        if (carriedOut(plan, request, frame))
            applyWrite(e.eeprom, request, data);
        e.frames.push_back(expectedFrame(request, data));
        if (fate == Fate::Rescued)
            ++e.rescued;
        if (!carriesOn(fate)) {
            ok = false;
            e.failedRequest = frame;
            e.failFate = fate;
            break;
        }
    }
    if (!ok && e.failFate == Fate::Corrupted)
        e.frames.push_back({'0', 0, 0, {}}); // the program's answer to the spoiled frame
    e.tickBound += 2;

    if (sequence == Sequence::Programming) {
        e.outcome = ok ? "Programming OK" : "Programming Fail";
        e.finalState = ok ? 19 : 18;
        e.events = {e.outcome};
    } else {
        if (ok)
            applyReading(e.image, e.eeprom);
        e.outcome = ok ? "READ OK" : "Reading Fail";
        e.finalState = ok ? 41 : 18;
        e.events = {"refresh", e.outcome};
    }
    return e;
}

} // namespace kq904::soak
