#pragma once
// Serves a simulated radio on the master side of a pseudo-terminal, in real time: bytes from the
// programmer go to the radio with the time they arrived, and the radio's replies go out when
// their time has come. Between the two it sleeps in poll(), so an idle radio costs no CPU.

#include <chrono>
#include <functional>
#include <string>

#include "model/result.h"
#include "sim/pty/pty_master.h"
#include "sim/simulated_radio.h"

namespace kq904 {

class PtyRadioServer {
public:
    PtyRadioServer(SimulatedRadio& radio, PtyMaster& pty);

    // Runs after each "D" the radio acknowledged: programming has ended, the EEPROM is complete.
    void onProgrammingEnded(std::function<void()> handler)
    {
        programmingEnded_ = std::move(handler);
    }
    // Told about replies that could not be sent (the programmer stopped taking bytes); they are
    // dropped, as on a broken cable, and the radio goes on serving.
    void onReplyLost(std::function<void(const std::string&)> handler)
    {
        replyLost_ = std::move(handler);
    }

    // Serves until `stopFd` becomes readable (a signalfd, or a pipe written by another thread),
    // or until the pseudo-terminal fails. Returns the failure, if any.
    Result serve(int stopFd);

    // Milliseconds on the radio's clock (since the server was made).
    std::int64_t nowMs() const;

private:
    // Moves what the programmer sent into the radio and what is due back out.
    void exchange();

    SimulatedRadio& radio_;
    PtyMaster& pty_;
    std::chrono::steady_clock::time_point start_;
    std::function<void()> programmingEnded_;
    std::function<void(const std::string&)> replyLost_;
    int programmingEndsSeen_ = 0;
};

} // namespace kq904
