#pragma once
// Reading the head of a file in one go, with the reason in words when it cannot be read.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "result.h"

namespace kq904 {

struct FileHead {
    Result result; // "cannot open <path>: <reason>" or "cannot read ..."
    std::vector<std::uint8_t> bytes; // at most maxBytes; fewer when the file is shorter
};

// Reads up to maxBytes from the start of the file. Anything but a regular file that can be
// opened for reading (a directory, a pipe, a device) is a failure; a short file is not.
FileHead readFileHead(const std::filesystem::path& path, std::size_t maxBytes);

} // namespace kq904
