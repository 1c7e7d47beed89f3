#pragma once
// The states the link's state machine runs through, and the outcomes it reports. The numbers
// are the programmer's own and stay as they are: programming runs through 1-17, reading through
// 20-34, and the forms take in the end states 18 (failed), 19 (programmed) and 41 (read, or the
// version received). A state either sends a frame or waits for its answer.

#include <cstdint>
#include <string_view>

namespace kq904 {

enum class LinkState : std::uint8_t {
    Idle = 0,
    // Programming: every channel's record and extra, the settings blocks, then "D".
    ProgramStart = 1, // sends the first channel record
    AwaitChannelRecordAck = 3, // then sends the channel's extra
    AwaitChannelExtraAck = 5, // then sends the next channel's record, or goes on to the blocks
    SendGeneralSettings = 6,
    AwaitGeneralSettingsAck = 7,
    SendConstantBlock = 8, // with the IfCounters behind it
    AwaitConstantBlockAck = 9,
    SendKillSettings = 10,
    AwaitKillSettingsAck = 11,
    SendCodeSettings = 12,
    AwaitCodeSettingsAck = 13,
    SendIdSettings = 14,
    AwaitIdSettingsAck = 15,
    SendEndOfProgramming = 16,
    AwaitEndOfProgrammingAck = 17,
    Failed = 18,
    Programmed = 19,
    // Reading: each request's reply moves its state to the next number, whose step stores the
    // data and sends the next request.
    ReadStart = 20, // sends the request for the general settings
    AwaitVersion = 21, // the version request's answer: "f", or "2" to be read in full
    ReadFromVersion = 24, // as ReadStart, after a "2"
    AwaitGeneralSettings = 25,
    StoreGeneralSettings = 26,
    AwaitCodeSettings = 27,
    StoreCodeSettings = 28,
    AwaitIdSettings = 29,
    StoreIdSettings = 30,
    AwaitChannelRecord = 31,
    StoreChannelRecord = 32,
    AwaitChannelExtra = 33,
    StoreChannelExtra = 34,
    VersionRequest = 40, // sends "F"
    ReadDone = 41, // also: the version word came
};

// The number the programmer's tables and traces give a state.
constexpr std::uint8_t stateNumber(LinkState state)
{
    return static_cast<std::uint8_t>(state);
}

constexpr bool isProgramming(LinkState state)
{
    return state >= LinkState::ProgramStart && state <= LinkState::AwaitEndOfProgrammingAck;
}

// The version request's wait included: a "2" turns it into a reading.
constexpr bool isReading(LinkState state)
{
    return state >= LinkState::ReadStart && state <= LinkState::StoreChannelExtra;
}

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
