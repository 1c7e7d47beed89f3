#include "link/trace_transport.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <ostream>

#include "link/frame.h"
#include "model/file_io.h"

namespace kq904 {

namespace {

std::int64_t steadyMicroseconds()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

enum class Fit { Complete, Partial, NotAFrame };

// Whether the bytes from `pos` on begin a frame: three '<', a length of 1-33, then the length's
// worth of body and checksum. `size` is set to the frame's size when complete.
Fit frameAt(const std::vector<std::uint8_t>& bytes, std::size_t pos, std::size_t& size)
{
    const std::size_t available = bytes.size() - pos;
    const std::size_t head = std::min<std::size_t>(available, FrameFormat::preambleLength + 1);
    for (std::size_t k = 0; k < head; ++k) {
        const std::uint8_t b = bytes[pos + k];
        if (k < FrameFormat::preambleLength ? b != FrameFormat::preambleByte
                                            : (b == 0 || b > FrameFormat::maxLength))
            return Fit::NotAFrame;
    }
    if (head <= FrameFormat::preambleLength)
        return Fit::Partial;
    size = bytes[pos + FrameFormat::preambleLength] + FrameFormat::preambleLength + 1u;
    return available >= size ? Fit::Complete : Fit::Partial;
}

std::string hexAddress(std::uint8_t high, std::uint8_t low)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X%02X", high, low);
    return text;
}

} // namespace

std::string describeFrame(std::span<const std::uint8_t> frame)
{
    if (frame.size() < 2)
        return {};
    const std::uint8_t letter = frame[1];
    std::string words;
    words += (letter >= 0x21 && letter <= 0x7E) ? static_cast<char>(letter) : '?';
    // Length byte, letter, address high and low, count: "W" and "R" name where and how much.
    if ((letter == FrameLetter::write || letter == FrameLetter::read) && frame.size() >= 5)
        words += " " + hexAddress(frame[2], frame[3]) + " " + std::to_string(frame[4]);
    // "r": letter, three bytes of the radio's own, the data, the checksum.
    if (letter == FrameLetter::readReply && frame[0] >= FrameFormat::readReplyOverhead)
        words += " " + std::to_string(frame[0] - FrameFormat::readReplyOverhead);
    if (letter == FrameLetter::versionReply && frame.size() >= 4)
        words += " " + hexAddress(frame[2], frame[3]);
    if (xorChecksum(frame) != 0)
        words += " BAD CHECKSUM";
    return words;
}

TraceTransport::TraceTransport(ByteTransport& inner, std::ostream& out, Clock clock)
    : inner_(inner)
    , out_(out)
    , clock_(clock ? std::move(clock) : Clock(steadyMicroseconds))
    , startUs_(clock_())
{
    out_ << "# serial trace: milliseconds since the trace began, > to the radio, < from the radio"
         << std::endl;
}

TraceTransport::TraceTransport(
    ByteTransport& inner, std::unique_ptr<std::ostream> file, Clock clock)
    : TraceTransport(inner, *file, std::move(clock))
{
    file_ = std::move(file);
}

std::unique_ptr<TraceTransport> TraceTransport::toFile(
    ByteTransport& inner, const std::filesystem::path& path, Result& opened)
{
    auto file = std::make_unique<std::ofstream>(path, std::ios::out | std::ios::trunc);
    if (!file->is_open()) {
        opened = Result::failure(
            "cannot write the trace file " + pathText(path) + ": " + std::strerror(errno));
        return nullptr;
    }
    opened = Result::success();
    return std::unique_ptr<TraceTransport>(new TraceTransport(inner, std::move(file), {}));
}

TraceTransport::~TraceTransport()
{
    flush();
}

bool TraceTransport::open()
{
    const bool wasOpen = inner_.isOpen();
    const bool opened = inner_.open();
    if (!wasOpen)
        note(opened ? "port opened" : "port did not open");
    return opened;
}

bool TraceTransport::isOpen() const
{
    return inner_.isOpen();
}

