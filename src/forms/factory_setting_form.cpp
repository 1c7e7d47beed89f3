#include "forms/factory_setting_form.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

#include "forms/factory_setting_ids.h"
#include "forms/radio_text.h"
#include "model/byte_utils.h"

namespace kq904 {

namespace ids = factory_setting_ids;
using GS = GeneralSettings;
using FS = FactorySettings;

namespace {

// The text fields that hold a frequency, and where it is stored.
struct FrequencyField {
    int id;
    FS::LittleEndian value;
};
constexpr FrequencyField kFrequencyFields[] = {
    {ids::ifFrequency, FS::intermediateFrequency},
    {ids::band1Low, FS::band1Low},
    {ids::band1High, FS::band1High},
    {ids::band2Low, FS::band2Low},
    {ids::band2High, FS::band2High},
};

// DTMF on/off list entry of each stored code, and the code of each entry.
constexpr std::array<int, 4> kEntryOfCode = {2, 0, 1, 3};
constexpr std::array<unsigned, 4> kCodeOfEntry = {1, 2, 0, 3};

// The selected entry as a stored code; a list with nothing selected keeps the stored value.
unsigned selectedCode(const Controls& controls, int id, unsigned stored, unsigned mask)
{
    const int index = controls.selectedIndex(id);
    return index < 0 ? stored : static_cast<unsigned>(index) & mask;
}

} // namespace

std::string factoryFrequencyText(std::uint32_t hertz)
{
    // Scaled by a single-precision 1e-6 as the radio's tools always were, so a stored value
    // shows the same fourth decimal it always showed.
    constexpr float kMegahertzPerHertz = 1e-6f;
    const double megahertz = static_cast<double>(hertz) * static_cast<double>(kMegahertzPerHertz);
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(
        buffer.data(), buffer.data() + buffer.size(), megahertz, std::chars_format::fixed, 4);
    std::string text(buffer.data(), result.ptr);
    if (text.size() < 7)
        text.insert(0, 7 - text.size(), ' ');
    return text;
}

std::uint32_t factoryFrequencyFromText(std::string_view text)
{
    constexpr int kFinestFraction = 6; // 0.000001 MHz = 1 Hz
    std::uint32_t value = 0;
    bool fraction = false;
    int fractionDigits = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            value = value * 10u + static_cast<std::uint32_t>(c - '0');
            if (fraction)
                ++fractionDigits;
        } else if (c == '.' || c == ',') { // ',': the decimal point of a comma locale
            fraction = true;
        }
    }
    if (fractionDigits > kFinestFraction)
        return 0;
    std::uint32_t divisor = 1;
    for (int i = 0; i < fractionDigits; ++i)
        divisor *= 10u;
    return (1000000u / divisor) * value;
}

std::string refCounterText(std::uint32_t counter)
{
    std::array<char, 16> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%08x", static_cast<unsigned>(counter));
    return buffer.data();
}

std::uint32_t refCounterFromText(std::string_view text)
{
    return parseHexNumber(text);
}

int dtmfOnOffEntry(unsigned code)
{
    return kEntryOfCode[code & 3u];
}

unsigned dtmfOnOffCode(int entry)
{
    if (entry < 0 || entry >= static_cast<int>(kCodeOfEntry.size()))
        return 0;
    return kCodeOfEntry[static_cast<std::size_t>(entry)];
}

FactorySettingForm::FactorySettingForm(
    RadioImage& image, Controls& controls, SettingsFormHost& host)
    : image_(image)
    , controls_(controls)
    , host_(host)
{ }

void FactorySettingForm::open()
{
    auto& g = image_.general;
    const auto& f = image_.factory;

    controls_.setItems(ids::txPowerDelay, {"10", "20", "30", "40", "50", "60"});
    controls_.setItems(ids::pttIdDelay, {"100", "300", "400", "450"});
    controls_.setItems(ids::dtmfOnOffTime, {"25", "33", "50", "66"});

    for (const auto& field : kFrequencyFields)
        controls_.setText(field.id, factoryFrequencyText(f.get(field.value)));

    const bool txInvert = f.get(FS::dcsTxInverted);
    controls_.setChecked(ids::dcsTxInvert, txInvert);
    controls_.setChecked(ids::dcsTxNormal, !txInvert);
    const bool rxInvert = f.get(FS::dcsRxInverted);
    controls_.setChecked(ids::dcsRxInvert, rxInvert);
    controls_.setChecked(ids::dcsRxNormal, !rxInvert);
    const bool up = f.get(FS::oscillatorAbove);
    controls_.setChecked(ids::rxUp, up);
    controls_.setChecked(ids::rxDown, !up);

    controls_.setText(ids::refCounter6250, refCounterText(f.get(FS::refCounter6250)));
    controls_.setText(ids::refCounter5000, refCounterText(f.get(FS::refCounter5000)));

    // Without its feature the power delay is shown, kept, and stored again unchanged at "OK".
    controls_.setSelectedIndex(ids::txPowerDelay, static_cast<int>(g.get(GS::powerDelay)));
    if (!image_.hasFeature(FeatureFlags::powerDelaySetting))
        controls_.setEnabled(ids::txPowerDelay, false);

    // Switched-off features are cleared in the image at once, even if the form is then closed
    // without "OK", as the listing does before every draw.
    if (!image_.hasFeature(FeatureFlags::aniVersion)) {
        g.set(GS::dtmfVersion, false);
        controls_.setEnabled(ids::dtmfVersion, false);
    }
    controls_.setChecked(ids::dtmfVersion, g.get(GS::dtmfVersion));
    if (!g.get(GS::dtmfVersion)) {
        controls_.setChecked(ids::dtmfRxAnyTime, false);
        g.set(GS::dtmfReceiveAnyTime, false);
        enableDtmfOptions(false);
    }
    controls_.setChecked(ids::dtmfRxAnyTime, g.get(GS::dtmfReceiveAnyTime));

    // The greeting ends early at a zero byte.
    const auto greeting = g.range(GS::welcomeGreeting);
    const auto end = std::find(greeting.begin(), greeting.end(), std::uint8_t{0});
    controls_.setText(ids::welcomeGreeting, utf8FromRadioText(std::string(greeting.begin(), end)));

    controls_.setSelectedIndex(ids::pttIdDelay, static_cast<int>(g.get(GS::pttIdDelay)));
    controls_.setSelectedIndex(ids::dtmfOnOffTime, dtmfOnOffEntry(g.get(GS::dtmfOnOffTime)));

    if (!image_.hasFeature(FeatureFlags::channelName)) {
        controls_.setEnabled(ids::channelNameTag, false);
        g.set(GS::fiveCharacterNames, false);
    }
    controls_.setChecked(ids::channelNameTag, g.get(GS::fiveCharacterNames));
}

