// The receive parser on its own, with any bytes the serial line may carry: it never holds more
// than its 34-byte buffer, and a frame it completes is exactly the length byte and the L bytes
// after it, preceded by three '<', with the checksum test the XOR of those bytes. The link target
// drives the same parser through the reply handling and the state machine.
#include <algorithm>
#include <vector>

#include "fuzz_support.h"
#include "link/frame.h"
#include "link/receive_parser.h"

using namespace kq904;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ReceiveParser parser;
    std::vector<std::uint8_t> sinceLength; // the last length byte and what followed it
    int preamble = 0; // '<' bytes in a row just before this byte
    int precededBy = 0; // '<' bytes in a row just before the last length byte
    for (const std::uint8_t b : std::span(data, size)) {
        const bool wasLength = parser.state() == ReceiveParser::State::Length;
        const bool completed = parser.feed(b);
        if (wasLength) {
            sinceLength.clear();
            precededBy = preamble;
        }
        sinceLength.push_back(b);
        FUZZ_CHECK(parser.frame().size() <= ReceiveParser::bufferSize,
            "the parser stays inside its buffer");
        FUZZ_CHECK(completed == parser.complete(), "feed reports the completed frame");
        if (completed) {
            const auto frame = parser.frame();
            FUZZ_CHECK(precededBy >= 3, "a frame follows three '<'");
            FUZZ_CHECK(frame.size() == parser.length() + 1u && frame[0] == parser.length()
                    && parser.length() >= 1 && parser.length() <= FrameFormat::maxLength,
                "a frame is its length byte and the L bytes after it");
            FUZZ_CHECK(
                std::equal(frame.begin(), frame.end(), sinceLength.begin(), sinceLength.end()),
                "a frame holds the bytes as they came");
            FUZZ_CHECK(parser.checksumOk() == (xorChecksum(frame) == 0),
                "the checksum test is the XOR of the frame");
            FUZZ_CHECK(parser.letter() == frame[1], "the letter follows the length byte");
        }
        preamble = b == FrameFormat::preambleByte ? preamble + 1 : 0;
    }
    return 0;
}
