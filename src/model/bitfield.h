#pragma once
// Building blocks of the byte map: a block is raw bytes, and its layout names byte, bit and
// bit-group positions inside it. Bits are numbered from 0 for the least significant.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kq904 {

// A group of `width` bits of byte `byte`, starting at bit `lowBit`.
struct Field {
    std::uint16_t byte;
    std::uint8_t lowBit;
    std::uint8_t width;
};

// One bit of byte `byte`.
struct Bit {
    std::uint16_t byte;
    std::uint8_t bit;
};

// A run of whole bytes.
struct ByteRange {
    std::uint16_t offset;
    std::uint16_t length;
};

// An unsigned little-endian integer of `length` bytes (2 or 4) starting at `offset`.
struct LittleEndian {
    std::uint16_t offset;
    std::uint8_t length;
};

constexpr unsigned readField(std::span<const std::uint8_t> bytes, Field f)
{
    const unsigned mask = (1u << f.width) - 1u;
    return (static_cast<unsigned>(bytes[f.byte]) >> f.lowBit) & mask;
}

constexpr void writeField(std::span<std::uint8_t> bytes, Field f, unsigned value)
{
    const unsigned mask = ((1u << f.width) - 1u) << f.lowBit;
    const unsigned old = bytes[f.byte];
    bytes[f.byte] = static_cast<std::uint8_t>((old & ~mask) | ((value << f.lowBit) & mask));
}

constexpr bool readBit(std::span<const std::uint8_t> bytes, Bit b)
{
    return readField(bytes, Field{b.byte, b.bit, 1}) != 0;
}

constexpr void writeBit(std::span<std::uint8_t> bytes, Bit b, bool value)
{
    writeField(bytes, Field{b.byte, b.bit, 1}, value ? 1u : 0u);
}

constexpr std::uint32_t readLittleEndian(std::span<const std::uint8_t> bytes, LittleEndian w)
{
    std::uint32_t value = 0;
    for (int i = w.length - 1; i >= 0; --i)
        value = (value << 8) | bytes[w.offset + static_cast<std::size_t>(i)];
    return value;
}

constexpr void writeLittleEndian(std::span<std::uint8_t> bytes, LittleEndian w, std::uint32_t value)
{
    for (std::size_t i = 0; i < w.length; ++i) {
        bytes[w.offset + i] = static_cast<std::uint8_t>(value & 0xFFu);
        value >>= 8;
    }
}

// A block of the radio image: exactly Layout::size raw bytes, read and written through the
// names its layout declares. The bytes are the only copy of the data.
template <typename Layout> struct Block {
    static constexpr std::size_t size = Layout::size;
    std::array<std::uint8_t, Layout::size> bytes{};

    constexpr std::uint8_t operator[](std::size_t i) const { return bytes[i]; }
    constexpr std::uint8_t& operator[](std::size_t i) { return bytes[i]; }

    constexpr unsigned get(Field f) const { return readField(bytes, f); }
    constexpr void set(Field f, unsigned value) { writeField(bytes, f, value); }
    constexpr bool get(Bit b) const { return readBit(bytes, b); }
    constexpr void set(Bit b, bool value) { writeBit(bytes, b, value); }
    constexpr std::uint32_t get(LittleEndian w) const { return readLittleEndian(bytes, w); }
    constexpr void set(LittleEndian w, std::uint32_t value) { writeLittleEndian(bytes, w, value); }
    std::span<std::uint8_t> range(ByteRange r)
    {
        return std::span(bytes).subspan(r.offset, r.length);
    }
    std::span<const std::uint8_t> range(ByteRange r) const
    {
        return std::span(bytes).subspan(r.offset, r.length);
    }
    std::span<std::uint8_t, Layout::size> span() { return bytes; }
    std::span<const std::uint8_t, Layout::size> span() const { return bytes; }

    bool operator==(const Block&) const = default;
};

} // namespace kq904
