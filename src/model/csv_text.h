#pragma once
// Comma-separated text as spreadsheets and other radio programmers write it: UTF-8 with or
// without a byte-order mark, CRLF or LF line ends, fields quoted with '"' and "" for a quote
// inside, lines starting with '#' as comments, and tab-separated files from spreadsheets that
// export tabs. Reading is strict about what would lose data (a quote left open swallows the rest
// of the file) and about what cannot be a channel list at all (binary data, huge lines).

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "result.h"

namespace kq904 {

// A channel list of 99 rows is a few kilobytes; anything near these limits is not one.
inline constexpr std::size_t kCsvMaxLineLength = 4096;

struct CsvRecord {
    int line = 0; // the line the record starts on, counted from 1
    std::vector<std::string> fields;
};

struct CsvText {
    Result result; // "line N: ..." when the text cannot be read as a whole; no records then
    char separator = ',';
    std::vector<CsvRecord> records; // comment and blank lines left out
};

// Splits the text into records. The separator is a tab when the first record has more tabs
// than commas, otherwise a comma. Fails on a NUL or other control character (not text), a
// UTF-16 byte-order mark, a line longer than kCsvMaxLineLength, or a quoted field still open at
// the end.
CsvText parseCsvText(std::string_view text);

// A field without the spaces and tabs around it.
std::string_view trimmedField(std::string_view field);
// ASCII case-insensitive comparison, for the names and keywords other programs spell freely.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// One field as it must be written: quoted, with quotes doubled, when it holds the separator, a
// quote, a line break or leading/trailing spaces; otherwise as it is.
std::string csvField(std::string_view value);
// A whole line: the fields joined with the separator (a comma, or a tab for spreadsheets) and
// ended with CRLF.
std::string csvLine(std::span<const std::string> fields, char separator = ',');

} // namespace kq904
