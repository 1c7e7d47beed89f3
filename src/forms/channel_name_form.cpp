#include "channel_name_form.h"

#include <algorithm>
#include <string>

#include "channel_name_ids.h"
#include "model/channel_label.h"

namespace kq904 {

namespace ids = channel_name_ids;

namespace {

// One byte per character of a UTF-8 text: a character outside ASCII becomes '?', which no name
// admits, so it takes the default character of its position instead of shifting the others.
std::string oneBytePerCharacter(const std::string& utf8)
{
    std::string result;
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            result += c;
        else if ((byte & 0xC0) != 0x80) // the lead byte of a multi-byte character
            result += '?';
    }
    return result;
}

} // namespace

ChannelNameForm::ChannelNameForm(RadioImage& image, Controls& controls, int channel)
    : image_(image)
    , controls_(controls)
    , channel_(std::clamp(channel, 0, kChannelSlots - 1))
{ }

void ChannelNameForm::open()
{
    if (image_.fiveCharacterNames()) {
        controls_.setText(ids::hint, "(Max. 5 Digits)");
        controls_.setText(ids::name, channelNameLabel(image_, channel_));
    } else {
        controls_.setText(ids::hint, "(2-Digit)");
        controls_.setText(ids::name, channelTagLabel(image_, channel_).substr(0, 2));
    }
}

FormEnd ChannelNameForm::onClose(CloseRoute route)
{
    if (route != CloseRoute::OkButton && route != CloseRoute::EnterKey)
        return FormEnd::Rejected;
    storeTypedText();
    return FormEnd::Accepted;
}

void ChannelNameForm::storeTypedText()
{
    const std::string text = oneBytePerCharacter(controls_.text(ids::name));
    if (image_.fiveCharacterNames())
        storeChannelName(image_, channel_, text);
    else
        storeChannelTag(image_, channel_, text);
}

} // namespace kq904
