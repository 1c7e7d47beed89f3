#pragma once
// Moving image blocks to and from file bytes. Both the table files and the set file store blocks
// byte for byte, and both store the channel area the same way: the 99 nine-byte records, then
// the 99 four-byte heads of the extra records, then the 99 three-byte tails.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "radio_image.h"

namespace kq904 {

// Reads a file's bytes piece by piece, the way the radio's tools read their files: a piece that
// runs past the end of the file gets only what is left, and later pieces get nothing.
class ByteCursor {
public:
    explicit ByteCursor(std::span<const std::uint8_t> bytes)
        : bytes_(bytes)
    { }

    // Copies up to dest.size() bytes; returns how many there were.
    std::size_t read(std::span<std::uint8_t> dest);
    void seek(std::size_t offset) { position_ = offset; }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

inline constexpr std::size_t kChannelRecordArea = kChannelSlots * ChannelRecord::size; // 891
inline constexpr std::size_t kChannelHeadArea = kChannelSlots * ChannelExtra::headSize; // 396
inline constexpr std::size_t kChannelTailArea = kChannelSlots * ChannelExtra::tailSize; // 297

void readChannelRecords(ByteCursor& cursor, RadioImage& image);
// Heads keep their old bytes where the file has ended; each tail is zeroed before it is read,
// so tails missing from the file come out as zero (names cut to their first two characters).
void readChannelExtras(ByteCursor& cursor, RadioImage& image);

void appendBytes(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes);
void appendChannelRecords(std::vector<std::uint8_t>& out, const RadioImage& image);
void appendChannelExtras(std::vector<std::uint8_t>& out, const RadioImage& image);

} // namespace kq904
