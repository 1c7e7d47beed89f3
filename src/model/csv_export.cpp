#include "csv_export.h"

#include <array>
#include <span>

#include "channel_label.h"
#include "csv_columns.h"
#include "csv_text.h"
#include "csv_tones.h"
#include "file_io.h"
#include "frequency.h"
#include "tone_tables.h"

namespace kq904 {

namespace {

using Row = std::array<std::string, kCsvColumnNames.size()>;

std::string& cell(Row& row, CsvColumn column)
{
    return row[static_cast<std::size_t>(column)];
}

std::string channelText(int channel)
{
    return "channel " + std::to_string(channel + 1);
}

// A stored sub-tone the CSV can name, or none with a warning: the user-set entry has no fixed
// value, and an index past the table is damaged data.
SubTone exportableSubTone(
    const RadioImage& image, int channel, Half half, std::vector<std::string>& warnings)
{
    const SubTone tone = storedSubTone(image, channel, half);
    if (tone.kind == SubToneKind::None)
        return tone;
    const bool ctcss = tone.kind == SubToneKind::Ctcss;
    const unsigned userSet = static_cast<unsigned>(ctcss ? kCtcssUserSet : kDcsUserSet);
    if (tone.index < userSet)
        return tone;
    const std::string direction = half == Half::Transmit ? "transmit" : "receive";
    const std::string kind = ctcss ? "CTCSS" : "DCS";
    if (tone.index == userSet)
        warnings.push_back(channelText(channel) + ": the " + direction
            + " sub-tone is the user-set " + kind
            + " entry, which has no fixed value; exported as no sub-tone");
    else
        warnings.push_back(channelText(channel) + ": the " + direction + " " + kind + " index "
            + std::to_string(tone.index) + " is not in the table; exported as no sub-tone");
    return {};
}

struct Duplex {
    std::string duplex;
    std::uint32_t offset = 0;
};

// Transmit as the CSV describes it relative to receive: simplex, a repeater offset up or down,
// a split (the offset column then holds the transmit frequency) or transmit disabled.
Duplex duplexOf(std::uint32_t receive, std::uint32_t transmit, bool transmitDisabled)
{
    if (transmitDisabled)
        return {"off", 0};
    if (transmit == receive)
        return {"", 0};
    const std::uint32_t difference = transmit > receive ? transmit - receive : receive - transmit;
    if (difference > kCsvMaxRepeaterOffset || difference % kCsvOffsetRaster != 0)
        return {"split", transmit};
    return {transmit > receive ? "+" : "-", difference};
}

// What CHIRP's generic CSV reader (the 18-column one Debian 12 ships, 20221106) would drop or
// change of a channel the file carries faithfully: a tone missing from its list costs the whole
// row, and CrossMode and RxDtcsCode are columns it does not read, so every Cross row comes in as
// Tone->Tone.
void warnWhatChirpChanges(int channel, SubTone transmit, SubTone receive,
    const CsvToneColumns& tones, std::vector<std::string>& warnings)
{
    const auto unknownTone = [](SubTone tone) {
        return tone.kind == SubToneKind::Ctcss && !chirpKnowsCtcssTone(tone.index);
    };
    const auto warnTone = [&](SubTone tone) {
        warnings.push_back(channelText(channel) + ": CTCSS tone " + csvCtcssText(tone.index)
            + " Hz is not in CHIRP's tone list; CHIRP leaves this channel out");
    };
    if (unknownTone(transmit))
        warnTone(transmit);
    if (unknownTone(receive) && receive != transmit)
        warnTone(receive);
    if (tones.tone == "Cross" && tones.crossMode != "Tone->Tone")
        warnings.push_back(channelText(channel) + ": cross mode " + tones.crossMode
            + "; CHIRP versions that read 18 columns ignore CrossMode and RxDtcsCode and take it "
              "as Tone->Tone");
}

// CHIRP's 18 columns have no Power: every channel comes in at the other radio's default power.
void warnLowPowerForChirp(
    const RadioImage& image, std::span<const int> channels, std::vector<std::string>& warnings)
{
    std::string low;
    int count = 0;
    for (const int channel : channels) {
        if (channel < 0 || channel >= kChannelSlots
            || image.channels[static_cast<std::size_t>(channel)].get(ChannelRecord::highPower))
            continue;
        low += (count++ == 0 ? "" : ", ") + std::to_string(channel + 1);
    }
    if (count > 0)
        warnings.push_back((count == 1 ? "channel " : "channels ") + low
            + ": Low power; CHIRP versions that read 18 columns have no Power column and give "
            + (count == 1 ? "it" : "them") + " the default power");
}

std::string dcsPolarity(const RadioImage& image)
{
    std::string polarity;
    polarity += image.general.get(GeneralSettings::dcsTxInverted) ? 'R' : 'N';
    polarity += image.general.get(GeneralSettings::dcsRxInverted) ? 'R' : 'N';
    return polarity;
}

Row channelRow(RadioImage& image, int channel, std::vector<std::string>& warnings)
{
    const auto& record = image.channels[static_cast<std::size_t>(channel)];
    const bool transmitDisabled =
        record.get(ChannelRecord::timeOut) == ChannelRecord::timeOutTransmitDisabled;
    const std::uint32_t receive = receiveFrequency(image, channel);
    const Duplex duplex = duplexOf(receive, transmitFrequency(image, channel), transmitDisabled);
    const SubTone txTone = exportableSubTone(image, channel, Half::Transmit, warnings);
    const SubTone rxTone = exportableSubTone(image, channel, Half::Receive, warnings);
    const CsvToneColumns tones = csvToneColumns(txTone, rxTone);
    warnWhatChirpChanges(channel, txTone, rxTone, tones, warnings);

    const bool rxWide = record.get(ChannelRecord::rxWide);
    // The spacing bits have opposite senses: equal bits mean different spacings.
    if (!transmitDisabled && record.get(ChannelRecord::txNarrow) == rxWide)
        warnings.push_back(channelText(channel) + ": transmit is " + (rxWide ? "narrow" : "wide")
            + " but receive is " + (rxWide ? "wide" : "narrow")
            + "; Mode gives the receive spacing");

    Row row;
    cell(row, CsvColumn::Location) = std::to_string(channel + 1);
    cell(row, CsvColumn::Name) = channelLabel(image, channel);
    cell(row, CsvColumn::Frequency) = csvMegahertz(receive);
    cell(row, CsvColumn::Duplex) = duplex.duplex;
    cell(row, CsvColumn::Offset) = csvMegahertz(duplex.offset);
    cell(row, CsvColumn::Tone) = tones.tone;
    cell(row, CsvColumn::RToneFreq) = tones.rToneFreq;
    cell(row, CsvColumn::CToneFreq) = tones.cToneFreq;
    cell(row, CsvColumn::DtcsCode) = tones.dtcsCode;
    cell(row, CsvColumn::DtcsPolarity) = dcsPolarity(image);
    cell(row, CsvColumn::RxDtcsCode) = tones.rxDtcsCode;
    cell(row, CsvColumn::CrossMode) = tones.crossMode;
    cell(row, CsvColumn::Mode) = rxWide ? "FM" : "NFM";
    cell(row, CsvColumn::TStep) = record.get(ChannelRecord::rxStepIs5k) ? "5.00" : "6.25";
    cell(row, CsvColumn::Skip) = record.get(ChannelRecord::scan) ? "" : "S";
    cell(row, CsvColumn::Power) = record.get(ChannelRecord::highPower) ? "High" : "Low";
    return row;
}

} // namespace

CsvExport exportChannelsCsv(const RadioImage& image)
{
    std::vector<int> channels(static_cast<std::size_t>(image.channelCount()));
    for (std::size_t n = 0; n < channels.size(); ++n)
        channels[n] = static_cast<int>(n);
    return exportChannelsCsv(image, channels);
}

CsvExport exportChannelsCsv(const RadioImage& image, std::span<const int> channels, char separator)
{
    // The listing's view of the image: feature gating decides between names and tags, and the
    // labels repair name bytes. Both happen on the copy only.
    RadioImage copy = image;
    copy.applyFeatureGating();

    CsvExport exported;
    std::vector<std::string> header(kCsvColumnNames.begin(), kCsvColumnNames.end());
    exported.text = csvLine(header, separator);
    for (const int channel : channels) {
        if (channel < 0 || channel >= kChannelSlots)
            continue;
        exported.text += csvLine(channelRow(copy, channel, exported.warnings), separator);
        ++exported.channels;
    }
    warnLowPowerForChirp(copy, channels, exported.warnings);
    return exported;
}

Result writeChannelsCsvFile(const std::filesystem::path& path, const CsvExport& exported)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(exported.text.data());
    return writeFileAtomically(path, std::span(bytes, exported.text.size()));
}

} // namespace kq904
