#include "csv_import.h"

#include <algorithm>
#include <array>
#include <optional>

#include "channel_label.h"
#include "csv_columns.h"
#include "csv_text.h"
#include "csv_tones.h"
#include "file_reader.h"
#include "frequency.h"

namespace kq904 {

namespace {

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

// "channel 3" or "channels 3-5".
std::string channelRange(int first, int last)
{
    return first == last ? "channel " + std::to_string(first)
                         : "channels " + std::to_string(first) + "-" + std::to_string(last);
}

// Where each known column sits in the rows of this file.
class ColumnMap {
public:
    explicit ColumnMap(const std::vector<std::string>& header)
    {
        for (std::size_t i = 0; i < header.size(); ++i) {
            const std::string_view name = trimmedField(header[i]);
            for (std::size_t c = 0; c < kCsvColumnNames.size(); ++c) {
                if (!index_[c] && equalsIgnoringCase(name, kCsvColumnNames[c]))
                    index_[c] = i;
            }
        }
    }

    bool has(CsvColumn column) const
    {
        return index_[static_cast<std::size_t>(column)].has_value();
    }

    // The cell of a row; nothing when the file has no such column, "" when the row is short.
    std::optional<std::string_view> cell(const CsvRecord& row, CsvColumn column) const
    {
        const auto index = index_[static_cast<std::size_t>(column)];
        if (!index)
            return std::nullopt;
        if (*index >= row.fields.size())
            return std::string_view();
        return std::string_view(row.fields[*index]);
    }

    // The trimmed cell, "" when the column or cell is missing.
    std::string_view text(const CsvRecord& row, CsvColumn column) const
    {
        return trimmedField(cell(row, column).value_or(std::string_view()));
    }

private:
    std::array<std::optional<std::size_t>, kCsvColumnNames.size()> index_{};
};

struct Transmit {
    bool disabled = false;
    std::uint32_t hertz = 0;
};

class ChannelListImporter {
public:
    ChannelListImporter(const RadioImage& image, const ColumnMap& columns)
        : working_(image)
        , columns_(columns)
        , countBefore_(image.channelCount())
    { }

    void importRow(const CsvRecord& row);
    CsvImport finish(RadioImage& image);

private:
    void problem(std::string text) { problems_.push_back(std::move(text)); }

    std::optional<int> location(const CsvRecord& row, const std::string& at);
    std::optional<Transmit> transmit(
        const CsvRecord& row, std::uint32_t receive, const std::string& at);
    void startClean(int channel);
    bool storeFrequencies(int channel, std::uint32_t receive, const Transmit& transmit,
        bool wasInUse, const std::string& at);
    void storeTones(const CsvRecord& row, int channel, const std::string& at);
    void checkPolarity(const CsvRecord& row, int channel, const std::string& at);
    void storeMode(const CsvRecord& row, int channel, const std::string& at);
    void storeSkip(const CsvRecord& row, int channel, const std::string& at);
    void storePower(const CsvRecord& row, int channel, const std::string& at);
    void storeName(const CsvRecord& row, int channel, const std::string& at);
    void noteUnlistedChannels();

