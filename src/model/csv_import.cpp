#include "csv_import.h"

#include <algorithm>
#include <array>
#include <optional>

#include "csv_channel_row.h"
#include "csv_columns.h"
#include "csv_text.h"
#include "file_io.h"

namespace kq904 {

namespace {

// "channel 3" or "channels 3-5".
std::string channelRange(int first, int last)
{
    return first == last ? "channel " + std::to_string(first)
                         : "channels " + std::to_string(first) + "-" + std::to_string(last);
}

class ChannelListImporter {
public:
    ChannelListImporter(const RadioImage& image, const CsvColumnMap& columns)
        : working_(image)
        , columns_(columns)
        , countBefore_(image.channelCount())
    { }

    // `channel`: a paste puts the row there, whatever its Location says.
    void importRow(const CsvRecord& row, std::optional<int> channel = std::nullopt);
    CsvImport finish(RadioImage& image);
    // A paste only ever adds channels: the count grows to the last channel pasted.
    CsvImport finishPaste(RadioImage& image);

private:
    void problem(std::string text) { problems_.push_back(std::move(text)); }
    void noteUnlistedChannels();
    CsvImport limitProblems(CsvImport imported);

    RadioImage working_;
    const CsvColumnMap& columns_;
    const int countBefore_;
    std::array<bool, kChannelSlots> taken_{};
    int highest_ = 0;
    int channelsTaken_ = 0;
    std::vector<std::string> problems_;
};

void ChannelListImporter::importRow(const CsvRecord& row, std::optional<int> channel)
{
    const auto number =
        applyChannelRow({working_, countBefore_, taken_, channel}, columns_, row, problems_);
    if (!number)
        return;
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
    return limitProblems(std::move(imported));
}

CsvImport ChannelListImporter::finishPaste(RadioImage& image)
{
    CsvImport imported;
    if (channelsTaken_ == 0) {
        imported.result = Result::failure("the clipboard holds no channel the radio can take");
    } else {
        imported.channelCount = std::max(countBefore_, highest_);
        working_.setChannelCount(imported.channelCount);
        image = working_;
        imported.channelsTaken = channelsTaken_;
    }
    return limitProblems(std::move(imported));
}

CsvImport ChannelListImporter::limitProblems(CsvImport imported)
{
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
    const CsvColumnMap columns(header.fields);
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

CsvImport pasteChannelsCsv(RadioImage& image, std::string_view text, int firstChannel)
{
    CsvImport pasted;
    CsvText parsed = parseCsvText(text);
    if (!parsed.result) {
        pasted.result = Result::failure("the clipboard text: " + parsed.result.error);
        return pasted;
    }
    // Rows without a header could be any table: which cell is the frequency is a guess.
    if (parsed.records.empty()
        || !CsvColumnMap(parsed.records.front().fields).has(CsvColumn::Frequency)) {
        pasted.result = Result::failure(
            "the clipboard holds no channel list: it needs a header line naming the columns "
            "(Location, Name, Frequency, ...) above the channels, as Copy and Export CSV write "
            "it");
        return pasted;
    }
    const CsvColumnMap columns(parsed.records.front().fields);
    ChannelListImporter importer(image, columns);
    int channel = std::clamp(firstChannel, 0, kChannelSlots);
    for (std::size_t i = 1; i < parsed.records.size(); ++i) {
        const CsvRecord& row = parsed.records[i];
        if (channel >= kChannelSlots) {
            pasted.problems.push_back("line " + std::to_string(row.line)
                + " and the rows after it: no channel past " + std::to_string(kChannelSlots)
                + "; left out");
            break;
        }
        importer.importRow(row, channel++);
    }
    CsvImport outcome = importer.finishPaste(image);
    outcome.problems.insert(outcome.problems.end(), pasted.problems.begin(), pasted.problems.end());
    return outcome;
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
        failed.result = Result::failure(pathText(path) + " is larger than "
            + std::to_string(kCsvMaxFileSize) + " bytes; it is not a channel list");
        return failed;
    }
    const std::string_view text(
        reinterpret_cast<const char*>(head.bytes.data()), head.bytes.size());
    CsvImport imported = importChannelsCsv(image, text);
    if (!imported.result)
        imported.result.error = pathText(path) + ": " + imported.result.error;
    return imported;
}

} // namespace kq904
