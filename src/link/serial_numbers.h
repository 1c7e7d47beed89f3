#pragma once
// Serial numbers for the radios a dealer programs one after another. The number for the next
// radio lives in the profile ("SERIAL_NUMBER"), which every program window and kq904-cli of the
// user share. With "Auto Increment S/N" each programming reserves its number when it starts:
// under a lock held across processes it takes the stored number and stores the one after it at
// once, so two windows, or a window and the command line, never program the same number, and a
// crash never hands a number out again. A number that may have reached a radio is never taken
// back; a gap in the numbers is harmless, a duplicate is not.
//
// The lock is a QLockFile beside the settings file ("KQ904.serial.lock"); a lock left by a
// program that died is recognised as stale and taken over.

#include <cstdint>
#include <optional>
#include <string>

#include "model/result.h"

namespace kq904 {

class ProfileSettings;

// The largest serial number the seven-digit field shows.
inline constexpr std::uint32_t kMaxSerialNumber = 9'999'999;

// The number after `serial`: one more, or 0 after 9 999 999.
constexpr std::uint32_t nextSerialNumber(std::uint32_t serial)
{
    return serial >= kMaxSerialNumber ? 0 : serial + 1;
}

// "0000042": the serial number in seven digits, as the Programming form shows it (more when it
// has more), for messages and the production log.
std::string sevenDigitSerial(std::uint32_t serial);

// How long a reservation waits for another program holding the lock.
inline constexpr int kSerialLockWaitMs = 10'000;

struct SerialReservation {
    std::uint32_t serial = 0; // the number for this radio
    std::uint32_t next = 0; // stored in the profile for the radio after it
    // The profile held a number of more than seven digits, which cannot be shown or typed:
    // counting started again at 0, as the Programming form does with such a number.
    std::optional<std::uint32_t> unusableStored;
};

struct SerialReservationResult {
    Result result;
    SerialReservation reservation;
};

// Takes "SERIAL_NUMBER" as the profile holds it now (or `startingAt`, a new starting number the
// user gave), stores the number after it and returns both. Nothing is taken or stored when the
// lock cannot be had within kSerialLockWaitMs or the profile cannot be written; the result
// then says why.
SerialReservationResult reserveSerialNumber(ProfileSettings& profile,
    std::optional<std::uint32_t> startingAt = std::nullopt, int lockWaitMs = kSerialLockWaitMs);

// Gives back a reserved number that went into no radio (the port would not open): only while
// the profile still holds the number after it, so a number another program has taken since is
// never handed out twice. Returns whether it was given back.
bool releaseSerialNumber(ProfileSettings& profile, const SerialReservation& reservation);

// Stores `serial` as the number for the next radio (a number the user typed), under the lock.
Result storeSerialNumber(
    ProfileSettings& profile, std::uint32_t serial, int lockWaitMs = kSerialLockWaitMs);

// "SERIAL_NUMBER" as the profile holds it now, whichever program stored it last.
std::uint32_t currentSerialNumber(ProfileSettings& profile);

} // namespace kq904
