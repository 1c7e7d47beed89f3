#pragma once
// The label a channel is known by: its two-letter tag followed by its number (AB07), or its
// five-character name when the radio uses names (GeneralSettings byte 23 bit 2). Building a
// label repairs the stored bytes: every invalid character is replaced in the ChannelExtra record
// by the character at the same position of the channel's default text "CHnn".

#include <array>
#include <string>
#include <string_view>

#include "radio_image.h"

namespace kq904 {

// 'C', 'H', tens digit, units digit, NUL for channel index 0-98 (channel 1-99).
std::array<char, 5> defaultChannelName(int channel);

// A name character is 'A'-'Z' or '0'-'9'; from the second position (index 1) on, NUL ends the
// name and is valid too.
bool isValidNameCharacter(char c, int position);
// A tag character is 'A'-'Z'.
bool isValidTagCharacter(char c);

// The tag label, always four characters ("CH07", "AB07"); repairs ChannelExtra bytes 2-3.
std::string channelTagLabel(RadioImage& image, int channel);
// The name up to its first NUL (at most five characters); repairs ChannelExtra bytes 2-6.
std::string channelNameLabel(RadioImage& image, int channel);
// The label in the radio's current mode: the name when five-character names are on, else the
// tag label.
std::string channelLabel(RadioImage& image, int channel);

// Stores a name typed by the user: upper-cased, the first five characters; each invalid
// position takes the default character of the channel. Empty text changes nothing.
void storeChannelName(RadioImage& image, int channel, std::string_view text);
// Stores a typed tag when its first two characters are letters (either case); any other text
// changes nothing. Returns whether the tag was stored.
bool storeChannelTag(RadioImage& image, int channel, std::string_view text);

} // namespace kq904
