#pragma once
// The Factory Setting form: the alignment and model values a technician sets once per radio
// (IF and its side, the two reference counters, DCS polarity, the two modulation-level bands,
// transmit power delay, the DTMF options, channel-name tag, welcome greeting). It edits only its
// controls while open, apart from clearing the options whose features are switched off. "OK"
// stores every control into the image, writes factoryTab.bin and setTab.bin, closes the form and
// has the listing redrawn; any other way of closing discards the edits.

#include <cstdint>
#include <string>
#include <string_view>

#include "forms/controls.h"
#include "forms/settings_form_host.h"
#include "model/radio_image.h"

namespace kq904 {

// The IF and band edges as the form shows them: MHz with four decimals ("21.4000"), at least
// seven characters wide. Always a '.', whatever the user's locale.
std::string factoryFrequencyText(std::uint32_t hertz);
// Reads a frequency typed in MHz: digits accumulate (wrapping at 32 bits), the first '.' (or
// ',', as a comma locale's user types it) starts the fraction, every other character is skipped. A
// fraction finer than 1 Hz (seven or more digits after the point) gives 0.
std::uint32_t factoryFrequencyFromText(std::string_view text);

// A reference counter as eight lower-case hexadecimal digits ("00001a2b").
std::string refCounterText(std::uint32_t counter);
// Hexadecimal digits of any case; other characters are skipped; only the last eight count.
std::uint32_t refCounterFromText(std::string_view text);

// The DTMF on/off time list ("25", "33", "50", "66" ms) against the stored code (50 ms is 0).
int dtmfOnOffEntry(unsigned code);
unsigned dtmfOnOffCode(int entry); // no selection (-1) gives 0

class FactorySettingForm : public FormEvents {
public:
    FactorySettingForm(RadioImage& image, Controls& controls, SettingsFormHost& host);

    void open();

    void onClicked(int id) override;
    FormEnd onClose(CloseRoute route) override;

private:
    void enableDtmfOptions(bool on);
    void store();
    void confirm();

    RadioImage& image_;
    Controls& controls_;
    SettingsFormHost& host_;
};

} // namespace kq904
