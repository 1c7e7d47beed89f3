#pragma once
// Writing the channels of the radio image as a channel list in the CSV exchange format, so a
// channel plan can move to any radio whose programmer reads that format. One row per channel in
// use (Location 1 to channelCount), UTF-8, CRLF line ends.

#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "radio_image.h"
#include "result.h"

namespace kq904 {

struct CsvExport {
    std::string text; // the whole file: header and one row per channel
    int channels = 0;
    // What the format cannot carry, one line each ("channel 5: ..."): user-set sub-tones,
    // damaged tone indexes, a transmit spacing different from the receive spacing; then what
    // CHIRP's 18-column reader drops or changes: channels with a tone it does not know, cross
    // modes other than Tone->Tone, low power.
    std::vector<std::string> warnings;
};

// The channel list of the image. Works on a copy: the names are built as the listing builds
// them (which repairs invalid name bytes), but the image itself never changes.
CsvExport exportChannelsCsv(const RadioImage& image);
// The header and the rows of the given channels (0-based, in that order), each exactly as the
// whole list writes it, with the fields joined by `separator`: ',' for CSV, '\t' for the
// plain text a spreadsheet takes from the clipboard. The warnings are those of these channels.
CsvExport exportChannelsCsv(
    const RadioImage& image, std::span<const int> channels, char separator = ',');

// Writes the text crash-safely: the target is the complete old or the complete new file.
Result writeChannelsCsvFile(const std::filesystem::path& path, const CsvExport& exported);

} // namespace kq904
