#pragma once
// The whole listing as plain text, one line per row, drawn on a character grid: what the
// command line prints.

#include <string>

#include "model/radio_image.h"

namespace kq904 {

// Screen rows 0 to channelCount + 2: the header, then one line per channel.
std::string screenListingText(RadioImage& image);
// The printed layout without page breaks: rows 0 to channelCount + 19.
std::string printedListingText(RadioImage& image);

} // namespace kq904
