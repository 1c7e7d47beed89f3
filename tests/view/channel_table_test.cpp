// The channel table as the screen shows it: whole listings compared with golden text, and the
// screen-only background and highlight.
#include <gtest/gtest.h>

#include "listing_fixtures.h"
#include "recording_canvas.h"
#include "view/channel_table.h"
#include "view/listing.h"
#include "view/listing_text.h"

using namespace kq904;
using namespace kq904::test;

namespace {

// Four channels covering every cell of the table with the DTMF version off, plus a fifth record
// past channelCount that holds data.
RadioImage tagListingImage()
{
    RadioImage image = dealerImage(4);

    setTransmitFrequency(image, 0, 145125000);
    setReceiveFrequency(image, 0, 145125000);
    record(image, 0).set(ChannelRecord::highPower, true);
    record(image, 0).set(ChannelRecord::busyLockBclo, true);
    record(image, 0).set(ChannelRecord::busyLockRbtlo, true);
    record(image, 0).set(ChannelRecord::scan, true);
    record(image, 0).set(ChannelRecord::timeOut, 2);
    setCtcss(image, 0, Half::Transmit, 7);
    setCtcss(image, 0, Half::Receive, 38);
    record(image, 0).set(ChannelRecord::txNarrow, true);
    storeNameBytes(image, 0, "AB");

    setTransmitFrequency(image, 1, 446006250);
    setReceiveFrequency(image, 1, 446006250);
    record(image, 1).set(ChannelRecord::crystalShiftOff, true);
    record(image, 1).set(ChannelRecord::monitorByCarrier, true);
    record(image, 1).set(ChannelRecord::busyLockBtlo, true);
    record(image, 1).set(ChannelRecord::busyLockRbclo, true);
    setDcs(image, 1, Half::Transmit, 0);
    record(image, 1).set(ChannelRecord::rxWide, true);
    storeNameBytes(image, 1, "a1");

    // Transmit disabled: transmit frequency, power, time-out, sub-tone and spacing stay blank.
    setTransmitFrequency(image, 2, 440000000);
    setReceiveFrequency(image, 2, 150000000);
    record(image, 2).set(ChannelRecord::timeOut, 7);
    record(image, 2).set(ChannelRecord::highPower, true);
    extra(image, 2).set(ChannelExtra::monitorDisable, true);
    record(image, 2).set(ChannelRecord::monitorByCarrier, true);
    record(image, 2).set(ChannelRecord::busyLockRbclo, true);
    record(image, 2).set(ChannelRecord::busyLockRbtlo, true);
    record(image, 2).set(ChannelRecord::scan, true);
    setCtcss(image, 2, Half::Transmit, 3);
    setDcs(image, 2, Half::Receive, 83);
    record(image, 2).set(ChannelRecord::rxWide, true);
    storeNameBytes(image, 2, std::string_view("Z\0", 2));

    setTransmitFrequency(image, 3, 50000000);
    setReceiveFrequency(image, 3, 50000000);
    record(image, 3).set(ChannelRecord::busyLockRbtlo, true);
    record(image, 3).set(ChannelRecord::timeOut, 5);
    setCtcss(image, 3, Half::Receive, 51);
    storeNameBytes(image, 3, std::string_view("\0\0", 2));

    record(image, 4).set(ChannelRecord::busyLockBclo, true);
    storeNameBytes(image, 4, "q!");
    return image;
}

} // namespace

// Every cell kind with the DTMF version off: tags and their repairs, busy lock-out priorities
// (BC beats RBT, BT beats RBC, RBC beats RBT), transmit disabled, MHz below 100.
TEST(ChannelTable, GoldenTagListing)
{
    RadioImage image = tagListingImage();
    const std::string expected =
        R"(                     Frequency        Pwr  Xtal          Lock                   Sub Tone       Ch Spacing
Chn  TAG      Transmit    Receive     H/L  Shift MON     Out  Scan  TOT      TX       RX       TX    RX

 1  AB01      145.12500   145.12500    H    On  Normal   BC    On   60 Sec   T: 88.5  T: 69.4   N     N
 2  CH02      446.00625   446.00625    L   - - -Carry    BT   - - - - - -    D: 023   - - -     W     W
 3  ZH03                  150.00000         On  Disable  RBC   On                     D: - - -        W
 4  CH04      50.00000    50.00000     L    On  Normal   RBT  - - - 180 Sec  - - -    T: - - -  W     N
)";
    EXPECT_EQ(screenListingText(image), expected);
}

// The repairs the listing makes are stored in the image; records past channelCount are neither
// drawn nor repaired.
TEST(ChannelTable, DrawingRepairsOnlyListedTags)
{
    RadioImage image = tagListingImage();
    (void)screenListingText(image);
    const auto tag = [&](int n) {
        const auto bytes = extra(image, n).range(ChannelExtra::tag);
        return std::string(bytes.begin(), bytes.end());
    };
    EXPECT_EQ(tag(1), "CH");
    EXPECT_EQ(tag(2), "ZH");
    EXPECT_EQ(tag(3), "CH");
    EXPECT_EQ(tag(4), "q!");
}

