#include "name_folding.h"

#include <cstdint>
#include <optional>
#include <utility>

namespace kq904 {

namespace {

// The plain letters of U+00C0-U+00FF and U+0100-U+017F, one per code point. '-' marks a
// character that is no letter (the multiplication and division signs); '*' a letter written
// with two (see twoLetters).
constexpr std::string_view kLatin1Letters = "AAAAAA*CEEEEIIIIDNOOOOO-OUUUUY**"
                                            "AAAAAA*CEEEEIIIIDNOOOOO-OUUUUY*Y";
constexpr std::string_view kLatinExtendedALetters = "AAAAAACCCCCCCCDD"
                                                    "DDEEEEEEEEEEGGGG"
                                                    "GGGGHHHHIIIIIIII"
                                                    "II**JJKKKLLLLLLL"
                                                    "LLLNNNNNNNNNOOOO"
                                                    "OO**RRRRRRSSSSSS"
                                                    "SSTTTTTTUUUUUUUU"
                                                    "UUUUWWYYYZZZZZZS";

std::string_view twoLetters(char32_t c)
{
    switch (c) {
    case 0xC6: // Æ
    case 0xE6:
        return "AE";
    case 0xDE: // Þ
    case 0xFE:
        return "TH";
    case 0xDF: // ß
        return "SS";
    case 0x132: // Ĳ
    case 0x133:
        return "IJ";
    case 0x152: // Œ
    case 0x153:
        return "OE";
    default:
        return {};
    }
}

std::string_view plainLetters(char32_t c)
{
    if (c >= 'a' && c <= 'z')
        c -= 'a' - 'A';
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
        static constexpr std::string_view kAscii = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
        return kAscii.substr(c <= '9' ? c - '0' : 10 + c - 'A', 1);
    }
    char letter = '-';
    if (c >= 0xC0 && c <= 0xFF)
        letter = kLatin1Letters[c - 0xC0];
    else if (c >= 0x100 && c <= 0x17F)
        letter = kLatinExtendedALetters[c - 0x100];
    if (letter == '*')
        return twoLetters(c);
    if (letter == '-')
        return {};
    static constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    return kLetters.substr(static_cast<std::size_t>(letter - 'A'), 1);
}

// The code point of a UTF-8 sequence of two to four bytes at the start of `text`, and its
// length; nothing when the bytes are not one.
std::optional<std::pair<char32_t, std::size_t>> decodeUtf8(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    char32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07u;
    } else {
        return std::nullopt;
    }
    if (text.size() < length)
        return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0u) != 0x80u)
            return std::nullopt;
        c = (c << 6) | (next & 0x3Fu);
    }
    return std::pair{c, length};
}

} // namespace

std::string foldToRadioCharacters(std::string_view text)
{
    std::string folded;
    while (!text.empty()) {
        const auto byte = static_cast<unsigned char>(text[0]);
        char32_t c = byte;
        std::size_t length = 1;
        if (byte >= 0x80) {
            if (const auto decoded = decodeUtf8(text)) {
                c = decoded->first;
                length = decoded->second;
            }
        }
        folded += plainLetters(c);
        text.remove_prefix(length);
    }
    return folded;
}

} // namespace kq904
