#pragma once
// Random radios for the soak: an image and an EEPROM of random bytes with channel counts from 0
// to 120, frequencies that fall inside, outside and on the edges of the factory bands, and line
// noise that the receiver can skip.

#include <cstdint>
#include <vector>

#include "soak/soak_random.h"
#include "soak/transfer_oracle.h"

namespace kq904::soak {

// `shortTransfers`: most counts from 0 to 12, for sessions that run in real time.
RadioImage randomImage(SoakRandom& r, bool shortTransfers);
Eeprom randomEeprom(SoakRandom& r, bool shortTransfers);
// Never three '<' in a row and never a '<' at the end, so the noise cannot swallow the preamble
// of the reply behind it.
std::vector<std::uint8_t> randomNoise(SoakRandom& r);

} // namespace kq904::soak
