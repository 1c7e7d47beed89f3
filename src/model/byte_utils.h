#pragma once
// Small byte helpers shared by the files, the forms and the link.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kq904 {

// True as soon as one byte of the two equal-length ranges differs.
bool differs(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b);

// Fills n bytes with one value; n is taken modulo 256 as the radio's tools always did.
void fillBytes(std::uint8_t* dest, unsigned n, std::uint8_t value);

// Packs 2*out.size() hexadecimal digit characters into out, first digit in the high nibble.
// '0'-'9', 'A'-'F', 'a'-'f' are digits; the first other character (or the end of the text)
// ends the digits, and every nibble from there on is written as 0.
void packHexDigits(std::string_view digits, std::span<std::uint8_t> out);

// Unpacks bytes into upper-case hexadecimal digits, high nibble first.
std::string unpackHexDigits(std::span<const std::uint8_t> bytes);

// Digit strings to unsigned integers; characters that are not digits of the base are skipped.
// Values wrap at 32 bits like the radio's own tools.
std::uint32_t parseHexNumber(std::string_view text);
std::uint32_t parseDecimalNumber(std::string_view text);

// A decimal text with an optional '.': all digits form `value`, and `scale` is 10 raised to the
// number of digits after the '.'.
struct ScaledDecimal {
    std::uint64_t value = 0;
    std::uint64_t scale = 1;
};
ScaledDecimal parseScaledDecimal(std::string_view text);

constexpr std::uint16_t swapBytes(std::uint16_t v)
{
    return static_cast<std::uint16_t>((v << 8) | (v >> 8));
}

} // namespace kq904
