#pragma once
// A believable dealer configuration: 20 VHF channels with names, sub-tones, PTT codes and
// selective calling, DTMF version and five-character names on and allowed by the feature flags.
// The screenshots show it; tests and benchmarks use it (and its 99-channel variant) as a full
// listing.

#include "model/radio_image.h"

namespace kq904 {

// `channels` channels (1-99) in the sample's pattern; the default is the screenshots' 20.
RadioImage sampleConfiguration(int channels = 20);

} // namespace kq904
