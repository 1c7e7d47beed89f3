#pragma once
// A serial trace: a byte transport that passes everything through to the real one and writes
// every byte sent and received to a text log, with the time since the trace began (milliseconds,
// to the microsecond) and the direction, one frame per line where the bytes make a frame:
//
//       12.345 > 3C 3C 3C 05 52 00 08 18 47  R 0x0008 24
//       40.118 < 3C 3C 3C 1D 72 00 08 18 ... 6F  r 24
//
// ">" is the program to the radio, "<" the radio to the program. A received byte carries the time
// it came in from the device where the port knows it (SerialPort stamps bytes on readyRead), not
// the time the link took it in, so the trace shows the radio's and the adapter's real latency.
// Bytes that make no frame (line noise, a frame broken off) are written as they came, one line per
// burst. A frame whose checksum fails is marked "BAD CHECKSUM". Lines starting with "#" are notes
// (port opened, outcome). Each line is flushed as it is written, so a trace survives a crash of the
// program.
//
// The link is not changed by tracing: it sees the same bytes at the same times.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "link/byte_transport.h"
#include "model/result.h"

namespace kq904 {

// The words a trace line gives a frame: "W 0x0043 9", "R 0x0008 24", "r 24", "f 0x0512", "1".
// `frame` is the length byte and what follows it, checksum included.
std::string describeFrame(std::span<const std::uint8_t> frame);

class TraceTransport final : public ByteTransport {
public:
    // Microseconds since an arbitrary start; tests give a clock of their own. Arrival times from
    // the inner transport are taken to be on the same clock (by default the steady clock).
    using Clock = std::function<std::int64_t()>;

    // Bytes in one direction that make no frame are written out once nothing has followed them
    // for this long.
    static constexpr std::int64_t burstGapUs = 20'000;

    // Traces `inner` into `out`, which must outlive the transport.
    TraceTransport(ByteTransport& inner, std::ostream& out, Clock clock = {});
    // Traces `inner` into a file of its own, created (or emptied) now.
    static std::unique_ptr<TraceTransport> toFile(
        ByteTransport& inner, const std::filesystem::path& path, Result& opened);
    ~TraceTransport() override;
    TraceTransport(const TraceTransport&) = delete;
    TraceTransport& operator=(const TraceTransport&) = delete;

    bool open() override;
    bool isOpen() const override;
    bool writeByte(std::uint8_t byte) override;
    std::size_t readAvailable(std::span<std::uint8_t> out) override;
    std::size_t readAvailableTimed(
        std::span<std::uint8_t> out, std::span<std::int64_t> arrivedUs) override;
    void setArrivalHandler(std::function<void()> handler) override
    {
        inner_.setArrivalHandler(std::move(handler));
    }

    // A "# text" line, after whatever bytes are still waiting to be written.
    void note(std::string_view text);
    // Writes out the bytes held back waiting for the rest of a frame.
    void flush();

private:
    // The bytes of one direction not yet written, each with the time it passed.
    struct Pending {
        char direction;
        std::vector<std::uint8_t> bytes;
        std::vector<std::int64_t> times;
    };

    TraceTransport(ByteTransport& inner, std::unique_ptr<std::ostream> file, Clock clock);

    std::int64_t now() const;
    void take(Pending& pending, std::uint8_t byte, std::int64_t at);
    // Writes the complete frames and the noise ahead of them; with `all`, the rest too.
    void drain(Pending& pending, bool all);
    void flushStale(Pending& pending, std::int64_t at);
    void writeLine(char direction, std::int64_t atUs, std::span<const std::uint8_t> bytes,
        std::string_view words);

    ByteTransport& inner_;
    std::unique_ptr<std::ostream> file_;
    std::ostream& out_;
    Clock clock_;
    std::int64_t startUs_ = 0;
    Pending sent_{'>', {}, {}};
    Pending received_{'<', {}, {}};
    std::vector<std::int64_t> arrivals_; // scratch for readAvailable
};

} // namespace kq904
