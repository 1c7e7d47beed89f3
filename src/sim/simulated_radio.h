#pragma once
// A KQ904 as the link sees it: a 2048-byte EEPROM that answers the program's frames.
//   "W" writes the data and acknowledges with "1";
//   "R" answers "r", the address and count it was asked for, then the data;
//   "D" acknowledges with "1";
//   "F" answers "f" with the version word;
//   a frame with a bad checksum is answered with "0"; other letters get no answer.
// A write or read that reaches past the EEPROM, or whose length does not match its count, is
// refused with "0".
//
// The radio is pure: it is fed bytes with the time they arrived and hands out reply bytes once
// their time has come, so it serves an in-process transport in virtual time as well as a pty in
// real time. Times are in milliseconds on the caller's clock.

#include <array>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "link/receive_parser.h"
#include "model/result.h"
#include "sim/fault_plan.h"

namespace kq904 {

// A frame the radio received, as it came (length byte, body, checksum), with what it sent back.
struct ReceivedFrame {
    int number = 0; // from 1
    std::int64_t atMs = 0;
    std::vector<std::uint8_t> frame;
    bool checksumOk = false;
    std::vector<FaultKind> faults;
    std::vector<std::uint8_t> reply; // the bytes put on the wire in answer, noise included
    bool takenOffCable = false; // the version request that found the radio being taken away

    std::uint8_t letter() const { return frame.size() > 1 ? frame[1] : 0; }
    // For "W" and "R": the EEPROM address and the byte count.
    std::uint16_t address() const;
    std::uint8_t count() const;
    // For "W": the data written.
    std::span<const std::uint8_t> data() const;
};

class SimulatedRadio {
public:
    static constexpr std::size_t eepromSize = 2048;
    using Eeprom = std::array<std::uint8_t, eepromSize>;

    // A blank radio: every EEPROM byte 0xFF.
    SimulatedRadio();

    Eeprom& eeprom() { return eeprom_; }
    const Eeprom& eeprom() const { return eeprom_; }
    // Loads an EEPROM image of exactly 2048 bytes.
    Result loadEeprom(std::span<const std::uint8_t> bytes);
    Result loadEepromFile(const std::filesystem::path& path);
    Result saveEepromFile(const std::filesystem::path& path) const;

    void setVersionWord(std::uint16_t version) { version_ = version; }
    std::uint16_t versionWord() const { return version_; }
    // Time the radio takes to answer a frame (before any fault delay).
    void setReplyLatencyMs(std::int64_t latency) { latencyMs_ = latency; }
    void setFaultPlan(FaultPlan plan) { faults_ = std::move(plan); }
    // A weak EEPROM cell: every write that covers `address` stores the byte there with its
    // lowest bit flipped, and is acknowledged as if all went well. Only reading back finds it.
    void setCorruptedCell(std::uint16_t address) { corruptedCell_ = address; }

    // Radios swapped on a factory station: once a programming has ended ("D" acknowledged) the
    // radio still answers reads (a verification), but from the next version request on it is
    // silent for `offCableMs` (it was taken off the cable) and then answers as a blank radio
    // (the next one, EEPROM all 0xFF). 0, the default: always the same radio. Frames count on
    // across radios, so a fault plan's frame numbers do too.
    void setSwapAfterProgramming(std::int64_t offCableMs) { swapOffCableMs_ = offCableMs; }
    // Radios taken off and replaced by a blank one so far.
    int radiosSwapped() const { return radiosSwapped_; }

    // Every frame received is kept (for tests) when recording is on, and passed to the listener
    // (for a log) when one is set.
    void setRecording(bool on) { recording_ = on; }
    const std::vector<ReceivedFrame>& recordedFrames() const { return recorded_; }
    void setFrameListener(std::function<void(const ReceivedFrame&)> listener)
    {
        listener_ = std::move(listener);
    }
    int framesReceived() const { return frameCount_; }
    // How many "D" frames were acknowledged: the radio has been told programming ended.
    int programmingEnds() const { return programmingEnds_; }

    // One byte from the program, arriving at nowMs.
    void receive(std::uint8_t byte, std::int64_t nowMs);
    void receive(std::span<const std::uint8_t> bytes, std::int64_t nowMs);
    // Moves reply bytes due at or before nowMs into out, in order; returns how many.
    std::size_t takeDue(std::int64_t nowMs, std::span<std::uint8_t> out);
    std::vector<std::uint8_t> takeDue(std::int64_t nowMs);
    // When the next reply byte falls due; false when none is waiting.
    bool nextDue(std::int64_t& dueMs) const;

private:
    struct PendingByte {
        std::int64_t dueMs;
        std::uint8_t byte;
    };

    void handleFrame(std::int64_t nowMs);
    std::vector<std::uint8_t> answer(const ReceivedFrame& received, bool negative);
    std::vector<std::uint8_t> answerWrite(const ReceivedFrame& received);
    std::vector<std::uint8_t> answerRead(const ReceivedFrame& received, bool shortReply);
    void queue(std::span<const std::uint8_t> bytes, std::int64_t dueMs);

    Eeprom eeprom_{};
    std::uint16_t version_ = 0x0512;
    std::int64_t latencyMs_ = 0;
    FaultPlan faults_;
    std::optional<std::uint16_t> corruptedCell_;
    ReceiveParser parser_;
    std::int64_t lastByteMs_ = 0;
    std::int64_t swapOffCableMs_ = 0;
    bool swapDue_ = false; // programmed: the next version request takes the radio away
    std::optional<std::int64_t> offCableUntil_;
    int radiosSwapped_ = 0;
    int frameCount_ = 0;
    int programmingEnds_ = 0;
    bool recording_ = false;
    std::vector<ReceivedFrame> recorded_;
    std::function<void(const ReceivedFrame&)> listener_;
    std::deque<PendingByte> pending_;
};

} // namespace kq904
