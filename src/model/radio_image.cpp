#include "radio_image.h"

#include <algorithm>

namespace kq904 {

int RadioImage::channelCount() const
{
    return std::clamp(static_cast<int>(storedChannelCount()), 1, kChannelSlots);
}

void RadioImage::clampChannelCount()
{
    setChannelCount(channelCount());
}

void RadioImage::applyFeatureGating()
{
    if (!hasFeature(FeatureFlags::aniVersion))
        general.set(GeneralSettings::dtmfVersion, false);
    if (!hasFeature(FeatureFlags::channelName))
        general.set(GeneralSettings::fiveCharacterNames, false);
}

} // namespace kq904
