// Drawing the listing on the character grid: the full 99-channel screen listing (the goal is
// well under 500 us) and the printed layout with the summary.
#include <benchmark/benchmark.h>

#include "model/frequency.h"
#include "model/radio_image.h"
#include "view/char_grid_canvas.h"
#include "view/listing.h"
#include "view/listing_text.h"

using namespace kq904;

namespace {

// 99 channels with names, DTMF columns, tones and options, so every cell is drawn.
RadioImage fullImage()
{
    RadioImage image;
    image.featureFlags = FeatureFlags::aniVersion | FeatureFlags::channelName;
    image.setChannelCount(99);
    image.general.set(GeneralSettings::dtmfVersion, true);
    image.general.set(GeneralSettings::fiveCharacterNames, true);
    image.factory.set(FactorySettings::intermediateFrequency, 21400000u);
    for (int n = 0; n < kChannelSlots; ++n) {
        setTransmitFrequency(image, n, 440000000u + 12500u * static_cast<std::uint32_t>(n));
        setReceiveFrequency(image, n, 440000000u + 12500u * static_cast<std::uint32_t>(n));
        auto& record = image.channels[static_cast<std::size_t>(n)];
        record.set(ChannelRecord::txToneIsCtcss, true);
        record.set(ChannelRecord::txTone, static_cast<unsigned>(n % 51));
        record.set(ChannelRecord::rxToneIsDcs, true);
        record.set(ChannelRecord::rxTone, static_cast<unsigned>(n % 83));
        record.set(ChannelRecord::timeOut, static_cast<unsigned>(n % 6));
        auto& extra = image.extras[static_cast<std::size_t>(n)];
        extra.set(ChannelExtra::pttCodeEnable, true);
        extra[2] = 'R';
        extra[3] = 'P';
        extra[4] = static_cast<std::uint8_t>('0' + n % 10);
    }
    return image;
}

void BM_ScreenListing99(benchmark::State& state)
{
    RadioImage image = fullImage();
    for (auto _ : state) {
        CharGridCanvas canvas;
        drawScreenRows(canvas, image, {0, screenRowCount(image) - 1}, 10);
        benchmark::DoNotOptimize(canvas);
    }
}
BENCHMARK(BM_ScreenListing99)->Unit(benchmark::kMicrosecond);

void BM_ScreenListingText99(benchmark::State& state)
{
    RadioImage image = fullImage();
    for (auto _ : state)
        benchmark::DoNotOptimize(screenListingText(image));
}
BENCHMARK(BM_ScreenListingText99)->Unit(benchmark::kMicrosecond);

void BM_PrintedListingText99(benchmark::State& state)
{
    RadioImage image = fullImage();
    for (auto _ : state)
        benchmark::DoNotOptimize(printedListingText(image));
}
BENCHMARK(BM_PrintedListingText99)->Unit(benchmark::kMicrosecond);

} // namespace
