#pragma once
// A believable dealer configuration for a first run, the screenshots, tests and benchmarks: 24
// channels across the VHF and UHF bands with names, sub-tones, power, lock-outs, PTT codes and
// selective calling; factory values (IF, reference counters, both band limits) that make the
// band check and the listing meaningful; every optional function on.

#include <filesystem>

#include "model/radio_image.h"
#include "model/result.h"

namespace kq904 {

// `channels` channels (1-99): the first ones of the 24 sample channels, or beyond 24 the same
// pattern again 25 kHz higher. The default is the screenshots' 20.
RadioImage sampleConfiguration(int channels = 20);

// Creates the data directory, which must not exist yet, holding the sample's 24 channels as
// the four table files and a kq904.ini that switches every optional function on. The files
// are the normal ones: the program then starts on them as on any data directory. On failure
// nothing is left behind and the reason names the directory.
Result createSampleDataDir(const std::filesystem::path& dataDir);

} // namespace kq904