    RadioImage working_;
    const ColumnMap& columns_;
    const int countBefore_;
    std::array<bool, kChannelSlots> taken_{};
    int highest_ = 0;
    int channelsTaken_ = 0;
    std::vector<std::string> problems_;
};

std::optional<int> ChannelListImporter::location(const CsvRecord& row, const std::string& at)
{
    const std::string_view text = columns_.text(row, CsvColumn::Location);
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

std::optional<Transmit> ChannelListImporter::transmit(
    const CsvRecord& row, std::uint32_t receive, const std::string& at)
{
    const std::string_view duplex = columns_.text(row, CsvColumn::Duplex);
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
    const std::string_view offsetText = columns_.text(row, CsvColumn::Offset);
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
void ChannelListImporter::startClean(int channel)
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

bool ChannelListImporter::storeFrequencies(int channel, std::uint32_t receive,
    const Transmit& transmit, bool wasInUse, const std::string& at)
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

void ChannelListImporter::storeTones(const CsvRecord& row, int channel, const std::string& at)
{
    if (!columns_.has(CsvColumn::Tone))
        return;
    const CsvToneInput input{columns_.text(row, CsvColumn::Tone),
        columns_.text(row, CsvColumn::RToneFreq), columns_.text(row, CsvColumn::CToneFreq),
        columns_.text(row, CsvColumn::DtcsCode),
        columns_.has(CsvColumn::RxDtcsCode)
            ? std::optional(columns_.text(row, CsvColumn::RxDtcsCode))
            : std::nullopt,
        columns_.has(CsvColumn::CrossMode) ? std::optional(columns_.text(row, CsvColumn::CrossMode))
                                           : std::nullopt};
    const CsvTonesRead tones = readCsvTones(input);
    storeSubTone(working_, channel, Half::Transmit, tones.transmit);
    storeSubTone(working_, channel, Half::Receive, tones.receive);
    for (const std::string& text : tones.problems)
        problem(at + text);
}

// The DCS polarity is one factory setting for the whole radio; a row cannot change it.
void ChannelListImporter::checkPolarity(const CsvRecord& row, int channel, const std::string& at)
{
    const std::string_view polarity = columns_.text(row, CsvColumn::DtcsPolarity);
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

void ChannelListImporter::storeMode(const CsvRecord& row, int channel, const std::string& at)
{
    const std::string_view mode = columns_.text(row, CsvColumn::Mode);
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

void ChannelListImporter::storeSkip(const CsvRecord& row, int channel, const std::string& at)
{
    const auto skip = columns_.cell(row, CsvColumn::Skip);
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

void ChannelListImporter::storePower(const CsvRecord& row, int channel, const std::string& at)
{
    const std::string_view power = columns_.text(row, CsvColumn::Power);
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

// The name by the rules of the Channel Name form: five letters and digits when the radio uses
// names, otherwise a two-letter tag. An empty name leaves the channel's name as it is.
void ChannelListImporter::storeName(const CsvRecord& row, int channel, const std::string& at)
{
    const std::string_view name = columns_.text(row, CsvColumn::Name);
    if (name.empty())
        return;
    if (working_.fiveCharacterNames() && working_.hasFeature(FeatureFlags::channelName)) {
        storeChannelName(working_, channel, name);
        const std::string stored = channelNameLabel(working_, channel);
        if (stored != upperCase(name))
            problem(at + "Name " + inQuotes(name) + " is stored as " + inQuotes(stored)
                + " (up to five letters and digits)");
        return;
    }
    if (!storeChannelTag(working_, channel, name)) {
        problem(at + "Name " + inQuotes(name) + " cannot be a tag (two letters); the tag stays "
            + channelTagLabel(working_, channel).substr(0, 2));
        return;
    }
    // The listing's own form of a tag is the two letters and a channel number ("AB07").
    const std::string upper = upperCase(name);
    const bool tagForm = upper.size() == 2
        || (upper.size() == 4 && upper.find_first_not_of("0123456789", 2) == std::string::npos);
    if (!tagForm)
        problem(at + "Name " + inQuotes(name) + " is stored as the tag "
            + inQuotes(upper.substr(0, 2)) + " (the radio shows two-letter tags)");
}

void ChannelListImporter::importRow(const CsvRecord& row)
{
    std::string at = "line " + std::to_string(row.line) + ": ";
    const auto number = location(row, at);
    if (!number)
        return;
    const int channel = *number - 1;
    at = "line " + std::to_string(row.line) + " (channel " + std::to_string(*number) + "): ";

    const std::string_view frequencyText = columns_.text(row, CsvColumn::Frequency);
    const auto receive = parseCsvMegahertz(frequencyText);
    if (!receive) {
        problem(at
            + (frequencyText.empty()
                    ? std::string("no Frequency")
                    : "Frequency " + inQuotes(frequencyText) + " is not a frequency in MHz")
            + "; row skipped");
        return;
    }
    const auto tx = transmit(row, *receive, at);
    if (!tx)
        return;

    const auto n = static_cast<std::size_t>(channel);
    const auto recordBefore = working_.channels[n];
    const auto extraBefore = working_.extras[n];
    const bool wasInUse = channel < countBefore_ || taken_[n];
    if (!wasInUse)
        startClean(channel);
    if (!storeFrequencies(channel, *receive, *tx, wasInUse, at)) {
        working_.channels[n] = recordBefore;
        working_.extras[n] = extraBefore;
        return;
    }
    storeTones(row, channel, at);
    checkPolarity(row, channel, at);
    storeMode(row, channel, at);
    storeSkip(row, channel, at);
    storePower(row, channel, at);
    storeName(row, channel, at);
    if (taken_[n])
        problem(at + "an earlier row gave this channel too; this row replaces it");
    taken_[n] = true;
    ++channelsTaken_;
    highest_ = std::max(highest_, *number);
}

void ChannelListImporter::noteUnlistedChannels()
{
    // Below the new count every channel is in use, including those no row gave. A channel that
    // was in use keeps its settings; a slot that was not brings back whatever it last held.
    const auto noteGap = [this](int first, int last) {
        if (first > last)
            return;
        const bool one = first == last;
        const bool wereInUse = last <= countBefore_;
        problem(channelRange(first, last) + (one ? " was" : " were") + " not imported and "
            + (wereInUse ? (one ? "keeps its" : "keep their") + std::string(" settings")
                         : (one ? "is now in use with the old contents of its slot; check it"
                                : "are now in use with the old contents of their slots; check "
                                  "them")));
    };
    for (int channel = 0; channel < highest_;) {
        if (taken_[static_cast<std::size_t>(channel)]) {
            ++channel;
            continue;
        }
        const int first = channel + 1;
        while (channel < highest_ && !taken_[static_cast<std::size_t>(channel)])
            ++channel;
        const int last = channel;
        noteGap(first, std::min(last, countBefore_));
        noteGap(std::max(first, countBefore_ + 1), last);
    }
    if (highest_ < countBefore_)
        problem(channelRange(highest_ + 1, countBefore_)
            + (countBefore_ - highest_ == 1 ? " is" : " are")
            + " no longer in use: the channel count is now " + std::to_string(highest_)
            + " (it was " + std::to_string(countBefore_) + ")");
}

CsvImport ChannelListImporter::finish(RadioImage& image)
{
    CsvImport imported;
    if (channelsTaken_ == 0) {
        imported.result = Result::failure("the file holds no channel the radio can take");
    } else {
        noteUnlistedChannels();
        working_.setChannelCount(highest_);
        image = working_;
        imported.channelsTaken = channelsTaken_;
        imported.channelCount = highest_;
    }
    if (problems_.size() > kCsvMaxProblems) {
        const std::size_t more = problems_.size() - kCsvMaxProblems;
        problems_.resize(kCsvMaxProblems);
        problems_.push_back("... and " + std::to_string(more) + " more");
    }
    imported.problems = std::move(problems_);
    return imported;
}

} // namespace

CsvImport importChannelsCsv(RadioImage& image, std::string_view text)
{
    CsvImport imported;
    CsvText parsed = parseCsvText(text);
    if (!parsed.result) {
        imported.result = parsed.result;
        return imported;
    }
    if (parsed.records.empty()) {
        imported.result = Result::failure("the file is empty; a channel list starts with a header "
                                          "line naming its columns (Location, Frequency, ...)");
        return imported;
    }
    const CsvRecord& header = parsed.records.front();
    const ColumnMap columns(header.fields);
    if (!columns.has(CsvColumn::Location) || !columns.has(CsvColumn::Frequency)) {
        imported.result = Result::failure("line " + std::to_string(header.line)
            + " is not the header of a channel list: it needs the columns Location and "
              "Frequency");
        return imported;
    }
    ChannelListImporter importer(image, columns);
    for (std::size_t i = 1; i < parsed.records.size(); ++i)
        importer.importRow(parsed.records[i]);
    return importer.finish(image);
}

CsvImport importChannelsCsvFile(RadioImage& image, const std::filesystem::path& path)
{
    FileHead head = readFileHead(path, kCsvMaxFileSize + 1);
    if (!head.result) {
        CsvImport failed;
        failed.result = head.result;
        return failed;
    }
    if (head.bytes.size() > kCsvMaxFileSize) {
        CsvImport failed;
        failed.result = Result::failure(path.string() + " is larger than "
            + std::to_string(kCsvMaxFileSize) + " bytes; it is not a channel list");
        return failed;
    }
    const std::string_view text(
        reinterpret_cast<const char*>(head.bytes.data()), head.bytes.size());
    CsvImport imported = importChannelsCsv(image, text);
    if (!imported.result)
        imported.result.error = path.string() + ": " + imported.result.error;
    return imported;
}

} // namespace kq904
