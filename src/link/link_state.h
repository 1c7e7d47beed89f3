#pragma once
// The numbers the link's state machine runs through, and the outcomes it reports. The forms read
// the state to show progress and results: 0 idle, 18 failed, 19 programmed, 41 read or version
// received.

#include <cstdint>
#include <string_view>

namespace kq904 {

struct LinkStates {
    static constexpr std::uint8_t idle = 0;
    static constexpr std::uint8_t programStart = 1; // 1-17: programming
    static constexpr std::uint8_t programEnd = 17;
    static constexpr std::uint8_t failed = 18;
    static constexpr std::uint8_t programmed = 19;
    static constexpr std::uint8_t readStart = 20; // 20-34: reading
    static constexpr std::uint8_t versionWait = 21;
    static constexpr std::uint8_t readFromVersion = 24; // a "2" reply to the version request
    static constexpr std::uint8_t readEnd = 34;
    static constexpr std::uint8_t versionRequest = 40;
    static constexpr std::uint8_t readDone = 41; // also: version word received
};

// How a programming or reading sequence ended. Each is shown to the user once, in a message box.
enum class LinkOutcome { ProgrammingOk, ProgrammingFail, ReadOk, ReadingFail };

constexpr std::string_view outcomeText(LinkOutcome outcome)
{
    switch (outcome) {
    case LinkOutcome::ProgrammingOk:
        return "Programming OK";
    case LinkOutcome::ProgrammingFail:
        return "Programming Fail";
    case LinkOutcome::ReadOk:
        return "READ OK";
    case LinkOutcome::ReadingFail:
        return "Reading Fail";
    }
    return {};
}

// What a caller shows when the port for a transfer will not open.
inline constexpr std::string_view kComPortFail = "Com Port Fail";

} // namespace kq904
