#pragma once
// What a session must end in, from its plan and the sequence rules alone: the outcome, the
// notifications, the frames the program sends, the image and the radio's EEPROM afterwards, and
// the ticks it may take at most.
//
// Each request's answer has a fate. An answer that arrives intact within the wait (or a stray
// acknowledge standing in for one the radio lost) lets the sequence go on; any other fate ends
// it with "Programming Fail" or "Reading Fail" at that request, and nothing after it is sent.

#include <string>
#include <vector>

#include "soak/soak_plan.h"

namespace kq904::soak {

enum class Fate {
    Answered, // intact, within the wait
    Rescued, // lost, but a stray acknowledge arrived in its place
    Lost, // the radio carried the frame out; its answer was lost
    Silent, // the radio has gone silent: the frame was not carried out
    Refused, // "0": the write or "D" was not carried out
    Corrupted, // the answer's checksum is wrong (a "1" or a refusal): the program sends "0"
    Short, // a read reply with fewer data bytes than asked for
    Late, // the answer comes after the wait ran out
};
std::string fateName(Fate fate);

// A frame the program must send: letter, and for "W" and "R" the address, count and data.
struct ExpectedFrame {
    std::uint8_t letter = 0;
    std::uint16_t address = 0;
    std::uint8_t count = 0;
    std::vector<std::uint8_t> data;
};

struct Expectation {
    std::string outcome; // "Programming OK", "Programming Fail", "READ OK", "Reading Fail"
    std::vector<std::string> events; // "refresh" and the outcome, in order
    int finalState = 0; // 19, 18 or 41
    RadioImage image;
    Eeprom eeprom{};
    std::vector<ExpectedFrame> frames;
    long tickBound = 0; // ticks from the first start to the outcome, at most
    int failedRequest = 0; // the request the sequence ended on (frame number), 0 when it did not
    Fate failFate = Fate::Answered;
    int rescued = 0; // lost answers a stray acknowledge stood in for
};

// What becomes of the answer to a request sent as the given frame.
Fate replyFate(const SessionPlan& plan, const Request& request, int frame);
// Whether the radio carries the frame out (writes the data, takes "D"), whatever becomes of its
// answer: not when silent, not when it refuses.
bool carriedOut(const SessionPlan& plan, const Request& request, int frame);
Expectation expectSession(const SessionPlan& plan);

} // namespace kq904::soak
