#pragma once
// The set file (".set"): every persisted block at a fixed offset, gaps filled with '0'.
// 3765 bytes; no header, no checksum.

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "program_version.h"
#include "radio_image.h"
#include "result.h"

namespace kq904 {

inline constexpr std::size_t kSetFileSize = 3765;
// A set file must reach the channel extras to load; shorter ones are damaged.
inline constexpr std::size_t kSetFileMinimumSize = 3072;
// Stores the program's version text (kProgramVersion) into the factory block, then writes the file
// crash-safely. A failed write leaves the previous file intact (the image keeps the new version
// text).
Result saveSetFile(RadioImage& image, const std::filesystem::path& path);

// Loads into a copy and commits only on success, so a failed load leaves the image exactly as
// it was. Fails when the file cannot be opened ("cannot open <path>: <reason>") or ends before
// byte 3072 ("<path>: not a set file: N bytes, a set file has 3765"). Files of 3072-3764 bytes
// load: missing heads keep their contents, missing tails become zero. channelCount is pulled
// into 1-99 after the load. Whether the file looks like a set file is not asked here: see
// readSetFile for callers that must not take any file for one.
Result loadSetFile(RadioImage& image, const std::filesystem::path& path);

// What makes a file not a set file, in words a user can read ("not a set file: 12345 bytes, a
// set file has 3765", "not a set file: bytes 40-1023 are not filler"); empty for a set file.
// A set file has exactly 3765 bytes (3072-3764 for the files of older versions) and every
// filler byte between its blocks is '0'. `head` is the file's first 3765 bytes at most,
// `fileSize` its whole length.
std::string setFileProblem(std::span<const std::uint8_t> head, std::uintmax_t fileSize);

// A file read to be opened as a set file: the bytes a load would take, and what makes it look
// like something else, so the caller can ask before it loads.
struct SetFileContent {
    Result result; // cannot be read, or too short to load at all ("<path>: not a set file: ...")
    std::vector<std::uint8_t> bytes; // the first 3765 bytes at most
    std::string problem; // "<path>: not a set file: ..."; empty for a set file
};
SetFileContent readSetFile(const std::filesystem::path& path);

// The file's 3765 bytes for the image as it is (the version text is not touched here).
std::array<std::uint8_t, kSetFileSize> encodeSetFile(const RadioImage& image);
// Applies a set file's bytes to the image, with the same rules as loadSetFile; on failure
// ("not a set file: N bytes, a set file has 3765") the image is untouched.
Result decodeSetFile(RadioImage& image, std::span<const std::uint8_t> bytes);

} // namespace kq904
