#pragma once
// The columns of a channel list in the CSV exchange format that radio programmers share, in the
// order they are written. Files from older programs have fewer of them (17 columns, without
// RxDtcsCode, CrossMode, Power and DVCODE); reading matches columns by name.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "csv_text.h"

namespace kq904 {

enum class CsvColumn : std::size_t {
    Location,
    Name,
    Frequency,
    Duplex,
    Offset,
    Tone,
    RToneFreq,
    CToneFreq,
    DtcsCode,
    DtcsPolarity,
    RxDtcsCode,
    CrossMode,
    Mode,
    TStep,
    Skip,
    Power,
    Comment,
    UrCall,
    Rpt1Call,
    Rpt2Call,
    DvCode,
};

inline constexpr std::array<std::string_view, 21> kCsvColumnNames = {"Location", "Name",
    "Frequency", "Duplex", "Offset", "Tone", "rToneFreq", "cToneFreq", "DtcsCode", "DtcsPolarity",
    "RxDtcsCode", "CrossMode", "Mode", "TStep", "Skip", "Power", "Comment", "URCALL", "RPT1CALL",
    "RPT2CALL", "DVCODE"};

constexpr std::string_view csvColumnName(CsvColumn column)
{
    return kCsvColumnNames[static_cast<std::size_t>(column)];
}

// Where each known column sits in the rows of one file, found by its header name (spelled in
// any case).
class CsvColumnMap {
public:
    explicit CsvColumnMap(const std::vector<std::string>& header);

    bool has(CsvColumn column) const
    {
        return index_[static_cast<std::size_t>(column)].has_value();
    }
    // How many fields the header names; a row with fewer is not a whole row.
    std::size_t headerSize() const { return headerSize_; }
    // The cell of a row; nothing when the file has no such column, "" when the row is short.
    std::optional<std::string_view> cell(const CsvRecord& row, CsvColumn column) const;
    // The cell without surrounding spaces; "" when the column or the cell is missing.
    std::string_view text(const CsvRecord& row, CsvColumn column) const;

private:
    std::array<std::optional<std::size_t>, kCsvColumnNames.size()> index_{};
    std::size_t headerSize_ = 0;
};

// A transmit frequency further than this from the receive frequency is written as a split
// channel rather than as a repeater offset.
inline constexpr std::uint32_t kCsvMaxRepeaterOffset = 70'000'000;
// Repeater offsets are whole multiples of this; any other difference is written as a split.
inline constexpr std::uint32_t kCsvOffsetRaster = 5'000;

// "146.520000": hertz as megahertz with six decimals, exactly.
std::string csvMegahertz(std::uint32_t hertz);
// "146.52", "146.520000", " 146.5 ", ".6" -> hertz. Digits with at most one '.' (the whole
// megahertz may be left out, as other programs write an offset); decimals past the sixth must
// be zeros (the value is a whole number of hertz). Nothing for any other text or a value beyond
// 4294.967295 MHz.
std::optional<std::uint32_t> parseCsvMegahertz(std::string_view text);

} // namespace kq904
