#pragma once
// Every file the model reads or writes goes through here: one way to read a file, one crash-safe
// replacement, one create-only write. The system calls behind them live in file_io_posix.cpp and
// file_io_windows.cpp, of which CMake builds the one for the system at hand.
//
// A set file or table file on disk is always either the complete previous content or the complete
// new content, never a half-written mix, on every system.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "result.h"

namespace kq904 {

struct FileHead {
    Result result; // "cannot open <path>: <reason>" or "cannot read ..."
    std::vector<std::uint8_t> bytes; // at most maxBytes; fewer when the file is shorter
};

// Reads up to maxBytes from the start of the file. Anything but a regular file that can be
// opened for reading (a directory, a pipe, a device) is a failure; a short file is not. The file
// stays open only for the read, and never keeps another program from replacing it.
FileHead readFileHead(const std::filesystem::path& path, std::size_t maxBytes);

// Writes the bytes to a temporary file in the target's directory, flushes it to the disk and puts
// it in the target's place in one step only when it is complete (a rename over the target on
// POSIX, MoveFileExW with replace-existing and write-through on Windows). An existing file keeps
// its permission bits where the system has them; a symbolic link is kept and the file it points
// to is replaced. On failure the previous file is untouched, the temporary file is removed and
// the reason names the target: "cannot write <path>: <reason>".
Result writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Creates `path` with the bytes, flushed to the disk, only if nothing is there yet (checked and
// created in one step). A name already taken is a failure with `nameTaken` set; any other
// failure leaves no half-written file behind: "cannot write <path>: <reason>".
Result writeNewFile(
    const std::filesystem::path& path, std::span<const std::uint8_t> bytes, bool& nameTaken);

// Removes the file (only a regular file or a symbolic link; the link itself, not what it
// points to). A file that is not there is no failure: "cannot remove <path>: <reason>".
Result removeFile(const std::filesystem::path& path);

// Appends the bytes to the end of `path`, creating the file when it is missing, and flushes the
// file to the disk before returning, so what was appended survives a crash or a power cut; what
// the file held before is never touched. `header` goes first when the file is new or empty; a
// file whose last line was cut off (a disk that filled up) gets a line break first, so a line
// is never glued to a broken one. For logs written one line at a time.
Result appendDurably(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
    std::span<const std::uint8_t> header = {});

// The path as UTF-8 text, for messages: never throws, whatever letters the path holds.
std::string pathText(const std::filesystem::path& path);

// The path named by UTF-8 text (a command-line argument as the programs receive it).
std::filesystem::path pathFromUtf8(std::string_view text);

} // namespace kq904
