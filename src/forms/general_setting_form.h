#pragma once
// The General Setting form: radio-wide settings (power-on states, power save, keypad lock and
// the keys left usable under it, priority and home channels, battery warning, shunting and the
// power-on password). It keeps no copy: every action writes the radio image at once and then
// enforces the dependencies between the settings. "OK" also writes setTab.bin; any other way of
// closing keeps the edits in the image and leaves the file alone.

#include "forms/controls.h"
#include "forms/settings_form_host.h"
#include "model/radio_image.h"

namespace kq904 {

class GeneralSettingForm : public FormEvents {
public:
    GeneralSettingForm(RadioImage& image, Controls& controls, SettingsFormHost& host);

    // Fills the controls from the image, clearing what the switched-off features may not keep
    // and a home channel past the channel count.
    void open();

    void onClicked(int id) override;
    void onTextChanged(int id) override;
    void onSelectionChanged(int id) override;
    FormEnd onClose(CloseRoute route) override;

private:
    void refresh();
    void readBack();
    void showKeypadLock();
    void stepPriority(int delta);
    void stepHome(int delta);
    void storePassword();
    void confirm();

    RadioImage& image_;
    Controls& controls_;
    SettingsFormHost& host_;
    bool trimmingPassword_ = false;
};

} // namespace kq904
