#pragma once
// Verifying a programmed radio: after "Programming OK" every block the programming wrote is read
// back with "R" frames and compared byte by byte with what was sent, so a radio whose EEPROM did
// not take a byte is caught at the bench and not in the field.
//
// The read-back runs on the same 15 ms ticks as the link, over the same transport, once the
// link's sequence has ended: one request at a time, each answered before the next is sent. A
// read that gets no usable answer (silence, a corrupted reply, a refusal, a reply shorter than
// asked) is asked again, since reading changes nothing in the radio; a read that fails every
// attempt leaves the radio unverified.

#include <cstdint>
#include <string>
#include <vector>

#include "link/byte_transport.h"
#include "link/receive_parser.h"
#include "model/radio_image.h"

namespace kq904 {

// Bytes written at one EEPROM address.
struct EepromBlock {
    std::uint16_t address = 0;
    std::vector<std::uint8_t> bytes;

    bool operator==(const EepromBlock&) const = default;
};

// The blocks a programming run writes, in the order it writes them, as the image holds them once
// the run has ended: the link stores the band bits, the IfCounters and the kill marker into the
// image before sending them, so the image then holds exactly what went out.
std::vector<EepromBlock> programmedBlocks(const RadioImage& image);

// One byte the radio holds differently from what was written.
struct VerifyDifference {
    std::uint16_t address = 0;
    std::uint8_t wrote = 0;
    std::uint8_t read = 0;

    bool operator==(const VerifyDifference&) const = default;
};

// "0x0123: wrote 5A, read 5B"
std::string differenceText(const VerifyDifference& difference);

enum class VerifyStatus {
    Running,
    Ok, // every byte read back as written
    Mismatch, // the radio answered, and holds different bytes
    NoAnswer, // a read got no usable answer: the radio is not verified
};

class VerifyRun {
public:
    static constexpr std::uint16_t replyTimeout = 200; // ticks, 3000 ms, as the link waits
    // The radio has just been told programming ended; give it the same moment to settle as
    // after the port opens.
    static constexpr std::uint16_t settleTicks = 33;
    static constexpr int attemptsPerRead = 3;
    static constexpr std::size_t pumpLimit = 256; // bytes taken from the transport per tick

    VerifyRun(ByteTransport& transport, const std::vector<EepromBlock>& blocks);
    VerifyRun(const VerifyRun&) = delete;
    VerifyRun& operator=(const VerifyRun&) = delete;

    // One 15 ms tick: count down, take in what arrived, send the next request when due.
    void tick();
    // Fast transfer: bytes arrived between ticks. An answer is compared and the next read sent
    // at once; while the radio settles, what it says is left to the tick to discard.
    void bytesArrived();

    VerifyStatus status() const { return status_; }
    bool finished() const { return status_ != VerifyStatus::Running; }
    // Every differing byte, in address order within each block, blocks in writing order.
    const std::vector<VerifyDifference>& differences() const { return differences_; }
    int bytesCompared() const { return bytesCompared_; }
    int readsSent() const { return readsSent_; }
    // For NoAnswer: the read that failed every attempt.
    std::uint16_t unansweredAddress() const { return unansweredAddress_; }
    int unansweredCount() const { return unansweredCount_; }
    // Reads done as a share of all reads, 0-100.
    int progressPercent() const;

private:
    // One read request: at most as many bytes as a read reply carries.
    struct Chunk {
        std::uint16_t address;
        std::vector<std::uint8_t> expected;
    };

    void pump();
    void takeFrame();
    void sendRequest();
    void sendFrame(const std::vector<std::uint8_t>& frame);
    void retryOrGiveUp();
    void compare(const std::uint8_t* data);
    void finish();

    ByteTransport& transport_;
    std::vector<Chunk> chunks_;
    std::size_t next_ = 0; // the chunk being read
    bool awaiting_ = false;
    int attempts_ = 0;
    std::uint16_t settle_ = settleTicks;
    std::uint16_t countdown_ = 0;
    ReceiveParser parser_;

    VerifyStatus status_ = VerifyStatus::Running;
    std::vector<VerifyDifference> differences_;
    int bytesCompared_ = 0;
    int readsSent_ = 0;
    std::uint16_t unansweredAddress_ = 0;
    int unansweredCount_ = 0;
};

} // namespace kq904
