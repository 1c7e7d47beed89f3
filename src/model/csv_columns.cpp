#include "csv_columns.h"

#include <cstdio>

#include "csv_text.h"

namespace kq904 {

CsvColumnMap::CsvColumnMap(const std::vector<std::string>& header)
    : headerSize_(header.size())
{
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string_view name = trimmedField(header[i]);
        for (std::size_t c = 0; c < kCsvColumnNames.size(); ++c) {
            if (!index_[c] && equalsIgnoringCase(name, kCsvColumnNames[c]))
                index_[c] = i;
        }
    }
}

std::optional<std::string_view> CsvColumnMap::cell(const CsvRecord& row, CsvColumn column) const
{
    const auto index = index_[static_cast<std::size_t>(column)];
    if (!index)
        return std::nullopt;
    if (*index >= row.fields.size())
        return std::string_view();
    return std::string_view(row.fields[*index]);
}

std::string_view CsvColumnMap::text(const CsvRecord& row, CsvColumn column) const
{
    return trimmedField(cell(row, column).value_or(std::string_view()));
}

std::string csvMegahertz(std::uint32_t hertz)
{
    char text[24];
    std::snprintf(text, sizeof text, "%u.%06u", hertz / 1'000'000u, hertz % 1'000'000u);
    return text;
}

std::optional<std::uint32_t> parseCsvMegahertz(std::string_view text)
{
    text = trimmedField(text);
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view decimals =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    const auto allDigits = [](std::string_view digits) {
        return digits.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if ((whole.empty() && decimals.empty()) || whole.size() > 4 || !allDigits(whole)
        || !allDigits(decimals))
        return std::nullopt;
    // Six decimals make whole hertz; any further digit must be 0.
    if (decimals.size() > 6 && decimals.find_first_not_of('0', 6) != std::string_view::npos)
        return std::nullopt;
    std::uint64_t hertz = 0;
    for (const char c : whole)
        hertz = hertz * 10 + static_cast<std::uint64_t>(c - '0');
    std::uint64_t fraction = 0;
    for (std::size_t i = 0; i < 6; ++i)
        fraction = fraction * 10
            + (i < decimals.size() ? static_cast<std::uint64_t>(decimals[i] - '0') : 0);
    hertz = hertz * 1'000'000 + fraction;
    if (hertz > UINT32_MAX)
        return std::nullopt;
    return static_cast<std::uint32_t>(hertz);
}

} // namespace kq904
