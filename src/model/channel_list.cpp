#include "channel_list.h"

#include <array>
#include <string>
#include <utility>

namespace kq904 {

namespace {

using ChannelMarks = std::array<bool, kChannelSlots>;

// The channels as marks; false when one of them is not a channel in use.
bool markChannels(const RadioImage& image, std::span<const int> channels, ChannelMarks& marks)
{
    marks.fill(false);
    for (const int channel : channels) {
        if (channel < 0 || channel >= image.channelCount())
            return false;
        marks[static_cast<std::size_t>(channel)] = true;
    }
    return true;
}

std::string pastTheLastChannel(const RadioImage& image)
{
    return "only channels 1-" + std::to_string(image.channelCount()) + " are in use";
}

void swapChannels(RadioImage& image, std::size_t a, std::size_t b)
{
    std::swap(image.channels[a], image.channels[b]);
    std::swap(image.extras[a], image.extras[b]);
}

} // namespace

Result deleteChannels(RadioImage& image, std::span<const int> channels)
{
    ChannelMarks doomed;
    if (!markChannels(image, channels, doomed))
        return Result::failure(pastTheLastChannel(image));
    const int count = image.channelCount();
    int deleted = 0;
    for (const bool mark : doomed)
        deleted += mark ? 1 : 0;
    if (deleted == count)
        return Result::failure("the radio keeps at least one channel");
    if (deleted == 0)
        return Result::success();
    // Every slot that stays moves down past the deleted ones, as Channel Del. moves the slots up
    // to the last; the slots freed at the top keep their old bytes.
    std::size_t to = 0;
    for (std::size_t from = 0; from < kChannelSlots; ++from) {
        if (doomed[from])
            continue;
        if (to != from) {
            image.channels[to] = image.channels[from];
            image.extras[to] = image.extras[from];
        }
        ++to;
    }
    image.setChannelCount(count - deleted);
    return Result::success();
}

Result moveChannels(RadioImage& image, std::span<const int> channels, ChannelMove move)
{
    ChannelMarks moving;
    if (!markChannels(image, channels, moving))
        return Result::failure(pastTheLastChannel(image));
    const int count = image.channelCount();
    const bool up = move == ChannelMove::Up;
    const int end = up ? 0 : count - 1;
    if (moving[static_cast<std::size_t>(end)])
        return Result::failure(up ? "channel 1 cannot move further up"
                                  : "channel " + std::to_string(count)
                    + " is the last channel in use and cannot move further "
                      "down");
    // Walking from the end the channels move towards, each moving channel changes places with
    // the one before it, which never moves: a run of selected channels moves as one.
    if (up) {
        for (int channel = 1; channel < count; ++channel) {
            if (moving[static_cast<std::size_t>(channel)])
                swapChannels(image, static_cast<std::size_t>(channel - 1),
                    static_cast<std::size_t>(channel));
        }
    } else {
        for (int channel = count - 2; channel >= 0; --channel) {
            if (moving[static_cast<std::size_t>(channel)])
                swapChannels(image, static_cast<std::size_t>(channel),
                    static_cast<std::size_t>(channel + 1));
        }
    }
    return Result::success();
}

} // namespace kq904
