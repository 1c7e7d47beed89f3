#pragma once
// The channel table of the listing: three header rows, then one row per channel, in fixed
// character columns. The same rows are drawn on the screen and on paper.

#include <array>
#include <string_view>

#include "model/radio_image.h"
#include "view/canvas.h"

namespace kq904 {

struct ChannelColumn {
    int x; // in average character widths
    std::string_view header1;
    std::string_view header2;
    bool dtmfOnly; // drawn only when the DTMF version is on
};

inline constexpr std::array<ChannelColumn, 16> kChannelColumns = {{
    {0, "", "Chn", false},
    {4, "", " TAG", false},
    {14, "       Frequency", "Transmit", false},
    {26, "", "Receive", false},
    {38, "Pwr", "H/L", false},
    {43, "Xtal", "Shift", false},
    {48, "", " MON", false},
    {57, "Lock", "Out", false},
    {62, "", "Scan", false},
    {68, "", "TOT", false},
    {77, "   Sub Tone", "TX", false},
    {86, "", "RX", false},
    {95, "Ch Spacing", "TX", false},
    {101, "", "RX", false},
    {108, "PTT", "Code", true},
    {115, "SEL", "CAL.", true},
}};

// Draws line `lineNumber` of the listing with its top at y. `firstChannelLine` is the line of
// channel 0: 3 on the screen; 20 on paper, where lines 0-16 belong to the settings summary and
// lines 17-19 are the header. Lines of channels at or past channelCount draw nothing. On the
// screen the line's background is filled first, in the highlight colour when `selected`.
// Drawing a channel line repairs invalid characters of its stored tag or name in the image.
void drawLine(
    Canvas& canvas, RadioImage& image, int lineNumber, int y, bool selected, int firstChannelLine);

} // namespace kq904
