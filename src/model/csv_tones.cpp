#include "csv_tones.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "csv_text.h"
#include "tone_tables.h"

namespace kq904 {

namespace {

// The radio's table calls the standard 69.3 Hz tone "69.4".
constexpr unsigned kTone693Index = 38;
constexpr long kTone693Tenths = 693;

struct HalfToneFields {
    ChannelRecord::Bit isCtcss;
    ChannelRecord::Bit isDcs;
    ChannelRecord::Field index;
};

constexpr HalfToneFields toneFieldsOf(Half half)
{
    if (half == Half::Receive)
        return {ChannelRecord::rxToneIsCtcss, ChannelRecord::rxToneIsDcs, ChannelRecord::rxTone};
    return {ChannelRecord::txToneIsCtcss, ChannelRecord::txToneIsDcs, ChannelRecord::txTone};
}

// A decimal number of tenths ("88.5" -> 885, "67" -> 670); nothing for other text or for a
// value between two tenths.
std::optional<long> parseTenths(std::string_view text)
{
    text = trimmedField(text);
    double value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()
        || !std::isfinite(value) || value < 0 || value > 10000)
        return std::nullopt;
    const double tenths = value * 10.0;
    const long rounded = std::lround(tenths);
    if (std::fabs(tenths - static_cast<double>(rounded)) > 1e-6)
        return std::nullopt;
    return rounded;
}

long tableTenths(unsigned index)
{
    return parseTenths(kCtcssTable[index]).value_or(-1);
}

bool isDigits(std::string_view text)
{
    return !text.empty()
        && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// What a row's sub-tone that the radio cannot hold leaves behind.
constexpr std::string_view kTransmitLeft = "transmit has no sub-tone";
constexpr std::string_view kReceiveLeft = "receive has no sub-tone";
constexpr std::string_view kBothLeft = "the channel has no sub-tones";

// Reads one direction's sub-tone from its column, reporting a value the tables do not hold.
SubTone readCtcss(std::string_view text, std::string_view left, std::vector<std::string>& problems)
{
    if (const auto index = findCtcssTone(text))
        return {SubToneKind::Ctcss, *index};
    problems.push_back("CTCSS tone " + std::string(trimmedField(text))
        + " is not in the radio's table; " + std::string(left));
    return {};
}

SubTone readDcs(std::string_view text, std::string_view left, std::vector<std::string>& problems)
{
    if (const auto index = findDcsCode(text))
        return {SubToneKind::Dcs, *index};
    problems.push_back("DCS code " + std::string(trimmedField(text))
        + " is not in the radio's table; " + std::string(left));
    return {};
}

} // namespace

SubTone storedSubTone(const RadioImage& image, int channel, Half half)
{
    const HalfToneFields f = toneFieldsOf(half);
    const auto& record = image.channels[static_cast<std::size_t>(channel)];
    if (record.get(f.isCtcss))
        return {SubToneKind::Ctcss, record.get(f.index)};
    if (record.get(f.isDcs))
        return {SubToneKind::Dcs, record.get(f.index)};
    return {};
}

void storeSubTone(RadioImage& image, int channel, Half half, SubTone tone)
{
    const HalfToneFields f = toneFieldsOf(half);
    auto& record = image.channels[static_cast<std::size_t>(channel)];
    record.set(f.isCtcss, tone.kind == SubToneKind::Ctcss);
    record.set(f.isDcs, tone.kind == SubToneKind::Dcs);
    record.set(f.index, tone.kind == SubToneKind::None ? 0u : tone.index);
}

std::string csvCtcssText(unsigned index)
{
    const long tenths = index == kTone693Index ? kTone693Tenths : tableTenths(index);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

bool chirpKnowsCtcssTone(unsigned index)
{
    // In tenths of a hertz.
    static constexpr std::array<long, 60> kChirpTones = {670, 693, 719, 744, 770, 797, 825, 854,
        885, 915, 948, 974, 1000, 1035, 1072, 1109, 1148, 1188, 1230, 1273, 1318, 1365, 1413, 1462,
        1514, 1567, 1598, 1622, 1655, 1679, 1713, 1738, 1773, 1799, 1835, 1862, 1899, 1928, 1966,
        1995, 2035, 2065, 2107, 2181, 2257, 2291, 2336, 2418, 2503, 2541, 560, 570, 580, 590, 600,
        610, 620, 625, 630, 640};
    const long tenths = index == kTone693Index ? kTone693Tenths : tableTenths(index);
    return std::find(kChirpTones.begin(), kChirpTones.end(), tenths) != kChirpTones.end();
}

std::string csvDcsText(unsigned index)
{
    return std::string(kDcsTable[index]);
}

std::optional<unsigned> findCtcssTone(std::string_view text)
{
    const auto tenths = parseTenths(text);
    if (!tenths)
        return std::nullopt;
    if (*tenths == kTone693Tenths)
        return kTone693Index;
    for (unsigned i = 0; i < static_cast<unsigned>(kCtcssUserSet); ++i) {
        if (tableTenths(i) == *tenths)
            return i;
    }
    return std::nullopt;
}

std::optional<unsigned> findDcsCode(std::string_view text)
{
    text = trimmedField(text);
    // Other programs read the code as a number, so "23" and "0023" are code 023 too.
    const std::size_t first = std::min(text.find_first_not_of('0'), text.size());
    const std::string_view significant = text.substr(first);
    if (!isDigits(text) || significant.size() > 3)
        return std::nullopt;
    const std::string code = std::string(3 - significant.size(), '0') + std::string(significant);
    for (unsigned i = 0; i < static_cast<unsigned>(kDcsUserSet); ++i) {
        if (kDcsTable[i] == code)
            return i;
    }
    return std::nullopt;
}

CsvToneColumns csvToneColumns(SubTone transmit, SubTone receive)
{
    using enum SubToneKind;
    CsvToneColumns columns;
    if (transmit.kind == None && receive.kind == None)
        return columns;
    if (transmit.kind == Ctcss && receive.kind == None) {
        columns.tone = "Tone";
        columns.rToneFreq = csvCtcssText(transmit.index);
        return columns;
    }
    if (transmit == receive && transmit.kind == Ctcss) {
        columns.tone = "TSQL";
        columns.rToneFreq = columns.cToneFreq = csvCtcssText(transmit.index);
        return columns;
    }
    if (transmit == receive && transmit.kind == Dcs) {
        columns.tone = "DTCS";
        columns.dtcsCode = columns.rxDtcsCode = csvDcsText(transmit.index);
        return columns;
    }
    // Everything else: each direction in its own column, the pairing named by CrossMode.
    columns.tone = "Cross";
    std::string from;
    std::string to;
    if (transmit.kind == Ctcss) {
        columns.rToneFreq = csvCtcssText(transmit.index);
        from = "Tone";
    } else if (transmit.kind == Dcs) {
        columns.dtcsCode = csvDcsText(transmit.index);
        from = "DTCS";
    }
    if (receive.kind == Ctcss) {
        columns.cToneFreq = csvCtcssText(receive.index);
        to = "Tone";
    } else if (receive.kind == Dcs) {
        columns.rxDtcsCode = csvDcsText(receive.index);
        to = "DTCS";
    }
    columns.crossMode = from + "->" + to;
    return columns;
}

CsvTonesRead readCsvTones(const CsvToneInput& input)
{
    CsvTonesRead read;
    auto& problems = read.problems;
    const std::string_view mode = trimmedField(input.tone);
    const std::string_view rxDtcs = input.rxDtcsCode.value_or(input.dtcsCode);
    if (mode.empty())
        return read;
    if (equalsIgnoringCase(mode, "Tone")) {
        read.transmit = readCtcss(input.rToneFreq, kTransmitLeft, problems);
        return read;
    }
    if (equalsIgnoringCase(mode, "TSQL")) {
        read.transmit = readCtcss(input.cToneFreq, kBothLeft, problems);
        read.receive = read.transmit;
        return read;
    }
    if (equalsIgnoringCase(mode, "DTCS")) {
        read.transmit = readDcs(input.dtcsCode, kBothLeft, problems);
        read.receive = read.transmit;
        return read;
    }
    if (!equalsIgnoringCase(mode, "Cross")) {
        problems.push_back("tone mode " + std::string(mode) + " is not one the radio has; "
            + std::string(kBothLeft));
        return read;
    }

    const std::string_view cross = trimmedField(input.crossMode.value_or("Tone->Tone"));
    const std::size_t arrow = cross.find("->");
    const std::string_view from = arrow == std::string_view::npos ? "?" : cross.substr(0, arrow);
    const std::string_view to = arrow == std::string_view::npos ? "?" : cross.substr(arrow + 2);
    const auto known = [](std::string_view side) {
        return side.empty() || equalsIgnoringCase(side, "Tone") || equalsIgnoringCase(side, "DTCS");
    };
    if (!known(from) || !known(to)) {
        problems.push_back("cross mode " + std::string(cross) + " is not one the radio has; "
            + std::string(kBothLeft));
        return read;
    }
    if (equalsIgnoringCase(from, "Tone"))
        read.transmit = readCtcss(input.rToneFreq, kTransmitLeft, problems);
    else if (equalsIgnoringCase(from, "DTCS"))
        read.transmit = readDcs(input.dtcsCode, kTransmitLeft, problems);
    if (equalsIgnoringCase(to, "Tone"))
        read.receive = readCtcss(input.cToneFreq, kReceiveLeft, problems);
    else if (equalsIgnoringCase(to, "DTCS"))
        read.receive = readDcs(rxDtcs, kReceiveLeft, problems);
    // CHIRP writes "Cross" without saying which cross mode (its 18-column files) and reads it
    // back as Tone->Tone; the file may have meant another pairing.
    if (!input.crossMode)
        problems.push_back("Tone \"Cross\" without a CrossMode column is taken as Tone->Tone "
                           "(transmit "
            + std::string(trimmedField(input.rToneFreq)) + " Hz, receive "
            + std::string(trimmedField(input.cToneFreq))
            + " Hz), as CHIRP reads it; check the sub-tones");
    return read;
}

} // namespace kq904
