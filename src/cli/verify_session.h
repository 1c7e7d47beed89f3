#pragma once
// kq904-cli program --verify: once the radio has said "Programming OK", every block written is
// read back and compared, on the same 15 ms tick and the same port as the programming.

#include <cstdint>
#include <vector>

#include "cli/cli_app.h"
#include "link/byte_transport.h"
#include "link/verify.h"
#include "model/radio_image.h"

namespace kq904::cli {

// Exit status of a programming the radio did not confirm on reading back.
inline constexpr int kExitVerifyFail = 4;

// Differing bytes listed at most; the rest are counted.
inline constexpr std::size_t kListedDifferences = 10;

struct VerifyReport {
    VerifyStatus status = VerifyStatus::Running;
    std::vector<VerifyDifference> differences;
    std::uint16_t unansweredAddress = 0;
    int unansweredCount = 0;
    int bytesCompared = 0;
    bool deviceLost = false; // the port closed under the read-back
    long ticks = 0;
};

// Reads back what the programming of `image` wrote, through `transport` (already open), in real
// time in an event loop; with `fast`, each answer is taken in as it arrives and the next read
// sent at once.
VerifyReport runVerification(ByteTransport& transport, const RadioImage& image, bool fast = false);

// "Verify OK", or "Verify Fail" with the first differing bytes on stdout and the reason on
// stderr. Returns the exit status: kExitOk or kExitVerifyFail.
int printVerifyReport(const VerifyReport& report, CommandStreams streams);

} // namespace kq904::cli
