#include "forms/radio_text.h"

#include <cstdint>

namespace kq904 {

std::string radioTextFromUtf8(std::string_view utf8)
{
    std::string bytes;
    bytes.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<std::uint8_t>(utf8[i]);
        std::size_t length = 1;
        std::uint32_t code = lead;
        if (lead >= 0xF0 && lead < 0xF8) {
            length = 4;
            code = lead & 0x07u;
        } else if (lead >= 0xE0) {
            length = lead < 0xF0 ? 3 : 1;
            code = lead & 0x0Fu;
        } else if (lead >= 0xC0) {
            length = 2;
            code = lead & 0x1Fu;
        } else if (lead >= 0x80) {
            length = 1; // a stray continuation byte
        }
        bool valid = lead < 0x80 || (length > 1 && i + length <= utf8.size());
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<std::uint8_t>(utf8[i + k]);
            valid = (next & 0xC0u) == 0x80u;
            code = (code << 6) | (next & 0x3Fu);
        }
        if (!valid) {
            bytes += '?';
            ++i;
            continue;
        }
        bytes += code <= 0xFF ? static_cast<char>(code) : '?';
        i += length;
    }
    return bytes;
}

std::string utf8FromRadioText(std::string_view bytes)
{
    std::string utf8;
    utf8.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

} // namespace kq904
