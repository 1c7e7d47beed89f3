#include "soak/session_driver.h"

#include "link/frame.h"

namespace kq904::soak {

SessionDriver::SessionDriver(const SessionPlan& plan, long tickBound, Link& link, LineTap& tap)
    : plan_(plan)
    , tickBound_(tickBound)
    , link_(link)
    , tap_(tap)
{ }

void SessionDriver::begin()
{
    for (const Stray& s : plan_.strays) {
        auto bytes = wireBytes(commandFrame(s.letter));
        if (s.request == 0)
            tap_.injectAt(s.offsetTicks, std::move(bytes));
        else
            tap_.injectAfterRequest(s.request, s.offsetTicks, std::move(bytes));
    }
    if (plan_.preOpen && plan_.preludeTicks > 0) {
        if (!tap_.open())
            harness_ = "the port would not open before the start";
        preludeLeft_ = plan_.preludeTicks;
        phase_ = Phase::Prelude;
        return;
    }
    start(plan_.first);
}

Result SessionDriver::startSequence(Sequence sequence)
{
    return sequence == Sequence::Programming ? link_.startProgramming()
        : sequence == Sequence::Reading      ? link_.startReading()
                                             : link_.requestVersion();
}

void SessionDriver::start(Sequence sequence)
{
    const Result started = startSequence(sequence);
    if (!started)
        harness_ = "the start failed: " + started.error;
    started_ = true;
    phase_ = Phase::Running;
}

void SessionDriver::transferEnded(LinkOutcome outcome)
{
    events_.push_back(std::string(outcomeText(outcome)));
    if (outcomeTick_ < 0)
        outcomeTick_ = sinceStart_;
}

bool SessionDriver::tick()
{
    if (phase_ == Phase::Done)
        return false;
    tap_.advanceTick();
    if (clock_)
        clock_();
    if (started_)
        ++sinceStart_;
    link_.tick();

    switch (phase_) {
    case Phase::Prelude:
        if (--preludeLeft_ <= 0) {
            ackFlagBeforeStart_ = link_.ackFlag();
            start(plan_.first);
        }
        break;
    case Phase::Running:
        watchCountdown();
        interruptWhenDue();
        if (outcomeTick_ >= 0) {
            if (plan_.refusedStart && !interrupted_)
                harness_ = "the sequence ended before the second start was tried";
            phase_ = Phase::Settling;
        } else if (!stuck_.empty()) {
            phase_ = Phase::Done;
        } else if (sinceStart_ > tickBound_ + 100) {
            stuck_ = "no outcome after " + std::to_string(sinceStart_) + " ticks (state "
                + std::to_string(stateNumber(link_.linkState())) + ")";
            phase_ = Phase::Done;
        }
        break;
    case Phase::Settling:
        ++settled_;
        if ((settled_ >= settleLeast_ && !tap_.injectionsPending() && (!lineQuiet_ || lineQuiet_()))
            || settled_ >= settleMost_)
            phase_ = Phase::Done;
        break;
    case Phase::Done:
        break;
    }
    return phase_ != Phase::Done;
}

void SessionDriver::watchCountdown()
{
    // A waiting state whose countdown has run out ends its sequence on that very step; a
    // sending state sends (and sets the countdown) on the step after. Two ticks in a row busy
    // with the countdown at 0 is a wait past its timeout.
    const bool atZero = link_.busy() && link_.startDelay() == 0 && link_.seqCountdown() == 0;
    if (atZero && countdownAtZero_)
        stuck_ = "state " + std::to_string(stateNumber(link_.linkState()))
            + " still waiting after its timeout, " + std::to_string(sinceStart_)
            + " ticks after the start";
    countdownAtZero_ = atZero;
}

void SessionDriver::interruptWhenDue()
{
    if (!plan_.refusedStart || interrupted_ || outcomeTick_ >= 0)
        return;
    const bool due = plan_.interruptAfter == 0 ? sinceStart_ >= plan_.interruptTick
                                               : tap_.requestsSent() >= plan_.interruptAfter
            && tap_.answersReceived() >= plan_.interruptAfter;
    if (!due)
        return;
    if (tap_.requestsSent() != plan_.interruptAfter || !link_.busy())
        harness_ = "the first sequence went past the point it was to be interrupted at ("
            + std::to_string(tap_.requestsSent()) + " requests sent)";
    interrupted_ = true;
    const LinkState state = link_.linkState();
    const Result second = startSequence(*plan_.refusedStart);
    if (second || link_.linkState() != state)
        acceptedStart_ = "a start " + std::to_string(tap_.requestsSent())
            + " requests into the sequence was not refused";
}

SessionResult SessionDriver::result() const
{
    SessionResult r;
    r.events = events_;
    r.outcomeTick = outcomeTick_;
    r.stuck = stuck_;
    r.harness = harness_;
    r.acceptedStart = acceptedStart_;
    r.finalState = stateNumber(link_.linkState());
    r.ackFlagBeforeStart = ackFlagBeforeStart_;
    r.hostFrames = tap_.hostFrames();
    return r;
}

} // namespace kq904::soak
