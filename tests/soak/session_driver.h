#pragma once
// Runs one session tick by tick, the same way in virtual and in real time: opens the port ahead
// when the plan says so, starts the sequence (and tries a second one at its moment, which must
// be refused), hands the
// strays to the line tap, watches that the link never sits in a wait past its timeout, and after
// the outcome keeps ticking until the line is quiet, so a late answer or a second outcome shows.

#include <functional>
#include <string>
#include <vector>

#include "link/link.h"
#include "soak/line_tap.h"
#include "soak/soak_plan.h"

namespace kq904::soak {

struct SessionResult {
    std::vector<std::string> events; // "refresh" and outcome texts, in order
    long outcomeTick = -1; // ticks from the first start to the first outcome
    std::string stuck; // the link waited past its timeout, or never ended
    std::string harness; // something around the link went wrong (port, interrupt point)
    std::string acceptedStart; // a start while the sequence ran was not refused
    int finalState = -1;
    bool ackFlagBeforeStart = false; // a stray acknowledge was left in ackFlag at the start
    RadioImage image;
    Eeprom eeprom{};
    std::vector<HostFrame> hostFrames;
};

class SessionDriver final : private LinkObserver {
public:
    // `tickBound`: the most ticks the sequence rules allow to the outcome; the session is given
    // up well past it.
    SessionDriver(const SessionPlan& plan, long tickBound, Link& link, LineTap& tap);

    // Called after the tap's tick advanced, before the link's tick (the in-process line's clock).
    void setClock(std::function<void()> clock) { clock_ = std::move(clock); }
    // True when the radio has nothing more on its way to the program.
    void setLineQuiet(std::function<bool()> quiet) { lineQuiet_ = std::move(quiet); }
    void setSettleTicks(int least, int most)
    {
        settleLeast_ = least;
        settleMost_ = most;
    }
    LinkObserver* observer() { return this; }

    void begin();
    // One tick of the session; false once it is over.
    bool tick();
    bool finished() const { return phase_ == Phase::Done; }
    // Everything but the image and the EEPROM, which the caller owns.
    SessionResult result() const;

private:
    enum class Phase { Prelude, Running, Settling, Done };

    void refreshRequested() override { events_.push_back("refresh"); }
    void transferEnded(LinkOutcome outcome) override;
    void start(Sequence sequence);
    Result startSequence(Sequence sequence);
    void watchCountdown();
    void interruptWhenDue();

    const SessionPlan& plan_;
    long tickBound_;
    Link& link_;
    LineTap& tap_;
    std::function<void()> clock_;
    std::function<bool()> lineQuiet_;
    int settleLeast_ = 3;
    int settleMost_ = 1000;

    Phase phase_ = Phase::Prelude;
    int preludeLeft_ = 0;
    bool started_ = false;
    bool interrupted_ = false;
    bool countdownAtZero_ = false;
    long sinceStart_ = 0;
    int settled_ = 0;
    std::vector<std::string> events_;
    long outcomeTick_ = -1;
    std::string stuck_;
    std::string acceptedStart_;
    std::string harness_;
    bool ackFlagBeforeStart_ = false;
};

} // namespace kq904::soak
