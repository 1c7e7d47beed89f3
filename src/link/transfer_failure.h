#pragma once
// Why a programming or reading failed, as the link saw it: which frame was waiting for its
// answer, what that frame carried, how long the link waited, and what came back instead of the
// answer (nothing, a refusal, a spoiled frame, too few bytes) or that the device went away.
//
// The window and the command line show the same text under their own outcome words
// ("Programming Fail", "Reading Fail"):
//   /dev/ttyUSB0: no answer from the radio within 3 s after frame 37 of 204 (W 0x054A:
//   channel 13 extra)

#include <cstdint>
#include <string>
#include <string_view>

namespace kq904 {

enum class FailureCause {
    NoAnswer, // nothing usable came back before the timeout
    Refused, // the radio answered "0": it would not take the frame
    Garbled, // an answer came back with a wrong checksum
    ShortReply, // a read reply carried fewer bytes than were asked for
    DeviceLost, // the port's device went away (cable or adapter unplugged)
};

struct TransferFailure {
    FailureCause cause = FailureCause::NoAnswer;
    int frame = 0; // the frame awaiting its answer, counted from 1; 0: none had been sent yet
    int frameCount = 0; // frames the whole sequence sends; 0 while that is not known yet
    std::uint8_t letter = 0; // 'W', 'R', 'D' or 'F'
    std::uint16_t address = 0; // EEPROM address of a 'W' or 'R'
    int waitedMs = 0; // how long the link waited for the answer
};

// What a frame carries, in a dealer's words: "general settings", "channel 13" (the channel
// record), "channel 13 extra", "end of programming". Empty for an address the link never uses.
std::string framePart(std::uint8_t letter, std::uint16_t address);

// "frame 37 of 204 (W 0x054A: channel 13 extra)"; "frame 1 (R 0x0008: general settings)" while
// the number of frames is not known.
std::string frameText(const TransferFailure& failure);

// The reason, beginning with the device the radio was reached through ("COM1 (/dev/ttyS0)",
// "/dev/ttyUSB0", "the simulated radio").
std::string failureText(const TransferFailure& failure, std::string_view device);

// A duration in seconds as the messages give it: "3 s", "5.94 s".
std::string secondsText(int milliseconds);

} // namespace kq904