// Five-character names and the DTMF columns (PTT code, selective calling) with the features
// enabled: a valid name, an all-zero name ("C"), invalid characters replaced by the defaults
// of their positions, an invalid last character becoming the name's end.
TEST(ChannelTable, GoldenNameListingWithDtmf)
{
    RadioImage image = dealerImage(4);
    image.featureFlags = FeatureFlags::aniVersion | FeatureFlags::channelName;
    image.general.set(GeneralSettings::dtmfVersion, true);
    image.general.set(GeneralSettings::fiveCharacterNames, true);

    storeNameBytes(image, 0, "FIRE1");
    extra(image, 0).set(ChannelExtra::pttCodeEnable, true);
    extra(image, 0)[0] |= 0x10; // digit 1 in the high nibble of byte 0
    extra(image, 0)[1] = 0x32; // digit 2 low, digit 3 high
    extra(image, 0).set(ChannelExtra::selectiveCalling, true);

    storeNameBytes(image, 1, "");
    extra(image, 1)[1] = 0x99; // a PTT code that is not enabled is not shown

    storeNameBytes(image, 2, "a-B%E");
    storeNameBytes(image, 3, std::string_view("XY\0Z!", 5));

    const std::string expected =
        R"(                     Frequency        Pwr  Xtal          Lock                   Sub Tone       Ch Spacing   PTT    SEL
Chn  TAG      Transmit    Receive     H/L  Shift MON     Out  Scan  TOT      TX       RX       TX    RX     Code   CAL.

 1  FIRE1     145.00000   145.00000    L    On  Normal   - - -- - - - - -    - - -    - - -     W     N     123    On
 2  C         145.01250   145.01250    L    On  Normal   - - -- - - - - -    - - -    - - -     W     N     - - -  - - -
 3  CHB3E     145.02500   145.02500    L    On  Normal   - - -- - - - - -    - - -    - - -     W     N     - - -  - - -
 4  XY        145.03750   145.03750    L    On  Normal   - - -- - - - - -    - - -    - - -     W     N     - - -  - - -
)";
    EXPECT_EQ(screenListingText(image), expected);

    const auto name = [&](int n) {
        const auto bytes = extra(image, n).range(ChannelExtra::name);
        return std::string(bytes.begin(), bytes.end());
    };
    EXPECT_EQ(name(1), std::string("C\0\0\0\0", 5));
    EXPECT_EQ(name(2), "CHB3E");
    EXPECT_EQ(name(3), std::string("XY\0Z\0", 5));
}

// Without the "ani_version" and "channel_name" features a set file's DTMF and name bits are
// cleared by the first draw and stay cleared: the listing shows tags and 14 columns.
TEST(ChannelTable, FeatureGatingBeforeDrawing)
{
    RadioImage image = dealerImage(1);
    image.general.set(GeneralSettings::dtmfVersion, true);
    image.general.set(GeneralSettings::fiveCharacterNames, true);
    storeNameBytes(image, 0, "FIRE1");

    const std::string text = screenListingText(image);
    EXPECT_EQ(text.find("PTT"), std::string::npos);
    EXPECT_NE(text.find(" 1  FI01 "), std::string::npos);
    EXPECT_FALSE(image.general.get(GeneralSettings::dtmfVersion));
    EXPECT_FALSE(image.general.get(GeneralSettings::fiveCharacterNames));
}

// Cells sit at their column times the device's average character width; the selected row alone
// is filled with the highlight and drawn in highlight colours, which are put back afterwards.
TEST(ChannelTable, ScreenPositionsAndHighlight)
{
    RadioImage image = dealerImage(2);
    RecordingCanvas canvas(7, 13, false);
    drawScreenRows(canvas, image, {0, 4}, 4);

    ASSERT_EQ(canvas.fills.size(), 5u);
    for (int row = 0; row < 5; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(canvas.fills[static_cast<std::size_t>(row)].y, row * 13);
        EXPECT_EQ(canvas.fills[static_cast<std::size_t>(row)].height, 13);
        EXPECT_EQ(canvas.fills[static_cast<std::size_t>(row)].selected, row == 4);
    }
    bool sawReceive = false;
    for (const auto& t : canvas.texts) {
        EXPECT_EQ(t.selectedColours, t.y == 4 * 13) << t.text;
        if (t.y == 4 * 13 && t.text == "145.01250  ") {
            // Transmit (column 14) comes first, then receive (column 26).
            EXPECT_EQ(t.x, sawReceive ? 26 * 7 : 14 * 7);
            sawReceive = true;
        }
    }
    EXPECT_TRUE(sawReceive);
    EXPECT_FALSE(canvas.selectedColoursActive());
}

// On paper no row gets a background or highlight, whatever is selected.
TEST(ChannelTable, PaperHasNoBackground)
{
    RadioImage image = dealerImage(2);
    RecordingCanvas canvas(7, 13, true);
    drawLine(canvas, image, 20, 0, true, 20);
    EXPECT_TRUE(canvas.fills.empty());
    ASSERT_FALSE(canvas.texts.empty());
    for (const auto& t : canvas.texts)
        EXPECT_FALSE(t.selectedColours);
}

// Lines of channels at or past channelCount, and on paper the summary's lines 0-16, draw no
// text even when the records hold data.
TEST(ChannelTable, LinesWithoutContentDrawNothing)
{
    RadioImage image = dealerImage(3);
    struct Case {
        int line;
        int firstChannelLine;
    };
    for (const Case c : {Case{6, 3}, Case{101, 3}, Case{0, 20}, Case{16, 20}, Case{23, 20}}) {
        SCOPED_TRACE(c.line);
        RecordingCanvas canvas(1, 1, true);
        drawLine(canvas, image, c.line, 0, false, c.firstChannelLine);
        EXPECT_TRUE(canvas.texts.empty());
    }
    RecordingCanvas header(1, 1, true);
    drawLine(header, image, 18, 0, false, 20);
    EXPECT_FALSE(header.texts.empty());
}
