// Channel tags and names: the repair of stored bytes when a label is built, and what a typed
// name or tag stores. Input: channel, mode, the channel's seven extra bytes, then typed text.
//  - after a label is built every stored name character is valid, the label shows exactly the
//    stored characters, and building it again changes nothing;
//  - nothing outside the channel's name bytes ever changes;
//  - a typed name stores only valid characters; a typed tag is stored only when it starts with
//    two letters.
#include <algorithm>
#include <string>

#include "fuzz_support.h"
#include "model/channel_label.h"

using namespace kq904;
using namespace kq904::fuzz;

namespace {

char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool nameValid(const RadioImage& image, int channel)
{
    const auto name = image.extras[static_cast<std::size_t>(channel)].range(ChannelExtra::name);
    for (std::size_t i = 0; i < name.size(); ++i)
        if (!isValidNameCharacter(static_cast<char>(name[i]), static_cast<int>(i)))
            return false;
    return true;
}

bool tagValid(const RadioImage& image, int channel)
{
    const auto tag = image.extras[static_cast<std::size_t>(channel)].range(ChannelExtra::tag);
    return std::all_of(tag.begin(), tag.end(),
        [](std::uint8_t c) { return isValidTagCharacter(static_cast<char>(c)); });
}

// The image with the channel's name bytes set to those of `other`: equal to `other` exactly
// when nothing but those bytes differs.
RadioImage withNameOf(RadioImage image, const RadioImage& other, int channel)
{
    const auto n = static_cast<std::size_t>(channel);
    const auto from = other.extras[n].range(ChannelExtra::name);
    std::copy(from.begin(), from.end(), image.extras[n].range(ChannelExtra::name).begin());
    return image;
}

std::string storedName(const RadioImage& image, int channel)
{
    const auto name = image.extras[static_cast<std::size_t>(channel)].range(ChannelExtra::name);
    std::string text;
    for (std::uint8_t b : name) {
        if (b == 0)
            break;
        text += static_cast<char>(b);
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    InputReader input(data, size);
    const int channel = input.byte() % kChannelSlots;
    const bool names = input.byte() & 1;
    RadioImage image = patternedImage();
    image.general.set(GeneralSettings::fiveCharacterNames, names);
    const auto extra = input.bytes(ChannelExtra::size);
    std::copy(
        extra.begin(), extra.end(), image.extras[static_cast<std::size_t>(channel)].bytes.begin());
    const std::string_view typed = input.text(input.left());
    const RadioImage before = image;
    const std::array<char, 5> defaults = defaultChannelName(channel);

    const std::string label = channelLabel(image, channel);
    FUZZ_CHECK(withNameOf(image, before, channel) == before,
        "building a label repairs nothing but the channel's name bytes");
    if (names) {
        FUZZ_CHECK(nameValid(image, channel), "every name character is valid after the repair");
        FUZZ_CHECK(label == storedName(image, channel), "the label is the stored name");
        FUZZ_CHECK(!label.empty() && label.size() <= 5, "a name has one to five characters");
    } else {
        FUZZ_CHECK(tagValid(image, channel), "both tag characters are letters after the repair");
        const auto tag = image.extras[static_cast<std::size_t>(channel)].range(ChannelExtra::tag);
        FUZZ_CHECK(label.size() == 4 && label[0] == static_cast<char>(tag[0])
                && label[1] == static_cast<char>(tag[1]) && label[2] == defaults[2]
                && label[3] == defaults[3],
            "the tag label is the stored tag and the channel number");
    }
    const RadioImage repaired = image;
    FUZZ_CHECK(channelLabel(image, channel) == label && image == repaired,
        "a repaired name needs no second repair");
    if (names ? nameValid(before, channel) : tagValid(before, channel))
        FUZZ_CHECK(image == before, "a valid name is left as it is");

    // A typed name: valid characters only, each typed one kept where it is valid.
    RadioImage named = before;
    storeChannelName(named, channel, typed);
    FUZZ_CHECK(withNameOf(named, before, channel) == before,
        "storing a name changes nothing but the channel's name bytes");
    if (typed.empty()) {
        FUZZ_CHECK(named == before, "an empty name stores nothing");
    } else {
        FUZZ_CHECK(nameValid(named, channel), "a stored name holds only valid characters");
        const auto name = named.extras[static_cast<std::size_t>(channel)].range(ChannelExtra::name);
        for (std::size_t i = 0; i < 5; ++i) {
            const char c = i < typed.size() ? upper(typed[i]) : '\0';
            const char expected = isValidNameCharacter(c, static_cast<int>(i)) ? c : defaults[i];
            FUZZ_CHECK(name[i] == static_cast<std::uint8_t>(expected),
                "each typed character is stored, or the channel's default in its place");
        }
    }

    // A typed tag: stored only when it starts with two letters.
    RadioImage tagged = before;
    const bool stored = storeChannelTag(tagged, channel, typed);
    const bool twoLetters = typed.size() >= 2 && isValidTagCharacter(upper(typed[0]))
        && isValidTagCharacter(upper(typed[1]));
    FUZZ_CHECK(stored == twoLetters, "a tag is stored exactly when it starts with two letters");
    FUZZ_CHECK(withNameOf(tagged, before, channel) == before,
        "storing a tag changes nothing but the channel's name bytes");
    if (stored)
        FUZZ_CHECK(tagValid(tagged, channel), "a stored tag is two letters");
    else
        FUZZ_CHECK(tagged == before, "a refused tag stores nothing");
    return 0;
}
