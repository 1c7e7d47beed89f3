#pragma once
// The data directory holding the table files and kq904.ini: the current directory by default,
// or the one given with --data-dir. Resolved to an absolute path once at start-up so nothing
// later (a file dialog changing the current directory) can move it.

#include <filesystem>

namespace kq904 {

// An absolute path for `given` (empty: the current directory).
std::filesystem::path resolveDataDir(const std::filesystem::path& given);

} // namespace kq904
