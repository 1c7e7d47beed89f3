#pragma once
// The set file (".set"): every persisted block at a fixed offset, gaps filled with '0'.
// 3765 bytes; no header, no checksum.

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>

#include "radio_image.h"
#include "result.h"

namespace kq904 {

inline constexpr std::size_t kSetFileSize = 3765;
// A set file must reach the channel extras to load; shorter ones are damaged.
inline constexpr std::size_t kSetFileMinimumSize = 3072;
// The program version text stored into the factory block on every save.
inline constexpr char kSetFileVersion[] = "5.12";

// Stores "5.12" into the factory block, then writes the file crash-safely. A failed write
// leaves the previous file intact (the image keeps the new version text).
Result saveSetFile(RadioImage& image, const std::filesystem::path& path);

// Loads into a copy and commits only on success, so a failed load leaves the image exactly as
// it was. Fails when the file cannot be opened ("cannot open <path>: <reason>") or ends before
// byte 3072 ("<path>: file is truncated at byte N"). Files of 3072-3764 bytes load: missing
// heads keep their contents, missing tails become zero. channelCount is pulled into 1-99 after
// the load.
Result loadSetFile(RadioImage& image, const std::filesystem::path& path);

// The file's 3765 bytes for the image as it is (the version text is not touched here).
std::array<std::uint8_t, kSetFileSize> encodeSetFile(const RadioImage& image);
// Applies a set file's bytes to the image, with the same rules as loadSetFile; on failure
// ("file is truncated at byte N") the image is untouched.
Result decodeSetFile(RadioImage& image, std::span<const std::uint8_t> bytes);

} // namespace kq904
