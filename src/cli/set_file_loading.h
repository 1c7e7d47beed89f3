#pragma once
// How every command that takes a set file loads it.

#include <string>

#include "cli/cli_app.h"
#include "model/radio_image.h"

namespace kq904::cli {

// Loads the set file into the image. A file that does not look like a set file (wrong size,
// filler that is not '0') is loaded all the same, as scripts have always relied on, but with
// one warning line on stderr naming the file and what is wrong. Returns false, with the reason
// on stderr, when the file cannot be loaded at all.
bool loadSetFileWithWarning(RadioImage& image, const std::string& path, CommandStreams streams);

} // namespace kq904::cli
