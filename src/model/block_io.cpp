#include "block_io.h"

#include <algorithm>

namespace kq904 {

static_assert(ChannelExtra::headSize + ChannelExtra::tailSize == ChannelExtra::size);

std::size_t ByteCursor::read(std::span<std::uint8_t> dest)
{
    const std::size_t left = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
    const std::size_t n = std::min(left, dest.size());
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(position_), n, dest.begin());
    position_ += n;
    return n;
}

void readChannelRecords(ByteCursor& cursor, RadioImage& image)
{
    for (auto& record : image.channels)
        cursor.read(record.span());
}

void readChannelExtras(ByteCursor& cursor, RadioImage& image)
{
    for (auto& extra : image.extras)
        cursor.read(extra.span().first<ChannelExtra::headSize>());
    for (auto& extra : image.extras) {
        auto tail = extra.span().last<ChannelExtra::tailSize>();
        std::fill(tail.begin(), tail.end(), std::uint8_t{0});
        cursor.read(tail);
    }
}

void appendBytes(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes)
{
    out.insert(out.end(), bytes.begin(), bytes.end());
}

void appendChannelRecords(std::vector<std::uint8_t>& out, const RadioImage& image)
{
    for (const auto& record : image.channels)
        appendBytes(out, record.span());
}

void appendChannelExtras(std::vector<std::uint8_t>& out, const RadioImage& image)
{
    for (const auto& extra : image.extras)
        appendBytes(out, extra.span().first<ChannelExtra::headSize>());
    for (const auto& extra : image.extras)
        appendBytes(out, extra.span().last<ChannelExtra::tailSize>());
}

} // namespace kq904
