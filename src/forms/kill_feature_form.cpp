#include "forms/kill_feature_form.h"

#include "forms/kill_feature_ids.h"
#include "model/byte_utils.h"

namespace kq904 {

namespace ids = kill_feature_ids;

namespace {

std::span<std::uint8_t, 5> idBytes(RadioImage& image, KillSettings::ByteRange range)
{
    return image.kill.range(range).first<5>();
}

std::span<const std::uint8_t, 5> idBytes(const RadioImage& image, KillSettings::ByteRange range)
{
    return image.kill.range(range).first<5>();
}

} // namespace

std::string killIdText(std::span<const std::uint8_t, 5> bytes)
{
    return unpackHexDigits(bytes);
}

void packKillId(std::string_view text, std::span<std::uint8_t, 5> bytes)
{
    packHexDigits(text, bytes);
}

KillFeatureForm::KillFeatureForm(RadioImage& image, Controls& controls, SettingsFormHost& host)
    : image_(image)
    , controls_(controls)
    , host_(host)
{ }

void KillFeatureForm::open()
{
    const RadioImage& image = image_;
    controls_.setText(ids::killId, killIdText(idBytes(image, KillSettings::killId)));
    controls_.setText(ids::reviveId, killIdText(idBytes(image, KillSettings::reviveId)));
    controls_.setChecked(ids::withKillFeature, image.general.get(GeneralSettings::killFeature));
    controls_.setChecked(ids::reviveByAir, image.kill.get(KillSettings::reviveByAir));
    applyEnabling();
}

// Only the controls follow the ticks; the image waits for "OK".
void KillFeatureForm::applyEnabling()
{
    const bool kill = controls_.checked(ids::withKillFeature);
    controls_.setEnabled(ids::killId, kill);
    controls_.setEnabled(ids::reviveByAir, kill);
    controls_.setEnabled(ids::reviveId, kill && controls_.checked(ids::reviveByAir));
}

void KillFeatureForm::onClicked(int id)
{
    if (id == ids::withKillFeature || id == ids::reviveByAir)
        applyEnabling();
}

// Both IDs are stored as they stand, even from disabled fields, so switching the kill feature
// off does not lose them.
void KillFeatureForm::store()
{
    image_.general.set(GeneralSettings::killFeature, controls_.checked(ids::withKillFeature));
    image_.kill.set(KillSettings::reviveByAir, controls_.checked(ids::reviveByAir));
    packKillId(controls_.text(ids::killId), idBytes(image_, KillSettings::killId));
    packKillId(controls_.text(ids::reviveId), idBytes(image_, KillSettings::reviveId));
    host_.updateTableFile(TableFile::Kill);
}

FormEnd KillFeatureForm::onClose(CloseRoute route)
{
    if (route == CloseRoute::OkButton || route == CloseRoute::EnterKey) {
        store();
        return FormEnd::Accepted;
    }
    return FormEnd::Rejected;
}

} // namespace kq904
