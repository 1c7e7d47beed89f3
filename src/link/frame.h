#pragma once
// Frames as they travel between the program and the radio, in both directions:
//   3C 3C 3C | L | letter, parameters... | checksum
// L counts the bytes after the length byte, checksum included (so a frame is L + 4 bytes on the
// wire), and the checksum is the XOR of the length byte and every body byte, so that XOR-ing the
// length byte and everything after it gives 0 for an intact frame. EEPROM addresses go high
// byte first.
//
// A Frame here is the length byte followed by the body, without preamble and checksum: the form
// sendFrame takes and the receive parser stores.

#include <cstdint>
#include <span>
#include <vector>

namespace kq904 {

using Frame = std::vector<std::uint8_t>;

struct FrameFormat {
    static constexpr std::uint8_t preambleByte = 0x3C; // '<'
    static constexpr int preambleLength = 3;
    // The longest frame either side handles: L = 33, the 28-byte write at 0x0020.
    static constexpr std::uint8_t maxLength = 33;
    // Data bytes a read reply carries at most: "r", three bytes the link skips, data, checksum.
    static constexpr int readReplyOverhead = 5;
    static constexpr int maxReadData = maxLength - readReplyOverhead;
    static constexpr int writeOverhead = 5;
    static constexpr int maxWriteData = maxLength - writeOverhead;
};

// Command letters, host to radio and radio to host.
struct FrameLetter {
    static constexpr std::uint8_t write = 'W';
    static constexpr std::uint8_t read = 'R';
    static constexpr std::uint8_t endOfProgramming = 'D';
    static constexpr std::uint8_t versionRequest = 'F';
    static constexpr std::uint8_t negative = '0';
    static constexpr std::uint8_t acknowledge = '1';
    static constexpr std::uint8_t startReading = '2';
    static constexpr std::uint8_t readReply = 'r';
    static constexpr std::uint8_t versionReply = 'f';
};

// XOR of the given bytes, starting from 0.
std::uint8_t xorChecksum(std::span<const std::uint8_t> bytes);

// A frame with no parameters ("D", "F", "0", "1", "2").
Frame commandFrame(std::uint8_t letter);
// "W": write data into the EEPROM at address. Data longer than a frame can carry give an empty
// frame, which sendFrame does not send.
Frame writeFrame(std::uint16_t address, std::span<const std::uint8_t> data);
// "R": read count bytes from the EEPROM at address.
Frame readFrame(std::uint16_t address, std::uint8_t count);
// "r": the radio's read reply: three bytes of its own choice, then the data.
Frame readReplyFrame(std::span<const std::uint8_t, 3> head, std::span<const std::uint8_t> data);
// "f": the radio's version reply.
Frame versionReplyFrame(std::uint16_t version);

// The bytes on the wire for a frame: preamble, the frame, its checksum. Empty for an empty frame
// or one whose length byte does not match its size.
std::vector<std::uint8_t> wireBytes(std::span<const std::uint8_t> frame);

} // namespace kq904
