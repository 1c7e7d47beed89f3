#include "byte_utils.h"

#include <algorithm>
#include <limits>

namespace kq904 {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

bool differs(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b)
{
    return a.size() != b.size() || !std::equal(a.begin(), a.end(), b.begin());
}

void fillBytes(std::uint8_t* dest, unsigned n, std::uint8_t value)
{
    std::fill_n(dest, n % 256u, value);
}

void packHexDigits(std::string_view digits, std::span<std::uint8_t> out)
{
    bool ended = false;
    for (std::size_t i = 0; i < out.size() * 2; ++i) {
        int nibble = 0;
        if (!ended) {
            nibble = i < digits.size() ? hexValue(digits[i]) : -1;
            if (nibble < 0) {
                ended = true;
                nibble = 0;
            }
        }
        std::uint8_t& byte = out[i / 2];
        if (i % 2 == 0)
            byte = static_cast<std::uint8_t>((byte & 0x0F) | (nibble << 4));
        else
            byte = static_cast<std::uint8_t>((byte & 0xF0) | nibble);
    }
}

std::string unpackHexDigits(std::span<const std::uint8_t> bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        text += kDigits[b >> 4];
        text += kDigits[b & 0x0F];
    }
    return text;
}

std::uint32_t parseHexNumber(std::string_view text)
{
    std::uint32_t value = 0;
    for (char c : text) {
        const int v = hexValue(c);
        if (v >= 0)
            value = value * 16u + static_cast<std::uint32_t>(v);
    }
    return value;
}

std::uint32_t parseDecimalNumber(std::string_view text)
{
    std::uint32_t value = 0;
    for (char c : text)
        if (c >= '0' && c <= '9')
            value = value * 10u + static_cast<std::uint32_t>(c - '0');
    return value;
}

ScaledDecimal parseScaledDecimal(std::string_view text)
{
    // Saturate rather than overflow: a value this large is no frequency anyway, and a scale
    // above 1 000 000 already means 0 Hz to the caller.
    constexpr std::uint64_t kLimit = std::numeric_limits<std::uint64_t>::max() / 10;
    ScaledDecimal result;
    bool afterPoint = false;
    for (char c : text) {
        if (c == '.') {
            afterPoint = true;
        } else if (c >= '0' && c <= '9') {
            if (result.value < kLimit)
                result.value = result.value * 10 + static_cast<std::uint64_t>(c - '0');
            if (afterPoint && result.scale < kLimit)
                result.scale *= 10;
        }
    }
    return result;
}

} // namespace kq904
