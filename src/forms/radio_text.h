#pragma once
// The radio keeps one byte per character (the Latin-1 set); the controls of a form speak UTF-8.
// These convert between the two, so a byte a blank radio holds (0xFF) survives being shown and
// stored back, and a typed character outside the set becomes one byte instead of several.

#include <string>
#include <string_view>

namespace kq904 {

// Each character of the UTF-8 text as one byte; characters beyond Latin-1 and broken sequences
// become '?'.
std::string radioTextFromUtf8(std::string_view utf8);
// Each byte as its Latin-1 character in UTF-8.
std::string utf8FromRadioText(std::string_view bytes);

} // namespace kq904
