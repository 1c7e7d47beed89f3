#pragma once
// What the window's undo history keeps of one moment, and how it puts a moment back: the
// configuration (the image's bytes) and the default table files as they lie in the data
// directory, byte for byte. A step of the history is the pair of moments before and after it;
// undoing it puts back the bytes the step changed, in the image and in the table files it wrote,
// so the next start-up begins from the undone state too.

#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "radio_image.h"
#include "result.h"
#include "table_files.h"

namespace kq904 {

// One table file as it was found.
struct TableFileContent {
    enum class State : std::uint8_t {
        Missing, // no file by that name
        Present, // `bytes` is the whole file
        Unknown, // unreadable or far larger than a table file: never written back
    };
    State state = State::Unknown;
    std::vector<std::uint8_t> bytes;

    bool operator==(const TableFileContent&) const = default;
};

// A table file far larger than any the program writes is not one worth keeping a copy of.
inline constexpr std::size_t kTableFileKeptBytes = 64 * 1024;

struct TableFileContents {
    std::array<TableFileContent, 4> files; // indexed by TableFile

    TableFileContent& operator[](TableFile file) { return files[static_cast<std::size_t>(file)]; }
    const TableFileContent& operator[](TableFile file) const
    {
        return files[static_cast<std::size_t>(file)];
    }
    bool operator==(const TableFileContents&) const = default;
};

// The four table files of the data directory as they are now.
TableFileContents readTableFileContents(const std::filesystem::path& dataDir);

// Makes every table file whose content differs between `from` and `to` what `to` holds:
// rewritten crash-safely, or removed when it was missing in `to`. A file unknown on either side
// is left alone. Every file is tried; the first failure is returned.
Result restoreTableFiles(const std::filesystem::path& dataDir, const TableFileContents& from,
    const TableFileContents& to);

// Puts the bytes of `to` into the image wherever `from` and `to` differ; a byte the step did not
// change keeps what the image holds now (the band bits a programming recomputed, the serial
// number the Programming form put in). The feature flags are never part of a step.
void applyImageChange(RadioImage& image, const RadioImage& from, const RadioImage& to);

// Whether two images hold the same configuration: every block a set file or a table file keeps.
bool sameConfiguration(const RadioImage& a, const RadioImage& b);

} // namespace kq904
