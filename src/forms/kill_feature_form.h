#pragma once
// The Kill Feature form: remote disabling of the radio (the kill flag, the ten-digit Kill ID,
// revive over the air and the Revive ID). Unlike the General and Code Function forms it edits
// only its controls while open: "OK" stores them into the image and brings killTab.bin up to
// date; "Cancel", Escape and the close box discard the edits.

#include <span>
#include <string>
#include <string_view>

#include "forms/controls.h"
#include "forms/settings_form_host.h"
#include "model/radio_image.h"

namespace kq904 {

// Ten digits packed two per byte, first digit in the high nibble, as upper-case hexadecimal
// text: a blank radio's 0xFF bytes read "FFFFFFFFFF".
std::string killIdText(std::span<const std::uint8_t, 5> bytes);
// Packs up to ten digits ('0'-'9', 'A'-'F', 'a'-'f') into five bytes. The first other character
// or the end of the text ends the digits; every later nibble is 0.
void packKillId(std::string_view text, std::span<std::uint8_t, 5> bytes);

class KillFeatureForm : public FormEvents {
public:
    KillFeatureForm(RadioImage& image, Controls& controls, SettingsFormHost& host);

    void open();

    void onClicked(int id) override;
    FormEnd onClose(CloseRoute route) override;

private:
    void applyEnabling();
    void store();

    RadioImage& image_;
    Controls& controls_;
    SettingsFormHost& host_;
};

} // namespace kq904
