#include "forms/general_setting_form.h"

#include <string>
#include <vector>

#include "forms/general_setting_ids.h"
#include "forms/radio_text.h"

namespace kq904 {

namespace ids = general_setting_ids;
using GS = GeneralSettings;

namespace {

constexpr std::size_t kPasswordLength = 4;

// The ticks whose click runs the read-back, and the bits they hold.
struct TickBit {
    int id;
    GS::Bit bit;
};
constexpr TickBit kReadBackTicks[] = {
    {ids::toneSettingByUser, GS::toneSettingByUser},
    {ids::prioritySettingByUser, GS::prioritySettingByUser},
    {ids::priorityMode, GS::priorityMode},
    {ids::keyLocked, GS::keysLocked},
    {ids::keyBeep, GS::keyBeep},
    {ids::powerSave, GS::powerSave},
};

// The keys that stay usable under the keypad lock with user access.
constexpr TickBit kUserKeys[] = {
    {ids::upDownKeys, GS::userKeyUpDown},
    {ids::modeKey, GS::userKeyMode},
    {ids::scanKey, GS::userKeyScan},
    {ids::entKey, GS::userKeyEnt},
};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

GeneralSettingForm::GeneralSettingForm(
    RadioImage& image, Controls& controls, SettingsFormHost& host)
    : image_(image)
    , controls_(controls)
    , host_(host)
{ }

void GeneralSettingForm::open()
{
    auto& g = image_.general;
    // A radio with the code functions has no 1:3 power-save ratio.
    if (image_.dtmfVersion())
        controls_.setItems(ids::powerSaveRatio, {"1:1", "1:2"});
    else
        controls_.setItems(ids::powerSaveRatio, {"1:1", "1:2", "1:3"});
    if (!image_.dtmfVersion())
        controls_.setEnabled(ids::codeFunction, false);
    if (!image_.hasFeature(FeatureFlags::powerOnPassword)) {
        controls_.setEnabled(ids::passwordEnable, false);
        g.set(GS::powerOnPassword, false);
    }
    if (!image_.hasFeature(FeatureFlags::shuntingRadio)) {
        controls_.setEnabled(ids::shuntingRadio, false);
        g.set(GS::shuntingRadio, false);
    }
    // A home channel past the last channel falls back to channel 1; the priority channel is
    // shown as it is and can only be stepped down into range.
    if (image_.code.get(CodeSettings::homeChannel)
        > static_cast<unsigned>(image_.channelCount() - 1))
        image_.code.set(CodeSettings::homeChannel, 0);
    refresh();
}

// Shows the image and enforces the rules between the settings. Shunting needs the priority
// function disabled, and priority mode is meaningless without it.
void GeneralSettingForm::refresh()
{
    auto& g = image_.general;
    if (g.get(GS::shuntingRadio)) {
        g.set(GS::priorityFunctionDisabled, true);
        controls_.setEnabled(ids::priorityDisable, false);
        controls_.setEnabled(ids::priorityMode, false);
        g.set(GS::priorityMode, false);
        controls_.setChecked(ids::priorityMode, false);
    } else {
        controls_.setEnabled(ids::priorityDisable, true);
    }

    controls_.setChecked(ids::keyBeep, g.get(GS::keyBeep));
    controls_.setChecked(ids::keyLocked, g.get(GS::keysLocked));
    controls_.setChecked(ids::priorityDisable, g.get(GS::priorityFunctionDisabled));

    if (g.get(GS::priorityFunctionDisabled)) {
        controls_.setEnabled(ids::priorityMode, false);
        g.set(GS::priorityMode, false);
        controls_.setChecked(ids::priorityMode, false);
        if (image_.hasFeature(FeatureFlags::shuntingRadio))
            controls_.setEnabled(ids::shuntingRadio, true);
    } else {
        controls_.setEnabled(ids::priorityMode, true);
        g.set(GS::shuntingRadio, false);
        controls_.setEnabled(ids::shuntingRadio, false);
    }

    controls_.setChecked(ids::priorityMode, g.get(GS::priorityMode));
    controls_.setText(ids::priorityChannel, std::to_string(g.get(GS::priorityChannel) + 1));

    controls_.setChecked(ids::toneSettingByUser, g.get(GS::toneSettingByUser));
    controls_.setChecked(ids::prioritySettingByUser, g.get(GS::prioritySettingByUser));
    controls_.setChecked(ids::powerSave, g.get(GS::powerSave));

    const unsigned ratio = g.get(GS::powerSaveRatio);
    if (image_.dtmfVersion() && ratio >= 2)
        g.set(GS::powerSaveRatio, 1);
    // A stored ratio with no list entry (1:4) selects nothing and is kept until one is picked.
    const int index = static_cast<int>(g.get(GS::powerSaveRatio));
    const int entries = static_cast<int>(controls_.items(ids::powerSaveRatio).size());
    controls_.setSelectedIndex(ids::powerSaveRatio, index < entries ? index : -1);
    controls_.setEnabled(ids::powerSaveRatio, g.get(GS::powerSave));

    showKeypadLock();

    controls_.setChecked(ids::batteryLowWarning, g.get(GS::batteryLowWarning));
    controls_.setText(
        ids::homeChannel, std::to_string(image_.code.get(CodeSettings::homeChannel) + 1));

    const bool homeDisabled = g.get(GS::homeChannelDisabled);
    controls_.setChecked(ids::homeChannelDisable, homeDisabled);
    controls_.setEnabled(ids::homeDown, !homeDisabled);
    controls_.setEnabled(ids::homeUp, !homeDisabled);
    controls_.setEnabled(ids::homeChannel, !homeDisabled);

    controls_.setChecked(ids::shuntingRadio, g.get(GS::shuntingRadio));
    controls_.setChecked(ids::passwordEnable, g.get(GS::powerOnPassword));
    controls_.setEnabled(ids::password, g.get(GS::powerOnPassword));

    // A blank radio holds 0xFF here: every digit outside 0-9 becomes 0 in the image.
    std::string digits;
    for (auto& digit : image_.id.range(IdSettings::password)) {
        if (digit > 9)
            digit = 0;
        digits += static_cast<char>('0' + digit);
    }
    controls_.setText(ids::password, digits);
}

// The keypad lock without user access rules out the one with user access; the usable keys only
// mean something under the latter.
void GeneralSettingForm::showKeypadLock()
{
    auto& g = image_.general;
    const bool noUserAccess = g.get(GS::keypadLockNoUserAccess);
    controls_.setChecked(ids::keypadLockNoUserAccess, noUserAccess);
    if (noUserAccess)
        g.set(GS::keypadLockUserAccess, false);
    controls_.setEnabled(ids::keypadLockUserAccess, !noUserAccess);
    controls_.setChecked(ids::keypadLockUserAccess, g.get(GS::keypadLockUserAccess));

    const bool userAccess = g.get(GS::keypadLockUserAccess);
    for (const auto& key : kUserKeys) {
        controls_.setChecked(key.id, g.get(key.bit));
        controls_.setEnabled(key.id, userAccess);
    }
}

// Stores the ticks and the power-save list after one of them changed.
void GeneralSettingForm::readBack()
{
    auto& g = image_.general;
    g[GS::fixedBytes.offset + 3] = 0; // byte 11 is fixed at 0 for the radio

    for (const auto& tick : kReadBackTicks)
        g.set(tick.bit, controls_.checked(tick.id));
    controls_.setEnabled(ids::powerSaveRatio, controls_.checked(ids::powerSave));

    // With no entry selected the index reads as all ones, so a stored 1:4 (3) survives.
    const int index = controls_.selectedIndex(ids::powerSaveRatio);
    g.set(GS::powerSaveRatio, static_cast<unsigned>(index) & 3u);

    const bool noUserAccess = controls_.checked(ids::keypadLockNoUserAccess);
    g.set(GS::keypadLockNoUserAccess, noUserAccess);
    if (noUserAccess) {
        g.set(GS::keypadLockUserAccess, false);
        controls_.setChecked(ids::keypadLockUserAccess, false);
        controls_.setEnabled(ids::keypadLockUserAccess, false);
    } else {
        controls_.setEnabled(ids::keypadLockUserAccess, true);
    }

    const bool userAccess = g.get(GS::keypadLockUserAccess);
    for (const auto& key : kUserKeys)
        controls_.setEnabled(key.id, userAccess);
}

void GeneralSettingForm::onClicked(int id)
{
    auto& g = image_.general;
    for (const auto& tick : kReadBackTicks) {
        if (tick.id == id) {
            readBack();
            return;
        }
    }
    for (const auto& key : kUserKeys) {
        if (key.id == id) {
            g.set(key.bit, controls_.checked(id));
            return;
        }
    }

    switch (id) {
    case ids::keypadLockNoUserAccess:
        readBack();
        break;
    case ids::keypadLockUserAccess:
        g.set(GS::keypadLockUserAccess, controls_.checked(id));
        readBack();
        break;
    case ids::batteryLowWarning:
        g.set(GS::batteryLowWarning, controls_.checked(id));
        break;
    case ids::priorityDisable:
        g.set(GS::priorityFunctionDisabled, controls_.checked(id));
        refresh();
        break;
    case ids::homeChannelDisable:
        g.set(GS::homeChannelDisabled, controls_.checked(id));
        refresh();
        break;
    case ids::shuntingRadio:
        g.set(GS::shuntingRadio, controls_.checked(id));
        refresh();
        break;
    case ids::passwordEnable:
        g.set(GS::powerOnPassword, controls_.checked(id));
        controls_.setEnabled(ids::password, controls_.checked(id));
        break;
    case ids::priorityDown:
        stepPriority(-1);
        break;
    case ids::priorityUp:
        stepPriority(+1);
        break;
    case ids::homeDown:
        stepHome(-1);
        break;
    case ids::homeUp:
        stepHome(+1);
        break;
    case ids::codeFunction:
        host_.runCodeFunctionForm();
        refresh();
        break;
    case ids::ok:
        confirm();
        host_.endForm(FormEnd::Accepted);
        break;
    default:
        break;
    }
}

void GeneralSettingForm::stepPriority(int delta)
{
    auto& g = image_.general;
    const unsigned channel = g.get(GS::priorityChannel);
    const unsigned last = static_cast<unsigned>(image_.channelCount() - 1);
    if (delta < 0 && channel != 0)
        g.set(GS::priorityChannel, channel - 1);
    else if (delta > 0 && channel < last)
        g.set(GS::priorityChannel, channel + 1);
    else
        return;
    refresh();
}

void GeneralSettingForm::stepHome(int delta)
{
    auto& code = image_.code;
    const unsigned channel = code.get(CodeSettings::homeChannel);
    const unsigned last = static_cast<unsigned>(image_.channelCount() - 1);
    if (delta < 0 && channel != 0)
        code.set(CodeSettings::homeChannel, channel - 1);
    else if (delta > 0 && channel < last)
        code.set(CodeSettings::homeChannel, channel + 1);
    else
        return;
    refresh();
}

void GeneralSettingForm::onSelectionChanged(int id)
{
    if (id == ids::powerSaveRatio)
        readBack();
}

void GeneralSettingForm::onTextChanged(int id)
{
    if (id == ids::password)
        storePassword();
}

// Four digits are a password; fewer store nothing, and a longer text is cut back to its first
// four, which are then stored.
void GeneralSettingForm::storePassword()
{
    std::string text = radioTextFromUtf8(controls_.text(ids::password));
    if (text.size() > kPasswordLength) {
        // A field that will not take the shortened text must not send us round again.
        if (trimmingPassword_)
            return;
        trimmingPassword_ = true;
        text.resize(kPasswordLength);
        controls_.setText(ids::password, utf8FromRadioText(text));
        trimmingPassword_ = false;
        return;
    }
    if (text.size() < kPasswordLength)
        return;
    // Only digits reach the radio: a password it cannot be unlocked with must never be stored.
    for (char c : text)
        if (!isDigit(c))
            return;
    auto password = image_.id.range(IdSettings::password);
    for (std::size_t i = 0; i < kPasswordLength; ++i)
        password[i] = static_cast<std::uint8_t>(text[i] - '0');
}

void GeneralSettingForm::confirm()
{
    host_.writeTableFile(TableFile::Set);
}

// Enter does what "OK" does. Escape and the close box end the form with the edits already in
// the image but leave setTab.bin as it was.
FormEnd GeneralSettingForm::onClose(CloseRoute route)
{
    if (route == CloseRoute::EnterKey || route == CloseRoute::OkButton) {
        confirm();
        return FormEnd::Accepted;
    }
    return FormEnd::Rejected;
}

} // namespace kq904
