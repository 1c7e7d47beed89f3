#pragma once
// The four default table files that keep the last configuration between runs: raw copies of the
// image's blocks, no header. They live in the data directory (absolute, fixed at start-up).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "radio_image.h"
#include "result.h"

namespace kq904 {

enum class TableFile { Channel, Set, Factory, Kill };

// "channelTab.bin", "setTab.bin", "factoryTab.bin", "killTab.bin".
const char* tableFileName(TableFile file);
// 1584, 48, 40 and 17 bytes.
std::size_t tableFileSize(TableFile file);
// The file's content for the image, in its layout order.
std::vector<std::uint8_t> tableFileBytes(const RadioImage& image, TableFile file);

// Loads one table file into the image; a missing or short file loads what it can. Loading
// setTab.bin also fixes GeneralSettings bytes 8-11 and pulls channelCount into 1-99 (a
// damaged channelTab/setTab can hold any count).
void loadTableFile(RadioImage& image, const std::filesystem::path& dataDir, TableFile file);
// Start-up order: channelTab.bin, setTab.bin, factoryTab.bin, killTab.bin.
void loadTableFiles(RadioImage& image, const std::filesystem::path& dataDir);

// Writes the file from the image, crash-safely (temporary file renamed over the target).
Result writeTableFile(
    const RadioImage& image, const std::filesystem::path& dataDir, TableFile file);
// Writes the file only when its content differs from the image (or it is missing or short);
// an equal file keeps its modification time. `written` tells whether it was rewritten.
Result writeTableFileIfDifferent(const RadioImage& image, const std::filesystem::path& dataDir,
    TableFile file, bool* written = nullptr);

} // namespace kq904
