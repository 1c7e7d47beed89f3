#pragma once
// The feature-flag file "kq904.ini": keywords anywhere in its first 200 bytes switch optional
// functions on.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include "radio_image.h"

namespace kq904 {

inline constexpr const char* kFeatureFileName = "kq904.ini";

// The radio tools' keyword search: true when a word of the buffer (a run of bytes between
// separators, 0x00-0x20 and 0x80-0xFF) begins with the keyword. Lowers 'A'-'Z' in the
// buffer as it goes, as the later searches rely on.
bool findKeyword(std::span<char> buffer, std::string_view keyword);

// Reads <dataDir>/kq904.ini, sets the six feature bits of the image and returns true when the
// keyword "factory" is present. A missing file leaves featureFlags unchanged and returns false.
bool readFeatureFlags(RadioImage& image, const std::filesystem::path& dataDir);

} // namespace kq904
