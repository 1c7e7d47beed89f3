#pragma once
// The Code Function Setting form: the DTMF code functions (PTT ANI, the three selective-calling
// identities, talking time, emergency code and siren). Like the General Setting form it keeps no
// copy: every action writes the radio image at once, and every way of closing keeps the edits.
// It writes no table file; the General Setting form's "OK" carries its fields into setTab.bin.

#include <array>
#include <string>

#include "forms/controls.h"
#include "forms/settings_form_host.h"
#include "model/radio_image.h"

namespace kq904 {

// A five-digit selective-calling identity, one digit per nibble, spread over the general and
// code settings.
enum class Identity { Unit, SubGroup, AllGroup };

// The five digit values of an identity as stored (0-15 each).
std::array<unsigned, 5> identityDigits(const RadioImage& image, Identity identity);
// Stores five digit values (each taken modulo 16), touching no other nibble.
void setIdentityDigits(RadioImage& image, Identity identity, const std::array<unsigned, 5>& digits);

class CodeFunctionForm : public FormEvents {
public:
    CodeFunctionForm(RadioImage& image, Controls& controls, SettingsFormHost& host);

    // Fills the controls from the image; digits a blank radio holds outside 0-9 become 0.
    void open();

    void onClicked(int id) override;
    void onTextChanged(int id) override;
    void onSelectionChanged(int id) override;

private:
    void showIdentity(Identity identity, int id);
    void enableEmergency(bool on);
    void storeText(int id);

    RadioImage& image_;
    Controls& controls_;
    SettingsFormHost& host_;
    int trimming_ = 0; // id of the field being cut back to five characters, 0 if none
};

} // namespace kq904
