#pragma once
// Sets every persisted byte of an image (factory, general, code, identity, kill, all 99 channel
// records and extras) from a generator, so that "unchanged" and "round trip" checks test real
// bytes. The caller then puts the channel count back into range.

#include <cstdint>

#include "model/radio_image.h"

namespace kq904::testing {

template <typename NextByte> void fillPersistedBlocks(RadioImage& image, NextByte next)
{
    auto fill = [&](auto& block) {
        for (auto& b : block.bytes)
            b = static_cast<std::uint8_t>(next());
    };
    fill(image.factory);
    fill(image.general);
    fill(image.code);
    fill(image.id);
    fill(image.kill);
    for (auto& record : image.channels)
        fill(record);
    for (auto& extra : image.extras)
        fill(extra);
}

} // namespace kq904::testing
