#include "channel_label.h"

#include <cstddef>
#include <span>

namespace kq904 {

namespace {

constexpr bool isUpperLetter(char c)
{
    return c >= 'A' && c <= 'Z';
}

constexpr bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

constexpr char toUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::span<std::uint8_t> nameBytes(RadioImage& image, int channel)
{
    return image.extras[static_cast<std::size_t>(channel)].range(ChannelExtra::name);
}

} // namespace

std::array<char, 5> defaultChannelName(int channel)
{
    const int number = channel + 1;
    return {'C', 'H', static_cast<char>('0' + number / 10 % 10),
        static_cast<char>('0' + number % 10), '\0'};
}

bool isValidNameCharacter(char c, int position)
{
    return isUpperLetter(c) || isDigit(c) || (c == '\0' && position > 0);
}

bool isValidTagCharacter(char c)
{
    return isUpperLetter(c);
}

std::string channelTagLabel(RadioImage& image, int channel)
{
    std::array<char, 5> label = defaultChannelName(channel);
    auto stored = nameBytes(image, channel);
    for (std::size_t i = 0; i < 2; ++i) {
        const char c = static_cast<char>(stored[i]);
        if (isValidTagCharacter(c))
            label[i] = c;
        else
            stored[i] = static_cast<std::uint8_t>(label[i]);
    }
    return std::string(label.data(), 4);
}

std::string channelNameLabel(RadioImage& image, int channel)
{
    std::array<char, 6> label{};
    const auto defaults = defaultChannelName(channel);
    std::copy(defaults.begin(), defaults.end(), label.begin());
    auto stored = nameBytes(image, channel);
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const char c = static_cast<char>(stored[i]);
        if (isValidNameCharacter(c, static_cast<int>(i)))
            label[i] = c;
        else
            stored[i] = static_cast<std::uint8_t>(label[i]);
    }
    return std::string(label.data());
}

std::string channelLabel(RadioImage& image, int channel)
{
    return image.fiveCharacterNames() ? channelNameLabel(image, channel)
                                      : channelTagLabel(image, channel);
}

void storeChannelName(RadioImage& image, int channel, std::string_view text)
{
    if (text.empty())
        return;
    std::array<char, 5> typed{};
    for (std::size_t i = 0; i < typed.size() && i < text.size(); ++i)
        typed[i] = toUpper(text[i]);
    const auto defaults = defaultChannelName(channel);
    auto stored = nameBytes(image, channel);
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const char c = isValidNameCharacter(typed[i], static_cast<int>(i)) ? typed[i] : defaults[i];
        stored[i] = static_cast<std::uint8_t>(c);
    }
}

bool storeChannelTag(RadioImage& image, int channel, std::string_view text)
{
    if (text.size() < 2)
        return false;
    const char first = toUpper(text[0]);
    const char second = toUpper(text[1]);
    if (!isValidTagCharacter(first) || !isValidTagCharacter(second))
        return false;
    auto stored = nameBytes(image, channel);
    stored[0] = static_cast<std::uint8_t>(first);
    stored[1] = static_cast<std::uint8_t>(second);
    return true;
}

} // namespace kq904
