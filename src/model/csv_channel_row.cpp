#include "csv_channel_row.h"

#include <algorithm>

#include "channel_label.h"
#include "csv_tones.h"
#include "frequency.h"
#include "name_folding.h"

namespace kq904 {

namespace {

// Characters of a channel name (ChannelExtra bytes 2-6).
constexpr std::size_t kNameLength = 5;

std::string inQuotes(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

std::string upperCase(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

struct Transmit {
    bool disabled = false;
    std::uint32_t hertz = 0;
};

class ChannelRow {
public:
    ChannelRow(const CsvRowTarget& target, const CsvColumnMap& columns, const CsvRecord& row,
        std::vector<std::string>& problems)
        : working_(target.image)
        , columns_(columns)
        , row_(row)
        , countBefore_(target.countBefore)
        , taken_(target.taken)
        , placedAt_(target.channel)
        , problems_(problems)
    { }

    std::optional<int> apply();

private:
    void problem(std::string text) { problems_.push_back(std::move(text)); }

    std::optional<int> location(const std::string& at);
    std::optional<Transmit> transmit(std::uint32_t receive, const std::string& at);
    void startClean(int channel);
    bool storeFrequencies(int channel, std::uint32_t receive, const Transmit& transmit,
        bool wasInUse, const std::string& at);
    void storeTones(int channel, const std::string& at);
    void checkPolarity(int channel, const std::string& at);
    void storeMode(int channel, const std::string& at);
    void storeSkip(int channel, const std::string& at);
    void storePower(int channel, const std::string& at);
    void storeName(int channel, const std::string& at);
    void checkBands(std::uint32_t receive, const Transmit& transmit, const std::string& at);

    RadioImage& working_;
    const CsvColumnMap& columns_;
    const CsvRecord& row_;
    const int countBefore_;
    std::array<bool, kChannelSlots>& taken_;
    const std::optional<int> placedAt_;
    std::vector<std::string>& problems_;
};

std::optional<int> ChannelRow::location(const std::string& at)
{
    const std::string_view text = columns_.text(row_, CsvColumn::Location);
    if (text.empty()) {
        problem(at + "no Location; row skipped");
        return std::nullopt;
    }
    if (text.size() > 6 || text.find_first_not_of("0123456789") != std::string_view::npos) {
        problem(at + "Location " + inQuotes(text) + " is not a channel number; row skipped");
        return std::nullopt;
    }
    const int number = std::stoi(std::string(text));
    if (number < 1 || number > kChannelSlots) {
        problem(at + "Location " + std::to_string(number) + " is outside 1-"
            + std::to_string(kChannelSlots) + "; row skipped");
        return std::nullopt;
    }
    return number;
}

std::optional<Transmit> ChannelRow::transmit(std::uint32_t receive, const std::string& at)
{
    const std::string_view duplex = columns_.text(row_, CsvColumn::Duplex);
    if (duplex.empty())
        return Transmit{false, receive};
    if (equalsIgnoringCase(duplex, "off"))
        return Transmit{true, receive};
    const bool up = duplex == "+";
    const bool down = duplex == "-";
    const bool split = equalsIgnoringCase(duplex, "split");
    if (!up && !down && !split) {
        problem(at + "Duplex " + inQuotes(duplex)
            + " is not \"\", \"+\", \"-\", \"split\" or \"off\"; row skipped");
        return std::nullopt;
    }
    const std::string_view offsetText = columns_.text(row_, CsvColumn::Offset);
    const auto offset = parseCsvMegahertz(offsetText);
    if (!offset) {
        problem(at + "Offset " + inQuotes(offsetText) + " is not a frequency in MHz; row skipped");
        return std::nullopt;
    }
    if (split)
        return Transmit{false, *offset};
    const std::uint64_t hertz =
        up ? std::uint64_t{receive} + *offset : std::uint64_t{receive} - *offset;
    if ((down && *offset > receive) || hertz > UINT32_MAX) {
        problem(at + "Duplex " + std::string(duplex) + " with Offset " + csvMegahertz(*offset)
            + " MHz puts transmit out of range; row skipped");
        return std::nullopt;
    }
    return Transmit{false, static_cast<std::uint32_t>(hertz)};
}

// A slot that was not in use may hold anything from an earlier configuration; a new channel
// starts from nothing, with the defaults other programs give a new channel.
void ChannelRow::startClean(int channel)
{
    const auto n = static_cast<std::size_t>(channel);
    working_.channels[n].bytes.fill(0);
    working_.extras[n].bytes.fill(0);
    working_.channels[n].set(ChannelRecord::highPower, true);
    working_.channels[n].set(ChannelRecord::rxWide, true);
    working_.channels[n].set(ChannelRecord::scan, true);
    const auto defaults = defaultChannelName(channel);
    std::copy(
        defaults.begin(), defaults.end(), working_.extras[n].range(ChannelExtra::name).begin());
}

bool ChannelRow::storeFrequencies(int channel, std::uint32_t receive, const Transmit& transmit,
    bool wasInUse, const std::string& at)
{
    // What the synthesizer holds is checked by decoding it again: a frequency off both steps'
    // rasters or beyond the counters' range comes back different.
    setReceiveFrequency(working_, channel, receive);
    if (const std::uint32_t stored = receiveFrequency(working_, channel); stored != receive) {
        problem(at + "Frequency " + csvMegahertz(receive)
            + " MHz cannot be stored by the radio (it would become " + csvMegahertz(stored)
            + " MHz); row skipped");
        return false;
    }
    auto& record = working_.channels[static_cast<std::size_t>(channel)];
    if (transmit.disabled) {
        // The transmit frequency of a channel in use stays for the day transmit is enabled
        // again; a new channel gets the receive frequency rather than nothing.
        if (!wasInUse)
            setTransmitFrequency(working_, channel, receive);
        record.set(ChannelRecord::timeOut, ChannelRecord::timeOutTransmitDisabled);
        return true;
    }
    setTransmitFrequency(working_, channel, transmit.hertz);
    if (const std::uint32_t stored = transmitFrequency(working_, channel);
        stored != transmit.hertz) {
        problem(at + "the transmit frequency " + csvMegahertz(transmit.hertz)
            + " MHz cannot be stored by the radio (it would become " + csvMegahertz(stored)
            + " MHz); row skipped");
        return false;
    }
    // Transmit disabled (7) or the unused code 6 would keep transmit off; the row says it is on.
    if (record.get(ChannelRecord::timeOut) >= 6)
        record.set(ChannelRecord::timeOut, 0);
    return true;
}

void ChannelRow::storeTones(int channel, const std::string& at)
{
    if (!columns_.has(CsvColumn::Tone))
        return;
    // A file with only one of the two tone columns uses it for both directions, as CHIRP
    // reads it.
    std::string_view rTone = columns_.text(row_, CsvColumn::RToneFreq);
    std::string_view cTone = columns_.text(row_, CsvColumn::CToneFreq);
    if (!columns_.has(CsvColumn::CToneFreq))
        cTone = rTone;
    else if (!columns_.has(CsvColumn::RToneFreq))
        rTone = cTone;
    const CsvToneInput input{columns_.text(row_, CsvColumn::Tone), rTone, cTone,
        columns_.text(row_, CsvColumn::DtcsCode),
        columns_.has(CsvColumn::RxDtcsCode)
            ? std::optional(columns_.text(row_, CsvColumn::RxDtcsCode))
            : std::nullopt,
        columns_.has(CsvColumn::CrossMode)
            ? std::optional(columns_.text(row_, CsvColumn::CrossMode))
            : std::nullopt};
    const CsvTonesRead tones = readCsvTones(input);
    storeSubTone(working_, channel, Half::Transmit, tones.transmit);
    storeSubTone(working_, channel, Half::Receive, tones.receive);
    for (const std::string& text : tones.problems)
        problem(at + text);
}

// The DCS polarity is one factory setting for the whole radio; a row cannot change it.
void ChannelRow::checkPolarity(int channel, const std::string& at)
{
    const std::string_view polarity = columns_.text(row_, CsvColumn::DtcsPolarity);
    const bool txDcs = storedSubTone(working_, channel, Half::Transmit).kind == SubToneKind::Dcs;
    const bool rxDcs = storedSubTone(working_, channel, Half::Receive).kind == SubToneKind::Dcs;
    if (polarity.empty() || (!txDcs && !rxDcs))
        return;
    const auto valid = [](char c) { return c == 'N' || c == 'R'; };
    const std::string upper = upperCase(polarity);
    if (upper.size() != 2 || !valid(upper[0]) || !valid(upper[1])) {
        problem(at + "DtcsPolarity " + inQuotes(polarity) + " is not NN, NR, RN or RR; ignored");
        return;
    }
    std::string radio;
    radio += working_.general.get(GeneralSettings::dcsTxInverted) ? 'R' : 'N';
    radio += working_.general.get(GeneralSettings::dcsRxInverted) ? 'R' : 'N';
    if ((txDcs && upper[0] != radio[0]) || (rxDcs && upper[1] != radio[1]))
        problem(at + "DCS polarity " + upper + " differs from the radio's " + radio
            + ", a factory setting for all channels; the radio's is kept");
}

void ChannelRow::storeMode(int channel, const std::string& at)
{
    const std::string_view mode = columns_.text(row_, CsvColumn::Mode);
    if (mode.empty())
        return;
    auto& record = working_.channels[static_cast<std::size_t>(channel)];
    const bool wide = equalsIgnoringCase(mode, "FM");
    if (!wide && !equalsIgnoringCase(mode, "NFM")) {
        problem(at + "Mode " + inQuotes(mode) + " is not FM or NFM; the spacing stays "
            + (record.get(ChannelRecord::rxWide) ? "wide" : "narrow"));
        return;
    }
    // The two spacing bits have opposite senses: receive 1 = wide, transmit 1 = narrow.
    record.set(ChannelRecord::rxWide, wide);
    record.set(ChannelRecord::txNarrow, !wide);
}

void ChannelRow::storeSkip(int channel, const std::string& at)
{
    const auto skip = columns_.cell(row_, CsvColumn::Skip);
    if (!skip)
        return;
    const std::string_view text = trimmedField(*skip);
    auto& record = working_.channels[static_cast<std::size_t>(channel)];
    // "P" marks a priority-scan channel elsewhere; here it is simply scanned.
    if (text.empty() || equalsIgnoringCase(text, "P"))
        record.set(ChannelRecord::scan, true);
    else if (equalsIgnoringCase(text, "S"))
        record.set(ChannelRecord::scan, false);
    else
        problem(at + "Skip " + inQuotes(text) + " is not \"\", \"S\" or \"P\"; scan stays "
            + (record.get(ChannelRecord::scan) ? "on" : "off"));
}

void ChannelRow::storePower(int channel, const std::string& at)
{
    const std::string_view power = columns_.text(row_, CsvColumn::Power);
    if (power.empty())
        return;
    auto& record = working_.channels[static_cast<std::size_t>(channel)];
    if (equalsIgnoringCase(power, "High"))
        record.set(ChannelRecord::highPower, true);
    else if (equalsIgnoringCase(power, "Low"))
        record.set(ChannelRecord::highPower, false);
    else
        problem(at + "Power " + inQuotes(power) + " is not High or Low; the power stays "
            + (record.get(ChannelRecord::highPower) ? "High" : "Low"));
}

// The name in the radio's characters: upper case, accents taken off, everything else left out;
// five of them when the radio uses names, otherwise a two-letter tag. A name with none of them
// leaves the channel's name as it is; a name is never padded with the default name's characters.
void ChannelRow::storeName(int channel, const std::string& at)
{
    const std::string_view name = columns_.text(row_, CsvColumn::Name);
    if (name.empty())
        return;
    const std::string folded = foldToRadioCharacters(name);
    if (working_.fiveCharacterNames() && working_.hasFeature(FeatureFlags::channelName)) {
        if (folded.empty()) {
            problem(at + "Name " + inQuotes(name)
                + " has no letter or digit the radio can show; the name stays "
                + inQuotes(channelNameLabel(working_, channel)));
            return;
        }
        storeChannelName(working_, channel, folded.substr(0, kNameLength));
        const std::string stored = channelNameLabel(working_, channel);
        if (stored != name)
            problem(at + "Name " + inQuotes(name) + " is stored as " + inQuotes(stored)
                + " (up to five capital letters and digits)");
        return;
    }
    if (!storeChannelTag(working_, channel, folded)) {
        problem(at + "Name " + inQuotes(name) + " cannot be a tag (two letters); the tag stays "
            + channelTagLabel(working_, channel).substr(0, 2));
        return;
    }
    // The listing's own form of a tag is the two letters and a channel number ("AB07").
    const std::string tag = folded.substr(0, 2);
    const bool tagForm = name == tag
        || (name.size() == 4 && name.substr(0, 2) == tag
            && name.find_first_not_of("0123456789", 2) == std::string_view::npos);
    if (!tagForm)
        problem(at + "Name " + inQuotes(name) + " is stored as the tag " + inQuotes(tag)
            + " (the radio shows two capital letters)");
}

// The radio takes any frequency its counters hold, as the Channel Setting form does; one outside
// its bands is worth a word, since the radio may not work there. Bands left at zero in the
// factory settings say nothing.
void ChannelRow::checkBands(std::uint32_t receive, const Transmit& transmit, const std::string& at)
{
    const auto& factory = working_.factory;
    if (factory.get(FactorySettings::band1High) == 0
        && factory.get(FactorySettings::band2High) == 0)
        return;
    // A band left at zero is not one.
    std::string bands;
    for (const auto& [low, high] :
        {std::pair(FactorySettings::band1Low, FactorySettings::band1High),
            std::pair(FactorySettings::band2Low, FactorySettings::band2High)}) {
        if (factory.get(high) != 0)
            bands += (bands.empty() ? "" : " and ") + csvMegahertz(factory.get(low)) + "-"
                + csvMegahertz(factory.get(high));
    }
    bands += " MHz";
    const auto check = [&](std::string_view what, std::uint32_t hertz) {
        if (!inBand(working_, hertz))
            problem(at + std::string(what) + " " + csvMegahertz(hertz)
                + " MHz is outside the radio's bands (" + bands + "); stored all the same");
    };
    check("the receive frequency", receive);
    if (!transmit.disabled && transmit.hertz != receive)
        check("the transmit frequency", transmit.hertz);
}

std::optional<int> ChannelRow::apply()
{
    std::string at = "line " + std::to_string(row_.line) + ": ";
    // A short row has lost its place in the columns: what its cells mean is a guess.
    if (row_.fields.size() < columns_.headerSize()) {
        problem(at + "the row has " + std::to_string(row_.fields.size())
            + " fields but the header has " + std::to_string(columns_.headerSize())
            + "; row skipped");
        return std::nullopt;
    }
    const auto number = placedAt_ ? std::optional<int>(*placedAt_ + 1) : location(at);
    if (!number)
        return std::nullopt;
    const int channel = *number - 1;
    at = "line " + std::to_string(row_.line) + " (channel " + std::to_string(*number) + "): ";

    const std::string_view frequencyText = columns_.text(row_, CsvColumn::Frequency);
    const auto receive = parseCsvMegahertz(frequencyText);
    if (!receive) {
        problem(at
            + (frequencyText.empty()
                    ? std::string("no Frequency")
                    : "Frequency " + inQuotes(frequencyText) + " is not a frequency in MHz")
            + "; row skipped");
        return std::nullopt;
    }
    const auto tx = transmit(*receive, at);
    if (!tx)
        return std::nullopt;

    const auto n = static_cast<std::size_t>(channel);
    const auto recordBefore = working_.channels[n];
    const auto extraBefore = working_.extras[n];
    const bool wasInUse = channel < countBefore_ || taken_[n];
    if (!wasInUse)
        startClean(channel);
    if (!storeFrequencies(channel, *receive, *tx, wasInUse, at)) {
        working_.channels[n] = recordBefore;
        working_.extras[n] = extraBefore;
        return std::nullopt;
    }
    checkBands(*receive, *tx, at);
    storeTones(channel, at);
    checkPolarity(channel, at);
    storeMode(channel, at);
    storeSkip(channel, at);
    storePower(channel, at);
    storeName(channel, at);
    if (taken_[n])
        problem(at + "an earlier row gave this channel too; this row replaces it");
    taken_[n] = true;
    return number;
}

} // namespace

std::optional<int> applyChannelRow(const CsvRowTarget& target, const CsvColumnMap& columns,
    const CsvRecord& row, std::vector<std::string>& problems)
{
    return ChannelRow(target, columns, row, problems).apply();
}

} // namespace kq904
