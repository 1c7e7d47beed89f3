#pragma once
// Frequencies as the radio's dual-modulus synthesizer stores them: step S (5000 or 6250 Hz),
// program count B and swallow count A under the global prescaler modulus P (64 or 128):
// F = S * (B * P + A). The receive half stores the local-oscillator frequency, the IF away from
// the receive frequency the user sees.

#include <cstdint>
#include <string>
#include <string_view>

#include "radio_image.h"

namespace kq904 {

enum class Half { Receive, Transmit };

unsigned prescalerModulus(const RadioImage& image); // 64 or 128

// Synthesizer frequency of one half, in Hz, from the stored bytes as they are.
std::uint32_t decodeHalf(const RadioImage& image, int channel, Half half);
// Stores a synthesizer frequency into one half; leaves spacing, monitor, crystal-shift and
// sub-tone bits as they are.
void encodeHalf(RadioImage& image, int channel, Half half, std::uint32_t hertz);

std::uint32_t transmitFrequency(const RadioImage& image, int channel);
// The receive frequency as the user sees it (IF applied).
std::uint32_t receiveFrequency(const RadioImage& image, int channel);
void setTransmitFrequency(RadioImage& image, int channel, std::uint32_t hertz);
void setReceiveFrequency(RadioImage& image, int channel, std::uint32_t hertz);

// "145.125" -> 145125000 Hz. More than six decimals give 0 Hz.
std::uint32_t parseMegahertz(std::string_view text);
// 145125000 -> "145.12500": five decimals, at least eight characters (values below 100 MHz get a
// leading space), always with a '.' whatever the locale.
std::string formatMegahertz(std::uint32_t hertz);

// True when f lies in band 1 or band 2 of the factory settings, edges included.
bool inBand(const RadioImage& image, std::uint32_t hertz);
// Recomputes the channel's two in-band bits, as programming does before sending the record.
void updateBandBits(RadioImage& image, int channel);
// Recomputes the IfCounters block from the factory IF and the prescaler modulus.
void computeIfCounters(RadioImage& image);

} // namespace kq904
