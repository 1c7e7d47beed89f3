#pragma once
// Building blocks of the byte map: a block is raw bytes, and its layout names byte, bit and
// bit-group positions inside it. Bits are numbered from 0 for the least significant.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kq904 {

// The positions a layout names belong to their block: each carries its layout as a type, so a
// position of one block cannot be read or written on another (a channel's field on the 8-byte
// IdSettings would reach past its end). A layout derives from BlockLayout<itself> and declares
// its positions as Field, Bit, ByteRange and LittleEndian.

// A group of `width` bits of byte `byte`, starting at bit `lowBit`.
template <typename Layout> struct Field {
    std::uint16_t byte;
    std::uint8_t lowBit;
    std::uint8_t width;
};

// One bit of byte `byte`.
template <typename Layout> struct Bit {
    std::uint16_t byte;
    std::uint8_t bit;
};

// A run of whole bytes.
template <typename Layout> struct ByteRange {
    std::uint16_t offset;
    std::uint16_t length;
};

// An unsigned little-endian integer of `length` bytes (2 or 4) starting at `offset`.
template <typename Layout> struct LittleEndian {
    std::uint16_t offset;
    std::uint8_t length;
};

template <typename Layout> struct BlockLayout {
    using Field = kq904::Field<Layout>;
    using Bit = kq904::Bit<Layout>;
    using ByteRange = kq904::ByteRange<Layout>;
    using LittleEndian = kq904::LittleEndian<Layout>;
};

template <typename Layout>
constexpr unsigned readField(std::span<const std::uint8_t> bytes, Field<Layout> f)
{
    const unsigned mask = (1u << f.width) - 1u;
    return (static_cast<unsigned>(bytes[f.byte]) >> f.lowBit) & mask;
}

template <typename Layout>
constexpr void writeField(std::span<std::uint8_t> bytes, Field<Layout> f, unsigned value)
{
    const unsigned mask = ((1u << f.width) - 1u) << f.lowBit;
    const unsigned old = bytes[f.byte];
    bytes[f.byte] = static_cast<std::uint8_t>((old & ~mask) | ((value << f.lowBit) & mask));
}

template <typename Layout>
constexpr bool readBit(std::span<const std::uint8_t> bytes, Bit<Layout> b)
{
    return readField(bytes, Field<Layout>{b.byte, b.bit, 1}) != 0;
}

template <typename Layout>
constexpr void writeBit(std::span<std::uint8_t> bytes, Bit<Layout> b, bool value)
{
    writeField(bytes, Field<Layout>{b.byte, b.bit, 1}, value ? 1u : 0u);
}

template <typename Layout>
constexpr std::uint32_t readLittleEndian(
    std::span<const std::uint8_t> bytes, LittleEndian<Layout> w)
{
    std::uint32_t value = 0;
    for (int i = w.length - 1; i >= 0; --i)
        value = (value << 8) | bytes[w.offset + static_cast<std::size_t>(i)];
    return value;
}

template <typename Layout>
constexpr void writeLittleEndian(
    std::span<std::uint8_t> bytes, LittleEndian<Layout> w, std::uint32_t value)
{
    for (std::size_t i = 0; i < w.length; ++i) {
        bytes[w.offset + i] = static_cast<std::uint8_t>(value & 0xFFu);
        value >>= 8;
    }
}

// A block of the radio image: exactly Layout::size raw bytes, read and written through the
// names its layout declares, and only those. The bytes are the only copy of the data.
template <typename Layout> struct Block {
    static constexpr std::size_t size = Layout::size;
    std::array<std::uint8_t, Layout::size> bytes{};

    constexpr std::uint8_t operator[](std::size_t i) const { return bytes[i]; }
    constexpr std::uint8_t& operator[](std::size_t i) { return bytes[i]; }

    constexpr unsigned get(Field<Layout> f) const { return readField(bytes, f); }
    constexpr void set(Field<Layout> f, unsigned value) { writeField(bytes, f, value); }
    constexpr bool get(Bit<Layout> b) const { return readBit(bytes, b); }
    constexpr void set(Bit<Layout> b, bool value) { writeBit(bytes, b, value); }
    constexpr std::uint32_t get(LittleEndian<Layout> w) const { return readLittleEndian(bytes, w); }
    constexpr void set(LittleEndian<Layout> w, std::uint32_t value)
    {
        writeLittleEndian(bytes, w, value);
    }
    std::span<std::uint8_t> range(ByteRange<Layout> r)
    {
        return std::span(bytes).subspan(r.offset, r.length);
    }
    std::span<const std::uint8_t> range(ByteRange<Layout> r) const
    {
        return std::span(bytes).subspan(r.offset, r.length);
    }
    std::span<std::uint8_t, Layout::size> span() { return bytes; }
    std::span<const std::uint8_t, Layout::size> span() const { return bytes; }

    bool operator==(const Block&) const = default;
};

} // namespace kq904
