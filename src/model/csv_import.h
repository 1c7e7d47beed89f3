#pragma once
// Reading a channel list in the CSV exchange format into the radio image. Columns are found by
// their header names, so files of older programs (17 columns) and spreadsheets that reorder
// columns load too; only Location and Frequency are needed.
//
// Each row replaces the channel at its Location (1-99) with what the row says: receive and
// transmit frequency, sub-tones, spacing (Mode), power, scan (Skip) and name. What the format
// cannot say (busy lock-out, time-out timer, PTT code, selective calling, monitor, crystal
// shift) stays as it was for a channel that was in use; a channel that was not in use starts
// clean, with the values other programs give a new channel where the row is silent (high power,
// wide, scanned). The channel count becomes the highest Location taken.
//
// A row or value the radio cannot take is reported and left out; the rest of the file still
// loads. A file that cannot be used as a whole (unreadable, not text, no Location and Frequency
// header, not a single usable row) changes nothing.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "radio_image.h"
#include "result.h"

namespace kq904 {

// A channel list of 99 rows is a few kilobytes.
inline constexpr std::size_t kCsvMaxFileSize = 1024 * 1024;
// Problems past this many are counted, not listed.
inline constexpr std::size_t kCsvMaxProblems = 200;

struct CsvImport {
    Result result; // a failure leaves the image exactly as it was
    int channelsTaken = 0; // rows that replaced a channel
    int channelCount = 0; // the channel count after the import
    // Every row or value not taken, as "line N: ..." or "line N (channel C): ...", then notes on
    // channels the file left out. Filled on failure too, to explain it.
    std::vector<std::string> problems;
};

// Imports the text into the image; the image changes only when the import succeeds.
CsvImport importChannelsCsv(RadioImage& image, std::string_view text);
// Pastes a channel list from the clipboard: its rows, in order, replace the channels from
// `firstChannel` (0-based) on, whatever their Location says (Location may be left out); rows
// past channel 99 are left out. The channel count grows to the last channel pasted and never
// shrinks. Otherwise as the import: the same rules, the same problems, and the image changes
// only when the text could be used. Needs a header line naming at least Frequency.
CsvImport pasteChannelsCsv(RadioImage& image, std::string_view text, int firstChannel);
// Reads the file (at most kCsvMaxFileSize bytes) and imports it; "cannot open <path>: ..." and
// the like when it cannot be read.
CsvImport importChannelsCsvFile(RadioImage& image, const std::filesystem::path& path);

} // namespace kq904
