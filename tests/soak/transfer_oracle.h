#pragma once
// What a programming or a reading must send and what it must leave behind, worked out on the raw
// bytes from the transfer rules, without the link's own code: the frames of each sequence in
// order, the band bits and IF counters programming stores, the radio's EEPROM after the writes
// it carried out, and the image after a reading that ended well.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "model/radio_image.h"

namespace kq904::soak {

using Eeprom = std::array<std::uint8_t, 2048>;

enum class Sequence { Programming, Reading, VersionThenReading };

enum class BlockKind {
    ChannelRecord,
    ChannelExtra,
    General,
    Constant,
    Kill,
    Code,
    Id,
    End,
    Version
};

// One frame a sequence sends and waits on.
struct Request {
    std::uint8_t letter = 0; // 'W', 'R', 'D' or 'F'
    BlockKind block = BlockKind::End;
    int channel = -1;
    std::uint16_t address = 0;
    std::uint8_t count = 0; // data bytes written or asked for

    // Ticks the sequence waits for the answer: 200 (3000 ms), 396 (5940 ms) for "D".
    int timeoutTicks() const { return letter == 'D' ? 396 : 200; }
};

// Every channel record with its extra below the image's channel count (at least channel 0, at
// most 99 channels), then general, constant block with IF counters, kill, code, id, "D".
std::vector<Request> programmingRequests(const RadioImage& image);
// General, code, id, then record and extra of every channel below the count the radio holds
// (clamped to 99); behind an "F" when the reading is started by a version request.
std::vector<Request> readingRequests(const Eeprom& radio, bool viaVersion);
std::vector<Request> sequenceRequests(
    Sequence sequence, const RadioImage& image, const Eeprom& radio);

// What programming stores in the image just before it sends a block (band bits before a channel
// record, IF counters before the constant block, the kill marker before the kill block), and
// the data bytes of the write.
std::vector<std::uint8_t> prepareWrite(RadioImage& image, const Request& request);
// The radio carries out a write.
void applyWrite(Eeprom& radio, const Request& request, std::span<const std::uint8_t> data);
// The image after a reading that ended well: general (count clamped to 99), code bytes 0-13,
// id, and the channels below the count; everything else as it was.
void applyReading(RadioImage& image, const Eeprom& radio);

// The frequency of one synthesizer half (swallow, program low, flags bytes) in hertz.
std::uint32_t synthesizerHertz(std::span<const std::uint8_t> half, bool prescaler64);
bool inEitherBand(const RadioImage& image, std::uint32_t hertz);
std::array<std::uint8_t, 8> ifCountersFor(
    std::uint32_t intermediateHertz, bool prescaler64, bool oscillatorAbove);

// Ticks from the tick a request leaves until the tick its answer can be read, on the in-process
// line: the radio answers latency + delay ms after the frame arrived, and a reply that fell due
// during one tick is read on the next.
int replyTicks(int latencyMs, int delayMs);

// The channel count the radio holds (GeneralSettings byte 3 at 0x000B).
int radioChannelCount(const Eeprom& radio);

} // namespace kq904::soak
