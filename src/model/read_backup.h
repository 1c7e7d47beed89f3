#pragma once
// Backups of what was read from a radio: every good reading is also kept as a set file in the
// folder "backups" of the data directory, named after the moment of the reading and the radio's
// serial number, so a customer's radio can always be put back the way it came in.
//
//     backups/20261208-143005-SN0000500.set
//
// A backup never replaces another file: a second reading within the same second gets "-1",
// "-2"... before ".set".

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>

#include "radio_image.h"
#include "result.h"

namespace kq904 {

inline constexpr char kBackupFolder[] = "backups";

// "20261208-143005-SN0000500.set" for `suffix` 0, "20261208-143005-SN0000500-2.set" for 2. The
// serial number has seven digits, as the Programming form shows it, or more when larger.
std::string readBackupName(const std::tm& localTime, std::uint32_t serial, int suffix = 0);

struct SavedBackup {
    Result result;
    std::filesystem::path path; // the file written, when result is ok
};

// Writes `image` as a set file (with the program's version text, as every saved set file has it)
// under the first free name in `folder`, which is created when missing. The image is not
// changed. Fails, naming the reason, when the folder or file cannot be written.
SavedBackup saveReadBackup(
    const RadioImage& image, const std::filesystem::path& folder, const std::tm& localTime);

} // namespace kq904
