// The text parsers of the forms, with any bytes a user could type or paste. The first input byte
// picks the parser, the rest is the text (and, for round trips, the value). Each parser is
// checked against what its field promises: characters that are not digits of the field change
// nothing, well-formed values come out exact, and what a form shows reads back as the value.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string>

#include "forms/factory_setting_form.h"
#include "forms/kill_feature_form.h"
#include "forms/programming_form.h"
#include "forms/radio_text.h"
#include "fuzz_support.h"
#include "model/byte_utils.h"
#include "model/frequency.h"

using namespace kq904;
using namespace kq904::fuzz;

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string keepOnly(std::string_view text, bool (*keep)(char))
{
    std::string kept;
    for (char c : text)
        if (keep(c))
            kept += c;
    return kept;
}

bool isDecimalCharacter(char c)
{
    return isDigit(c) || c == '.';
}

std::uint32_t valueOf(std::span<const std::uint8_t> bytes)
{
    std::uint32_t v = 0;
    for (std::uint8_t b : bytes)
        v = v << 8 | b;
    return v;
}

// The exact frequency in Hz of a text made of digits and dots (the first dot starts the
// fraction), when it is one: at most six decimals and no more than 2^32 - 1 Hz.
struct ExactHertz {
    bool exact = false;
    bool tooFine = false;
    std::uint32_t hertz = 0;
};

ExactHertz exactHertz(std::string_view text)
{
    ExactHertz result;
    unsigned __int128 value = 0;
    int fraction = -1;
    bool overflow = false;
    for (char c : text) {
        if (c == '.' && fraction < 0) {
            fraction = 0;
        } else if (isDigit(c)) {
            value = value * 10 + static_cast<unsigned>(c - '0');
            overflow = overflow || value > 0xFFFFFFFFFFFFull;
            if (fraction >= 0)
                ++fraction;
        }
    }
    if (fraction > 6) {
        result.tooFine = true;
        return result;
    }
    for (int i = std::max(fraction, 0); i < 6; ++i)
        value *= 10;
    if (!overflow && value <= 0xFFFFFFFFu) {
        result.exact = true;
        result.hertz = static_cast<std::uint32_t>(value);
    }
    return result;
}

// A well-formed UTF-8 text: every sequence complete, no overlong forms, no surrogates.
bool isUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t n = b < 0x80 ? 1
            : (b >> 5) == 6      ? 2
            : (b >> 4) == 14     ? 3
            : (b >> 3) == 30     ? 4
                                 : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        if (n == 2 && b < 0xC2)
            return false;
        i += n;
    }
    return true;
}

void checkChannelFrequency(std::string_view text)
{
    const std::uint32_t hertz = parseMegahertz(text);
    FUZZ_CHECK(hertz == parseMegahertz(keepOnly(text, isDecimalCharacter)),
        "characters other than digits and '.' do not change a channel frequency");
    const ExactHertz expected = exactHertz(text);
    if (expected.tooFine)
        FUZZ_CHECK(hertz == 0, "more than six decimals give 0 Hz");
    if (expected.exact)
        FUZZ_CHECK(hertz == expected.hertz, "a channel frequency in MHz reads exactly");
}

