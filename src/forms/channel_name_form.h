#pragma once
// The Channel Name form's logic: edits the name (five characters) or the two-letter tag of one
// channel, depending on whether the radio uses five-character names. Invalid characters are
// replaced by the channel's default "CHnn" characters, never reported.

#include "forms/controls.h"
#include "model/radio_image.h"

namespace kq904 {

class ChannelNameForm : public FormEvents {
public:
    ChannelNameForm(RadioImage& image, Controls& controls, int channel);

    // Shows the hint and the current name or tag; building the label repairs the stored name.
    void open();

    // OK and Enter store the typed text; Cancel, Escape and the close box change nothing.
    FormEnd onClose(CloseRoute route) override;

private:
    void storeTypedText();

    RadioImage& image_;
    Controls& controls_;
    int channel_;
};

} // namespace kq904
