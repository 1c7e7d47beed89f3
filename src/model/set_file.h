#pragma once
// The set file (".set"): every persisted block at a fixed offset, gaps filled with '0'.
// 3765 bytes; no header, no checksum.

#include <filesystem>

#include "radio_image.h"
#include "result.h"

namespace kq904 {

inline constexpr std::size_t kSetFileSize = 3765;

// Stores "5.12" into the factory block, then writes the file crash-safely. A failed write
// leaves the previous file intact.
Result saveSetFile(RadioImage& image, const std::filesystem::path& path);

// Loads into a copy and commits only on success, so a failed load leaves the image exactly as
// it was. Fails when the file cannot be opened ("cannot open ...") or ends before byte 3072
// ("file is truncated at byte N"). Files of 3072-3764 bytes load: missing heads keep their
// contents, missing tails become zero. channelCount is pulled into 1-99 after the load.
Result loadSetFile(RadioImage& image, const std::filesystem::path& path);

} // namespace kq904
