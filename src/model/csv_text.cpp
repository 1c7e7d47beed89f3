#include "csv_text.h"

#include <algorithm>
#include <cstdio>

namespace kq904 {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string lineText(int line)
{
    return "line " + std::to_string(line);
}

bool isTextByte(unsigned char c)
{
    return c == '\t' || c == '\r' || c == '\n' || (c >= 0x20 && c != 0x7F);
}

// The first byte that no text file holds (NUL, other control characters), with its line.
Result checkIsText(std::string_view text)
{
    int line = 1;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\n')
            ++line;
        if (!isTextByte(c)) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X", c);
            return Result::failure(
                lineText(line) + ": byte " + hex + " is not text; the file is not a channel list");
        }
    }
    return Result::success();
}

bool isBlank(std::string_view field)
{
    return std::all_of(field.begin(), field.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// The first line that is neither blank nor a comment decides the separator.
char detectSeparator(std::string_view text)
{
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (isBlank(line) || line.front() == '#')
            continue;
        const auto tabs = std::count(line.begin(), line.end(), '\t');
        const auto commas = std::count(line.begin(), line.end(), ',');
        return tabs > commas ? '\t' : ',';
    }
    return ',';
}

class RecordSplitter {
public:
    RecordSplitter(std::string_view text, char separator)
        : text_(text)
        , separator_(separator)
    { }

    CsvText run()
    {
        CsvText parsed;
        parsed.separator = separator_;
        while (pos_ < text_.size()) {
            if (text_[pos_] == '#') {
                skipLine();
                continue;
            }
            CsvRecord record;
            if (Result read = readRecord(record); !read) {
                parsed.result = read;
                parsed.records.clear();
                return parsed;
            }
            const bool blank = std::all_of(record.fields.begin(), record.fields.end(),
                [](const std::string& field) { return isBlank(field); });
            if (!blank)
                parsed.records.push_back(std::move(record));
        }
        return parsed;
    }

private:
    void skipLine()
    {
        while (pos_ < text_.size() && text_[pos_] != '\n' && text_[pos_] != '\r')
            ++pos_;
        endLine();
    }

    // Steps over one line end: CRLF, LF or a lone CR.
    void endLine()
    {
        if (pos_ < text_.size() && text_[pos_] == '\r')
            ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n')
            ++pos_;
        ++line_;
    }

    Result readRecord(CsvRecord& record)
    {
        record.line = line_;
        const std::size_t start = pos_;
        std::string field;
        bool inQuotes = false;
        bool quoted = false; // the current field opened with a quote
        while (pos_ < text_.size()) {
            if (pos_ - start > kCsvMaxLineLength)
                return Result::failure(lineText(record.line) + " is longer than "
                    + std::to_string(kCsvMaxLineLength)
                    + " characters; the file is not a channel list");
            const char c = text_[pos_];
            if (inQuotes) {
                if (c == '"' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
                    field += '"';
                    pos_ += 2;
                } else if (c == '"') {
                    inQuotes = false;
                    ++pos_;
                } else {
                    if (c == '\n'
                        || (c == '\r' && (pos_ + 1 >= text_.size() || text_[pos_ + 1] != '\n')))
                        ++line_;
                    field += c;
                    ++pos_;
                }
            } else if (c == separator_) {
                record.fields.push_back(std::move(field));
                field.clear();
                quoted = false;
                ++pos_;
            } else if (c == '"' && field.empty() && !quoted) {
                inQuotes = true;
                quoted = true;
                ++pos_;
            } else if (c == '\r' || c == '\n') {
                endLine();
                record.fields.push_back(std::move(field));
                return Result::success();
            } else {
                field += c;
                ++pos_;
            }
        }
        if (inQuotes)
            return Result::failure(lineText(record.line)
                + ": a quoted field is not closed before the end of the file");
        record.fields.push_back(std::move(field));
        return Result::success();
    }

    std::string_view text_;
    char separator_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

} // namespace

CsvText parseCsvText(std::string_view text)
{
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        CsvText parsed;
        parsed.result = Result::failure("the file is UTF-16 text; save it as UTF-8 (or CSV) text");
        return parsed;
    }
    if (text.starts_with(kUtf8Bom))
        text.remove_prefix(kUtf8Bom.size());
    if (Result isText = checkIsText(text); !isText) {
        CsvText parsed;
        parsed.result = isText;
        return parsed;
    }
    return RecordSplitter(text, detectSeparator(text)).run();
}

std::string_view trimmedField(std::string_view field)
{
    const std::size_t first = field.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = field.find_last_not_of(" \t");
    return field.substr(first, last - first + 1);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
        return lower(x) == lower(y);
    });
}

std::string csvField(std::string_view value)
{
    const bool needsQuotes = value.find_first_of(",\"\r\n\t") != std::string_view::npos
        || (!value.empty() && (value.front() == ' ' || value.back() == ' '));
    if (!needsQuotes)
        return std::string(value);
    std::string quoted = "\"";
    for (const char c : value) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string csvLine(std::span<const std::string> fields, char separator)
{
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += separator;
        line += csvField(fields[i]);
    }
    line += "\r\n";
    return line;
}

} // namespace kq904
