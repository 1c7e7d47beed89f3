#pragma once
// Crash-safe replacement of a file: a set file or table file on disk is always either the complete
// previous content or the complete new content, never a half-written mix.

#include <cstdint>
#include <filesystem>
#include <span>

#include "result.h"

namespace kq904 {

// Writes the bytes to a temporary file in the target's directory, flushes it to the disk and
// renames it over the target only when it is complete. An existing file keeps its permission
// bits; a symbolic link is kept and the file it points to is replaced. On failure the previous
// file is untouched, the temporary file is removed and the reason names the target:
// "cannot write <path>: <reason>".
Result writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

} // namespace kq904
