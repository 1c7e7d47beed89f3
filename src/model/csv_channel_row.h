#pragma once
// One row of a channel list applied to the channel it names. The row replaces what the CSV
// carries (frequencies, sub-tones, spacing, power, scan, name); what it cannot say stays as it
// was on a channel in use, and a slot that was not in use starts clean, with the values other
// programs give a new channel where the row is silent (high power, wide, scanned).

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "csv_columns.h"
#include "csv_text.h"
#include "radio_image.h"

namespace kq904 {

struct CsvRowTarget {
    RadioImage& image; // the import's working copy
    int countBefore; // channels in use before the import
    std::array<bool, kChannelSlots>& taken; // channels earlier rows replaced
    // A paste: the row goes to this channel (0-based) whatever its Location says, and a row
    // without a Location is whole. Nothing: the row's Location names the channel.
    std::optional<int> channel = std::nullopt;
};

// Applies the row and marks its channel taken. Returns the channel number (1-99), or nothing
// when the row was skipped and the image left as it was. Every row or value not taken is added
// to `problems` as "line N: ..." or "line N (channel C): ...".
std::optional<int> applyChannelRow(const CsvRowTarget& target, const CsvColumnMap& columns,
    const CsvRecord& row, std::vector<std::string>& problems);

} // namespace kq904