void checkChannelFrequencyShown(std::uint32_t hertz)
{
    // "%8.5f" shows tens of hertz; what is shown reads back to within half of that. The top
    // five hertz below 2^32 show rounded up past 2^32 (no synthesizer setting comes near).
    if (hertz > 4'294'967'290u)
        return;
    const std::uint32_t back = parseMegahertz(formatMegahertz(hertz));
    const auto difference = back > hertz ? back - hertz : hertz - back;
    FUZZ_CHECK(difference <= 5, "a shown channel frequency reads back as the same frequency");
    if (hertz % 10 == 0)
        FUZZ_CHECK(back == hertz, "a frequency in tens of hertz reads back exactly");
}

void checkFactoryFrequency(std::string_view text, std::uint32_t hertz)
{
    const std::uint32_t value = factoryFrequencyFromText(text);
    FUZZ_CHECK(value == factoryFrequencyFromText(keepOnly(text, isDecimalCharacter)),
        "characters other than digits and '.' do not change a factory frequency");
    const ExactHertz expected = exactHertz(text);
    if (expected.tooFine)
        FUZZ_CHECK(value == 0, "a factory frequency finer than 1 Hz gives 0");
    if (expected.exact)
        FUZZ_CHECK(value == expected.hertz, "a factory frequency in MHz reads exactly");

    // Shown with four decimals after a single-precision scaling: back to within 100 Hz plus
    // the float's error. The last few hundred hertz below 2^32 show rounded up past 2^32 and
    // read back wrapped, as the field's 32-bit arithmetic has it.
    const std::string shown = factoryFrequencyText(hertz);
    FUZZ_CHECK(shown.size() >= 7, "a factory frequency is shown at least seven wide");
    if (hertz < 4'294'967'000u) {
        const double back = factoryFrequencyFromText(shown);
        FUZZ_CHECK(std::fabs(back - hertz) <= 50.0 + hertz * 1.2e-7,
            "a shown factory frequency reads back as the same frequency");
    }
}

void checkReferenceCounter(std::string_view text, std::uint32_t counter)
{
    std::string digits = keepOnly(text, isHexDigit);
    if (digits.size() > 8)
        digits.erase(0, digits.size() - 8);
    std::uint32_t expected = 0;
    for (char c : digits)
        expected = expected * 16
            + static_cast<std::uint32_t>(isDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10);
    FUZZ_CHECK(refCounterFromText(text) == expected,
        "a reference counter is its last eight hexadecimal digits");
    const std::string shown = refCounterText(counter);
    FUZZ_CHECK(shown.size() == 8, "a reference counter shows as eight digits");
    FUZZ_CHECK(refCounterFromText(shown) == counter, "a shown reference counter reads back");
}

void checkKillId(std::string_view text, std::span<const std::uint8_t> stored)
{
    std::array<std::uint8_t, 5> bytes{};
    std::fill(bytes.begin(), bytes.end(), 0xA5);
    packKillId(text, bytes);
    // The leading hexadecimal digits (at most ten), upper-cased, then zeros.
    std::string expected;
    for (char c : text) {
        if (!isHexDigit(c) || expected.size() == 10)
            break;
        expected += static_cast<char>(c >= 'a' ? c - 'a' + 'A' : c);
    }
    expected.resize(10, '0');
    FUZZ_CHECK(killIdText(bytes) == expected, "a kill ID keeps its leading digits");

    std::array<std::uint8_t, 5> original{};
    std::copy_n(stored.begin(), std::min<std::size_t>(stored.size(), 5), original.begin());
    std::array<std::uint8_t, 5> again{};
    packKillId(killIdText(original), again);
    FUZZ_CHECK(again == original, "a shown kill ID stores back the same bytes");
}

void checkSerialNumber(std::string_view text, std::uint32_t serial)
{
    const std::string kept = firstSevenCharacters(text);
    FUZZ_CHECK(std::string_view(text).starts_with(kept), "the kept serial text is a prefix");
    const std::size_t characters = static_cast<std::size_t>(std::count_if(kept.begin(), kept.end(),
        [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    FUZZ_CHECK(characters <= 7, "at most seven characters are kept");
    if (kept.size() < text.size())
        FUZZ_CHECK(
            characters == 7 && (static_cast<unsigned char>(text[kept.size()]) & 0xC0) != 0x80,
            "the serial text is cut between whole characters after the seventh");
    FUZZ_CHECK(parseSerialNumber(text) <= kMaxSerialNumber, "a serial number has seven digits");
    FUZZ_CHECK(parseSerialNumber(text) == parseSerialNumber(keepOnly(kept, isDigit)),
        "only the digits of the first seven characters count");
    const std::uint32_t valid = serial % (kMaxSerialNumber + 1);
    FUZZ_CHECK(parseSerialNumber(serialNumberText(valid)) == valid, "a shown serial reads back");
    if (serial > kMaxSerialNumber)
        FUZZ_CHECK(serialNumberText(serial) == "?", "a serial beyond seven digits shows as ?");
}

void checkRadioText(std::string_view text)
{
    const std::string bytes = radioTextFromUtf8(text);
    FUZZ_CHECK(bytes.size() <= text.size(), "one byte per character at most");
    const std::string utf8 = utf8FromRadioText(text);
    FUZZ_CHECK(isUtf8(utf8), "radio text shows as well-formed UTF-8");
    FUZZ_CHECK(radioTextFromUtf8(utf8) == text, "any radio bytes survive being shown and stored");
    if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; }))
        FUZZ_CHECK(bytes == text, "ASCII passes unchanged");
}

void checkDigitParsers(std::string_view text)
{
    FUZZ_CHECK(parseDecimalNumber(text) == parseDecimalNumber(keepOnly(text, isDigit)),
        "only decimal digits count");
    FUZZ_CHECK(parseHexNumber(text) == parseHexNumber(keepOnly(text, isHexDigit)),
        "only hexadecimal digits count");
    const std::string digits = keepOnly(text, isDigit);
    if (!digits.empty() && digits.size() <= 9)
        FUZZ_CHECK(parseDecimalNumber(text) == std::stoul(digits), "small decimals read exactly");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    InputReader input(data, size);
    const std::uint8_t which = input.byte();
    const std::uint32_t value = valueOf(input.bytes(4));
    const auto rest = input.rest();
    const std::string_view text(reinterpret_cast<const char*>(rest.data()), rest.size());
    switch (which % 7) {
    case 0:
        checkChannelFrequency(text);
        checkChannelFrequencyShown(value);
        break;
    case 1:
        checkFactoryFrequency(text, value);
        break;
    case 2:
        checkReferenceCounter(text, value);
        break;
    case 3:
        checkKillId(text, rest);
        break;
    case 4:
        checkSerialNumber(text, value);
        break;
    case 5:
        checkRadioText(text);
        break;
    case 6:
        checkDigitParsers(text);
        break;
    }
    return 0;
}
