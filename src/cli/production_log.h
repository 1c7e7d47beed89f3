#pragma once
// The production log of a factory station: one CSV line per radio, appended and flushed to the
// disk the moment the radio is done, never rewritten, so a crash or a power cut loses at most
// the radio under way and never a line already written.
//
//   time,port,device,serial,outcome,verify,seconds
//   2024-05-02T09:14:03+02:00,COM1,/dev/ttyUSB0,0000042,Programming OK,Verify OK,7.1
//   2024-05-02T09:14:09+02:00,COM2,/dev/ttyUSB1,0000043,"Programming Fail; the radio refused
//   frame 2 of 204 (W 0x054A: channel 1 extra)",-,3.4

#include <QDateTime>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "model/result.h"

namespace kq904::cli {

inline constexpr const char* kProductionLogName = "production-log.csv";
inline constexpr const char* kProductionLogHeader =
    "time,port,device,serial,outcome,verify,seconds";

struct ProductionRecord {
    QDateTime finished; // local time; written with its offset from UTC
    std::string port; // as given on the command line
    std::string device; // the device it led to
    std::optional<std::uint32_t> serial; // none when no number could be reserved
    bool programmed = false;
    std::string failure; // why the programming failed
    std::optional<bool> verified; // none: not verified
    long long milliseconds = 0; // from the radio answering to its line
};

// The line for one radio (without its line break), fields quoted as CSV wants them.
std::string productionLogLine(const ProductionRecord& record);

// Appends one radio's line to `path` (with the header when the file is new or empty) and
// flushes it to the disk.
Result appendToProductionLog(const std::filesystem::path& path, const ProductionRecord& record);

// Creates the log with its header when it does not exist yet, so a log that cannot be written
// is found before the first radio.
Result prepareProductionLog(const std::filesystem::path& path);

} // namespace kq904::cli