// The DTMF options only exist on radios with the DTMF version.
void FactorySettingForm::enableDtmfOptions(bool on)
{
    for (int id : {ids::dtmfRxAnyTime, ids::pttIdDelay, ids::pttIdDelayGroup, ids::pttIdDelayUnit,
             ids::dtmfOnOffTime, ids::dtmfOnOffGroup, ids::dtmfOnOffUnit})
        controls_.setEnabled(id, on);
}

void FactorySettingForm::onClicked(int id)
{
    if (id == ids::dtmfVersion) {
        const bool on = controls_.checked(ids::dtmfVersion);
        if (!on)
            controls_.setChecked(ids::dtmfRxAnyTime, false);
        enableDtmfOptions(on);
    } else if (id == ids::ok) {
        confirm();
        host_.endForm(FormEnd::Accepted);
        host_.sendRefresh();
    }
}

// Every field is converted back from its text, changed or not.
void FactorySettingForm::store()
{
    auto& g = image_.general;
    auto& f = image_.factory;

    // Only as many greeting bytes as typed characters (at most five) are replaced.
    const std::string greeting = radioTextFromUtf8(controls_.text(ids::welcomeGreeting));
    auto greetingBytes = g.range(GS::welcomeGreeting);
    const std::size_t n = std::min(greeting.size(), greetingBytes.size());
    std::copy_n(greeting.begin(), n, greetingBytes.begin());

    for (const auto& field : kFrequencyFields)
        f.set(field.value, factoryFrequencyFromText(controls_.text(field.id)));
    f.set(FS::refCounter6250, refCounterFromText(controls_.text(ids::refCounter6250)));
    f.set(FS::refCounter5000, refCounterFromText(controls_.text(ids::refCounter5000)));

    const bool txInvert = controls_.checked(ids::dcsTxInvert);
    f.set(FS::dcsTxInverted, txInvert);
    g.set(GS::dcsTxInverted, txInvert);
    const bool rxInvert = controls_.checked(ids::dcsRxInvert);
    f.set(FS::dcsRxInverted, rxInvert);
    g.set(GS::dcsRxInverted, rxInvert);

    // The radio takes the low three bytes of each counter in its general settings; bit 15 of
    // the 5 kHz counter thereby becomes the prescaler flag.
    std::copy_n(f.range(FS::ByteRange{FS::refCounter5000.offset, 3}).begin(), 3,
        g.range(GS::refCounter5000).begin());
    std::copy_n(f.range(FS::ByteRange{FS::refCounter6250.offset, 3}).begin(), 3,
        g.range(GS::refCounter6250).begin());

    f.set(FS::oscillatorAbove, controls_.checked(ids::rxUp));

    g.set(GS::dtmfVersion, controls_.checked(ids::dtmfVersion));
    g.set(GS::dtmfReceiveAnyTime, controls_.checked(ids::dtmfRxAnyTime));

    // Disabled lists are stored as they show, so their codes survive switching DTMF off.
    g.set(GS::powerDelay, selectedCode(controls_, ids::txPowerDelay, g.get(GS::powerDelay), 7u));
    g.set(GS::pttIdDelay, selectedCode(controls_, ids::pttIdDelay, g.get(GS::pttIdDelay), 3u));
    g.set(GS::dtmfOnOffTime, dtmfOnOffCode(controls_.selectedIndex(ids::dtmfOnOffTime)));

    g.set(GS::fiveCharacterNames, controls_.checked(ids::channelNameTag));
}

void FactorySettingForm::confirm()
{
    store();
    host_.writeTableFile(TableFile::Factory);
    host_.writeTableFile(TableFile::Set);
}

// Enter does what "OK" does; Escape and the close box discard the edits.
FormEnd FactorySettingForm::onClose(CloseRoute route)
{
    if (route == CloseRoute::EnterKey || route == CloseRoute::OkButton) {
        confirm();
        host_.sendRefresh();
        return FormEnd::Accepted;
    }
    return FormEnd::Rejected;
}

} // namespace kq904
