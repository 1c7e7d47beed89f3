#pragma once
// Changes to the list of channels in use that the listing makes on several channels at once:
// deleting the selected channels and moving them one place. Both keep what the Channel Setting
// form's Channel Del. keeps: a channel is its record and its extra, which travel together, and
// the slots freed above the last channel keep their old bytes.

#include <span>

#include "radio_image.h"
#include "result.h"

namespace kq904 {

// Deletes the channels (0-based, in any order, duplicates ignored): the channels above them
// close up and the channel count drops by their number. The radio keeps at least one channel,
// so naming every channel in use fails and changes nothing, as does a channel past the last.
Result deleteChannels(RadioImage& image, std::span<const int> channels);

enum class ChannelMove { Up, Down };

// Moves the channels one place towards channel 1 (Up) or the last channel (Down): each changes
// places with the channel next to it that is not moving. Fails, changing nothing, when one of
// them already stands at that end or lies past the last channel.
Result moveChannels(RadioImage& image, std::span<const int> channels, ChannelMove move);

} // namespace kq904