bool TraceTransport::writeByte(std::uint8_t byte)
{
    const std::int64_t at = now();
    flushStale(sent_, at);
    // What came from the radio before this byte went out is written first, so the lines stay
    // in the order things happened on the line.
    drain(received_, true);
    const bool written = inner_.writeByte(byte);
    take(sent_, byte, at);
    if (!written)
        note("the last byte was not written");
    return written;
}

std::size_t TraceTransport::readAvailable(std::span<std::uint8_t> out)
{
    arrivals_.resize(out.size());
    return readAvailableTimed(out, arrivals_);
}

std::size_t TraceTransport::readAvailableTimed(
    std::span<std::uint8_t> out, std::span<std::int64_t> arrivedUs)
{
    const std::size_t n = inner_.readAvailableTimed(out, arrivedUs);
    const std::int64_t at = now();
    flushStale(sent_, at);
    flushStale(received_, at);
    if (n == 0)
        return 0;
    drain(sent_, true);
    for (std::size_t i = 0; i < n && i < out.size(); ++i) {
        const bool known = i < arrivedUs.size() && arrivedUs[i] != kArrivalUnknown;
        take(received_, out[i], known ? arrivedUs[i] - startUs_ : at);
    }
    return n;
}

void TraceTransport::note(std::string_view text)
{
    flush();
    out_ << "# " << text << std::endl;
}

void TraceTransport::flush()
{
    drain(sent_, true);
    drain(received_, true);
}

std::int64_t TraceTransport::now() const
{
    return clock_() - startUs_;
}

void TraceTransport::take(Pending& pending, std::uint8_t byte, std::int64_t at)
{
    pending.bytes.push_back(byte);
    pending.times.push_back(at);
    drain(pending, false);
}

void TraceTransport::flushStale(Pending& pending, std::int64_t at)
{
    if (!pending.times.empty() && at - pending.times.back() >= burstGapUs)
        drain(pending, true);
}

void TraceTransport::drain(Pending& pending, bool all)
{
    std::vector<std::uint8_t>& bytes = pending.bytes;
    std::size_t pos = 0;
    std::size_t noiseStart = 0;
    std::size_t size = 0;
    auto writeNoise = [&](std::size_t end) {
        if (end > noiseStart)
            writeLine(pending.direction, pending.times[noiseStart],
                std::span(bytes).subspan(noiseStart, end - noiseStart), {});
    };
    while (pos < bytes.size()) {
        const Fit fit = frameAt(bytes, pos, size);
        if (fit == Fit::Complete) {
            writeNoise(pos);
            const auto frame = std::span(bytes).subspan(pos, size);
            writeLine(pending.direction, pending.times[pos], frame,
                describeFrame(frame.subspan(FrameFormat::preambleLength)));
            pos += size;
            noiseStart = pos;
        } else if (fit == Fit::Partial && !all) {
            break; // the rest of this frame is still to come
        } else {
            ++pos;
        }
    }
    const std::size_t written = all ? bytes.size() : noiseStart;
    if (all)
        writeNoise(bytes.size());
    bytes.erase(bytes.begin(), bytes.begin() + static_cast<long>(written));
    pending.times.erase(pending.times.begin(), pending.times.begin() + static_cast<long>(written));
}

void TraceTransport::writeLine(
    char direction, std::int64_t atUs, std::span<const std::uint8_t> bytes, std::string_view words)
{
    char time[32];
    std::snprintf(time, sizeof time, "%6lld.%03lld", static_cast<long long>(atUs / 1000),
        static_cast<long long>(atUs % 1000));
    std::string line = time;
    line += ' ';
    line += direction;
    char digits[4];
    for (const std::uint8_t b : bytes) {
        std::snprintf(digits, sizeof digits, " %02X", b);
        line += digits;
    }
    if (!words.empty()) {
        line += "  ";
        line += words;
    }
    out_ << line << std::endl;
}

} // namespace kq904
