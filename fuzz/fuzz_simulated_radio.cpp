// The simulated radio (kq904-sim) with any bytes a program, or anything else on its
// pseudo-terminal, may send. Input: chunks of a length byte and that many bytes, each arriving
// 15 ms after the one before. Checks, for a radio without faults:
//  - every reply is a whole, well-formed frame: "1", "0", "r" or "f";
//  - the EEPROM changes only where an acknowledged write put its data;
//  - a read reply carries the EEPROM bytes it was asked for.
#include <algorithm>
#include <vector>

#include "fuzz_support.h"
#include "link/frame.h"
#include "sim/simulated_radio.h"

using namespace kq904;
using namespace kq904::fuzz;

namespace {

// The reply frames in the bytes, checked to be whole and well-formed; each is the length byte,
// the body and the checksum.
std::vector<std::vector<std::uint8_t>> replyFrames(const std::vector<std::uint8_t>& wire)
{
    std::vector<std::vector<std::uint8_t>> frames;
    std::size_t at = 0;
    while (at < wire.size()) {
        FUZZ_CHECK(wire.size() - at >= 6, "replies are whole frames");
        FUZZ_CHECK(wire[at] == 0x3C && wire[at + 1] == 0x3C && wire[at + 2] == 0x3C,
            "every reply starts with three '<'");
        const std::size_t length = wire[at + 3];
        FUZZ_CHECK(length >= 2 && length <= FrameFormat::maxLength, "reply length is 2-33");
        FUZZ_CHECK(wire.size() - at >= length + 4, "replies are whole frames");
        std::vector<std::uint8_t> frame(wire.begin() + static_cast<std::ptrdiff_t>(at + 3),
            wire.begin() + static_cast<std::ptrdiff_t>(at + 4 + length));
        FUZZ_CHECK(xorChecksum(frame) == 0, "every reply carries its checksum");
        const std::uint8_t letter = frame[1];
        FUZZ_CHECK(letter == FrameLetter::acknowledge || letter == FrameLetter::negative
                || letter == FrameLetter::readReply || letter == FrameLetter::versionReply,
            "the radio answers only 1, 0, r and f");
        frames.push_back(std::move(frame));
        at += length + 4;
    }
    return frames;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    InputReader input(data, size);
    SimulatedRadio radio;
    radio.setRecording(true);
    SimulatedRadio::Eeprom expected = radio.eeprom();
    std::int64_t nowMs = 0;
    std::size_t checkedFrames = 0;
    while (!input.empty()) {
        const auto chunk = input.bytes(input.byte() % 64);
        radio.receive(chunk, nowMs);
        nowMs += 15;
        const std::vector<std::uint8_t> replies = radio.takeDue(nowMs);
        replyFrames(replies);

        // Every frame the radio took, with what it answered.
        const auto& frames = radio.recordedFrames();
        for (; checkedFrames < frames.size(); ++checkedFrames) {
            const ReceivedFrame& f = frames[checkedFrames];
            const auto answers = replyFrames(f.reply);
            FUZZ_CHECK(answers.size() <= 1, "one answer per frame");
            if (answers.empty())
                continue;
            const auto& answer = answers.front();
            if (!f.checksumOk) {
                FUZZ_CHECK(answer[1] == FrameLetter::negative, "a corrupted frame gets \"0\"");
                continue;
            }
            if (f.letter() == FrameLetter::write && answer[1] == FrameLetter::acknowledge) {
                const auto written = f.data();
                FUZZ_CHECK(f.address() + written.size() <= SimulatedRadio::eepromSize,
                    "an acknowledged write lies inside the EEPROM");
                std::copy(written.begin(), written.end(), expected.begin() + f.address());
            }
            if (f.letter() == FrameLetter::read && answer[1] == FrameLetter::readReply) {
                FUZZ_CHECK(answer.size() == 6u + f.count(), "a read reply carries the count asked");
                FUZZ_CHECK(std::equal(answer.begin() + 5, answer.end() - 1,
                               expected.begin() + f.address()),
                    "a read reply carries the EEPROM's bytes");
            }
        }
        FUZZ_CHECK(radio.eeprom() == expected, "the EEPROM changes only by acknowledged writes");
    }
    return 0;
}
