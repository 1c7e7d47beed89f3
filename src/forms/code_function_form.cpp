#include "forms/code_function_form.h"

#include "forms/code_function_ids.h"
#include "forms/radio_text.h"

namespace kq904 {

namespace ids = code_function_ids;
using GS = GeneralSettings;
using CS = CodeSettings;

namespace {

constexpr std::size_t kCodeLength = 5;

// Where each identity keeps its five digits, in digit order: the Unit ID begins in the general
// settings and ends in the code settings.
struct IdentityPlace {
    std::span<const GeneralSettings::Field> inGeneral;
    std::span<const CodeSettings::Field> inCode;
};

IdentityPlace placeOf(Identity identity)
{
    switch (identity) {
    case Identity::Unit:
        return {Identities::unitIdGeneral, Identities::unitIdCode};
    case Identity::SubGroup:
        return {{}, Identities::subGroup};
    case Identity::AllGroup:
        break;
    }
    return {{}, Identities::allGroup};
}

Identity identityOfField(int id)
{
    switch (id) {
    case ids::unitId:
        return Identity::Unit;
    case ids::subGroupId:
        return Identity::SubGroup;
    default:
        return Identity::AllGroup;
    }
}

} // namespace

std::array<unsigned, 5> identityDigits(const RadioImage& image, Identity identity)
{
    const IdentityPlace place = placeOf(identity);
    std::array<unsigned, 5> digits{};
    auto digit = digits.begin();
    for (const GeneralSettings::Field nibble : place.inGeneral)
        *digit++ = image.general.get(nibble);
    for (const CodeSettings::Field nibble : place.inCode)
        *digit++ = image.code.get(nibble);
    return digits;
}

void setIdentityDigits(RadioImage& image, Identity identity, const std::array<unsigned, 5>& digits)
{
    const IdentityPlace place = placeOf(identity);
    auto digit = digits.begin();
    for (const GeneralSettings::Field nibble : place.inGeneral)
        image.general.set(nibble, *digit++ & 0x0Fu);
    for (const CodeSettings::Field nibble : place.inCode)
        image.code.set(nibble, *digit++ & 0x0Fu);
}

CodeFunctionForm::CodeFunctionForm(RadioImage& image, Controls& controls, SettingsFormHost& host)
    : image_(image)
    , controls_(controls)
    , host_(host)
{ }

void CodeFunctionForm::open()
{
    auto& g = image_.general;
    auto& code = image_.code;
    controls_.setItems(ids::aniShow, {"- - -", "5 sec", "15 sec", "30 sec"});
    controls_.setItems(ids::talkingTime, {"30 sec", "60 sec", "120 sec", "240 sec", "360 sec"});

    // The code-function radios have no 1:3 or 1:4 power-save ratio (as the General form).
    if (image_.dtmfVersion() && g.get(GS::powerSaveRatio) >= 2)
        g.set(GS::powerSaveRatio, 1);

    const bool aniEnabled = g.get(GS::pttAniTransmit);
    controls_.setChecked(ids::pttAniEnable, aniEnabled);
    const bool onRelease = g.get(GS::aniOnRelease);
    controls_.setChecked(ids::pttReleased, onRelease);
    controls_.setChecked(ids::pttPressed, !onRelease);
    controls_.setEnabled(ids::pttPressed, aniEnabled);
    controls_.setEnabled(ids::pttReleased, aniEnabled);

    // A stored code without a list entry selects nothing and is kept until one is picked.
    controls_.setSelectedIndex(ids::talkingTime, static_cast<int>(code.get(CS::talkingTime)));
    controls_.setSelectedIndex(ids::aniShow, static_cast<int>(code.get(CS::aniShowTime)));

    showIdentity(Identity::Unit, ids::unitId);
    showIdentity(Identity::AllGroup, ids::allGroupId);
    showIdentity(Identity::SubGroup, ids::subGroupId);

    const bool emergency = code.get(CS::emergencyCode);
    controls_.setChecked(ids::emergencyCode, emergency);
    controls_.setChecked(ids::siren, code.get(CS::siren));
    enableEmergency(emergency);

    std::string digits;
    for (auto& digit : code.range(CS::emergencyDigits)) {
        if (digit > 9)
            digit = 0;
        digits += static_cast<char>('0' + digit);
    }
    controls_.setText(ids::emergencyDigits, digits);
}

// A blank radio's 0xF nibbles become 0 in the image before the identity is shown.
void CodeFunctionForm::showIdentity(Identity identity, int id)
{
    auto digits = identityDigits(image_, identity);
    std::string text;
    for (auto& digit : digits) {
        if (digit > 9)
            digit = 0;
        text += static_cast<char>('0' + digit);
    }
    setIdentityDigits(image_, identity, digits);
    controls_.setText(id, text);
}

void CodeFunctionForm::enableEmergency(bool on)
{
    controls_.setEnabled(ids::emergencyDigits, on);
    controls_.setEnabled(ids::siren, on);
}

void CodeFunctionForm::onClicked(int id)
{
    auto& g = image_.general;
    auto& code = image_.code;
    switch (id) {
    case ids::pttAniEnable: {
        const bool on = controls_.checked(id);
        g.set(GS::pttAniTransmit, on);
        controls_.setEnabled(ids::pttPressed, on);
        controls_.setEnabled(ids::pttReleased, on);
        break;
    }
    case ids::pttPressed:
    case ids::pttReleased:
        g.set(GS::aniOnRelease, controls_.checked(ids::pttReleased));
        break;
    case ids::emergencyCode: {
        const bool on = controls_.checked(id);
        code.set(CS::emergencyCode, on);
        enableEmergency(on);
        break;
    }
    case ids::siren:
        code.set(CS::siren, controls_.checked(id));
        break;
    case ids::killFeature:
        host_.runKillFeatureForm();
        break;
    default:
        break;
    }
}

void CodeFunctionForm::onSelectionChanged(int id)
{
    const int index = controls_.selectedIndex(id);
    if (index < 0)
        return; // a list emptied by the program, not a choice of the user
    if (id == ids::aniShow)
        image_.code.set(CS::aniShowTime, static_cast<unsigned>(index) & 7u);
    else if (id == ids::talkingTime)
        image_.code.set(CS::talkingTime, static_cast<unsigned>(index) & 7u);
}

void CodeFunctionForm::onTextChanged(int id)
{
    if (id == ids::unitId || id == ids::subGroupId || id == ids::allGroupId
        || id == ids::emergencyDigits)
        storeText(id);
}

// Five characters are a code; fewer store nothing (the image keeps the previous one), and a
// longer text is cut back to its first five, which are then stored.
void CodeFunctionForm::storeText(int id)
{
    std::string text = radioTextFromUtf8(controls_.text(id));
    if (text.size() > kCodeLength) {
        // A field that will not take the shortened text must not send us round again.
        if (trimming_ == id)
            return;
        trimming_ = id;
        text.resize(kCodeLength);
        controls_.setText(id, utf8FromRadioText(text));
        trimming_ = 0;
        return;
    }
    if (text.size() < kCodeLength)
        return;

    // A value above 9 is no digit to the radio; it becomes 0 at once, as the next opening of
    // the form would make it, so that a radio programmed before then never receives it.
    if (id == ids::emergencyDigits) {
        // One digit per byte, as the character code minus '0'.
        auto bytes = image_.code.range(CS::emergencyDigits);
        for (std::size_t i = 0; i < kCodeLength; ++i) {
            const unsigned digit = static_cast<unsigned char>(text[i]) - unsigned('0');
            bytes[i] = static_cast<std::uint8_t>(digit <= 9 ? digit : 0);
        }
        return;
    }
    // A nibble takes the character's low four bits: exactly the digit for '0'-'9'.
    std::array<unsigned, 5> digits{};
    for (std::size_t i = 0; i < kCodeLength; ++i) {
        const unsigned nibble = static_cast<unsigned char>(text[i]) & 0x0Fu;
        digits[i] = nibble <= 9 ? nibble : 0;
    }
    setIdentityDigits(image_, identityOfField(id), digits);
}

} // namespace kq904
