#include "soak/line_tap.h"

#include <algorithm>
#include <array>

#include "link/frame.h"

namespace kq904::soak {

LineTap::LineTap(ByteTransport& line)
    : line_(line)
{ }

void LineTap::injectAt(long at, std::vector<std::uint8_t> bytes)
{
    schedule(at, std::move(bytes));
}

void LineTap::injectAfterRequest(int request, int offsetTicks, std::vector<std::uint8_t> bytes)
{
    if (request <= requestsSent()) {
        schedule(
            requestTicks_[static_cast<std::size_t>(request - 1)] + offsetTicks, std::move(bytes));
        return;
    }
    afterRequest_.emplace(request, Injection{offsetTicks, std::move(bytes)});
}

void LineTap::schedule(long at, std::vector<std::uint8_t> bytes)
{
    // Strays due on the same tick keep the order they were scheduled in.
    const auto later = std::upper_bound(scheduled_.begin(), scheduled_.end(), at,
        [](long tick, const Injection& i) { return tick < i.at; });
    scheduled_.insert(later, Injection{at, std::move(bytes)});
}

bool LineTap::writeByte(std::uint8_t byte)
{
    const bool written = line_.writeByte(byte);
    if (sent_.feed(byte)) {
        const auto frame = sent_.frame();
        HostFrame host{tick_, {frame.begin(), frame.end()}, sent_.checksumOk()};
        const std::uint8_t letter = host.letter();
        hostFrames_.push_back(std::move(host));
        sent_.reset();
        if (letter == FrameLetter::write || letter == FrameLetter::read
            || letter == FrameLetter::endOfProgramming || letter == FrameLetter::versionRequest) {
            requestTicks_.push_back(tick_);
            const auto [first, last] = afterRequest_.equal_range(requestsSent());
            for (auto it = first; it != last; ++it)
                schedule(tick_ + it->second.at, std::move(it->second.bytes));
            afterRequest_.erase(first, last);
        }
    }
    return written;
}

bool LineTap::betweenFrames() const
{
    const auto state = received_.state();
    return state == ReceiveParser::State::Idle || state == ReceiveParser::State::Abandoned;
}

void LineTap::follow(std::uint8_t byte)
{
    if (received_.feed(byte)) {
        ++answers_;
        received_.reset();
    }
}

std::size_t LineTap::readAvailable(std::span<std::uint8_t> out)
{
    std::vector<std::uint8_t> due;
    std::size_t dueCount = 0;
    while (dueCount < scheduled_.size() && scheduled_[dueCount].at <= tick_
        && due.size() + scheduled_[dueCount].bytes.size() <= out.size()) {
        const auto& bytes = scheduled_[dueCount].bytes;
        due.insert(due.end(), bytes.begin(), bytes.end());
        ++dueCount;
    }

    std::array<std::uint8_t, 256> chunk{};
    const std::size_t room = std::min(out.size() - due.size(), chunk.size());
    const std::size_t got = line_.readAvailable(std::span(chunk).first(room));

    // The strays go in at the first point of this read where the line is between frames.
    std::size_t split = 0;
    while (!betweenFrames() && split < got)
        follow(chunk[split++]);
    if (!betweenFrames()) {
        // Mid-frame all through this read: the strays wait for the next one.
        dueCount = 0;
        due.clear();
    }
    for (std::size_t i = split; i < got; ++i)
        follow(chunk[i]);

    std::copy_n(chunk.begin(), split, out.begin());
    std::copy(due.begin(), due.end(), out.begin() + static_cast<long>(split));
    std::copy(chunk.begin() + static_cast<long>(split), chunk.begin() + static_cast<long>(got),
        out.begin() + static_cast<long>(split + due.size()));
    scheduled_.erase(scheduled_.begin(), scheduled_.begin() + static_cast<long>(dueCount));
    return got + due.size();
}

} // namespace kq904::soak
