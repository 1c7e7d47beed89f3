#include "cli/production_log.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "link/serial_numbers.h"
#include "model/file_io.h"

namespace kq904::cli {

namespace {

// RFC 4180: a field with a comma, a quote or a line break goes in quotes, quotes doubled.
std::string csvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string decimal(long long value)
{
    std::array<char, 24> text{};
    const auto [end, ec] = std::to_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() ? std::string(text.data(), end) : std::string();
}

// Seconds with one decimal, rounded, whatever the locale: "7.1".
std::string tenths(long long milliseconds)
{
    const long long t = (std::max(0LL, milliseconds) + 50) / 100;
    return decimal(t / 10) + "." + decimal(t % 10);
}

// "2024-05-02T09:14:03+02:00": local time and its offset, so lines from stations in different
// zones, or from both sides of a clock change, still sort and compare.
std::string isoLocalTime(const QDateTime& when)
{
    const QDateTime local = when.toLocalTime();
    std::string text =
        local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate).toStdString();
    // Qt writes a zero offset as "Z"; every line carries its offset in the same form.
    if (text.ends_with('Z'))
        text.replace(text.size() - 1, 1, "+00:00");
    return text;
}

std::vector<std::uint8_t> bytes(const std::string& text)
{
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

} // namespace

std::string productionLogLine(const ProductionRecord& record)
{
    std::string outcome = record.programmed ? "Programming OK" : "Programming Fail";
    if (!record.programmed && !record.failure.empty())
        outcome += "; " + record.failure;
    const std::string verify =
        record.verified ? (*record.verified ? "Verify OK" : "Verify Fail") : "-";
    const std::string fields[] = {isoLocalTime(record.finished), record.port, record.device,
        record.serial ? sevenDigitSerial(*record.serial) : "-", outcome, verify,
        tenths(record.milliseconds)};
    std::string line;
    for (const std::string& field : fields) {
        if (!line.empty())
            line += ',';
        line += csvField(field);
    }
    return line;
}

Result appendToProductionLog(const std::filesystem::path& path, const ProductionRecord& record)
{
    return appendDurably(path, bytes(productionLogLine(record) + "\n"),
        bytes(std::string(kProductionLogHeader) + "\n"));
}

Result prepareProductionLog(const std::filesystem::path& path)
{
    return appendDurably(path, {}, bytes(std::string(kProductionLogHeader) + "\n"));
}

} // namespace kq904::cli
