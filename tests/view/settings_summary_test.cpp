// The settings summary of the printed listing: the whole printed layout once, and the values
// whose text is assembled at fixed character positions.
#include <gtest/gtest.h>
#include <sstream>

#include "listing_fixtures.h"
#include "recording_canvas.h"
#include "view/char_grid_canvas.h"
#include "view/listing_text.h"
#include "view/settings_summary.h"

using namespace kq904;
using namespace kq904::test;

namespace {

// Every summary setting switched on, with distinct digits everywhere so that a digit taken from
// the wrong nibble or byte shows. The identities are stored as raw bytes, nibble by nibble.
RadioImage everythingOnImage()
{
    RadioImage image = dealerImage(2);
    image.featureFlags = FeatureFlags::aniVersion;
    auto& g = image.general;
    g.set(GeneralSettings::dtmfVersion, true);
    g.set(GeneralSettings::keyBeep, true);
    g.set(GeneralSettings::priorityMode, true);
    g.set(GeneralSettings::toneSettingByUser, true);
    g.set(GeneralSettings::powerSave, true);
    g.set(GeneralSettings::powerSaveRatio, 2);
    g.set(GeneralSettings::priorityChannel, 4);
    g.set(GeneralSettings::priorityFunctionDisabled, true);
    g.set(GeneralSettings::keypadLockNoUserAccess, true);
    g.set(GeneralSettings::batteryLowWarning, true);
    g.set(GeneralSettings::keypadLockUserAccess, true);
    g.set(GeneralSettings::userKeyUpDown, true);
    g.set(GeneralSettings::userKeyScan, true);
    g.set(GeneralSettings::userKeyEnt, true);
    g.set(GeneralSettings::homeChannelDisabled, true);
    g.set(GeneralSettings::shuntingRadio, true);
    g.set(GeneralSettings::powerOnPassword, true);
    g.set(GeneralSettings::killFeature, true);
    image.id[4] = 1;
    image.id[5] = 9;
    image.id[6] = 7;
    image.id[7] = 3;

    // Unit ID 1 2 3 4 5: byte 16 low, byte 16 high, byte 17 low; code byte 3 low, high.
    g[16] = 0x21;
    g[17] = static_cast<std::uint8_t>((g[17] & 0xF0) | 0x03);
    auto& code = image.code;
    code[3] = 0x54;
    // All Group ID ("Priority ID") 6 7 8 9 0: byte 5 low, high, byte 6 low, high, byte 2 high.
    code[5] = 0x76;
    code[6] = 0x98;
    // Sub Group ID ("Group ID") 1 3 5 7 9: byte 0 low, high, byte 1 low, high, byte 2 low.
    code[0] = 0x31;
    code[1] = 0x75;
    code[2] = 0x09;
    code.set(CodeSettings::aniShowTime, 2);
    code.set(CodeSettings::talkingTime, 3);
    code.set(CodeSettings::emergencyCode, true);
    const std::uint8_t emergency[] = {9, 1, 1, 0, 4};
    std::copy(std::begin(emergency), std::end(emergency),
        code.range(CodeSettings::emergencyDigits).begin());

    const std::uint8_t killId[] = {0x12, 0x34, 0x56, 0x78, 0x9A};
    const std::uint8_t reviveId[] = {0x00, 0x11, 0x22, 0x33, 0xBC};
    std::copy(std::begin(killId), std::end(killId), image.kill.range(KillSettings::killId).begin());
    std::copy(
        std::begin(reviveId), std::end(reviveId), image.kill.range(KillSettings::reviveId).begin());
    return image;
}

} // namespace

// The printed layout with the DTMF version on: a 16-line summary, row 16 empty, the header on
// rows 17-19 and channel n on row 20 + n, all as one text.
TEST(SettingsSummary, GoldenPrintedLayoutWithDtmf)
{
    RadioImage image = everythingOnImage();
    const std::string expected = R"(key Beep :                         On
Keylocked :                        Off
Priority Mode :                    On
Tone setting by user enable :      On
Power Save Enable :                1:3
Priority Channel :                  5, Function Disable
Keypad lock with no user access :  On
Battery Low Warnning :             On
Keypad lock with user access :     On ,      Channels,           Scan,     ENT
Home Channel :                     Disable
shuting Radio :                    Enable
Power On Password :                1973
Ani Show Time :                    15 Sec
Sel Call :                         Talking Time= 240 Sec ,Unit ID= 12345 ,Priority ID= 67890 ,Group ID= 13579
Emergency Code :                   91104
kill Feature:                      Kill ID= 123456789A  Revive ID= 00112233BC

                     Frequency        Pwr  Xtal          Lock                   Sub Tone       Ch Spacing   PTT    SEL
Chn  TAG      Transmit    Receive     H/L  Shift MON     Out  Scan  TOT      TX       RX       TX    RX     Code   CAL.

 1  CH01      145.00000   145.00000    L    On  Normal   - - -- - - - - -    - - -    - - -     W     N     - - -  - - -
 2  CH02      145.01250   145.01250    L    On  Normal   - - -- - - - - -    - - -    - - -     W     N     - - -  - - -
)";
    EXPECT_EQ(printedListingText(image), expected);
}

// The settings the DTMF version adds are not printed without it: 12 lines, rows 12-16 empty.
// Off settings print "Off" whatever their detail bits hold; an enabled home channel prints its
// 1-based number.
TEST(SettingsSummary, TwelveLinesWithoutDtmf)
{
    RadioImage image = dealerImage(1);
    image.general.set(GeneralSettings::powerSaveRatio, 2);
    image.general.set(GeneralSettings::userKeyMode, true);
    image.id[4] = 5;
    image.code.set(CodeSettings::homeChannel, 6);
    image.general.set(GeneralSettings::killFeature, true);

    const auto lines = settingsSummaryLines(image);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[4].value, "Off");
    EXPECT_EQ(lines[8].value, "Off");
    EXPECT_EQ(lines[9].value, " 7");
    EXPECT_EQ(lines[11].value, "Off");

    CharGridCanvas canvas(true);
    drawSettingsSummary(canvas, image);
    EXPECT_EQ(canvas.row(11), "Power On Password :                Off");
    EXPECT_EQ(canvas.row(12), "");

    std::vector<std::string> printed;
    std::istringstream stream(printedListingText(image));
    for (std::string line; std::getline(stream, line);)
        printed.push_back(line);
    ASSERT_EQ(printed.size(), 21u);
    EXPECT_EQ(printed[11], "Power On Password :                Off");
    for (std::size_t row = 12; row <= 16; ++row)
        EXPECT_EQ(printed[row], "") << row;
    EXPECT_EQ(printed[18].substr(0, 3), "Chn");
}

// The usable keys under the keypad lock sit at 0, 10, 20, 30 and 40 in a 45-character field;
// with ENT the text ends right after it, at 43.
TEST(SettingsSummary, KeyListPositions)
{
    RadioImage image = dealerImage(1);
    EXPECT_EQ(keyListText(image), "On ," + std::string(41, ' '));

    image.general.set(GeneralSettings::userKeyMode, true);
    EXPECT_EQ(keyListText(image), "On ,                Mode," + std::string(20, ' '));

    image.general.set(GeneralSettings::userKeyUpDown, true);
    image.general.set(GeneralSettings::userKeyScan, true);
    image.general.set(GeneralSettings::userKeyEnt, true);
    EXPECT_EQ(keyListText(image), "On ,      Channels, Mode,     Scan,     ENT");
    EXPECT_EQ(keyListText(image).size(), 43u);
}

// The selective-call text is 80 characters with the three identities at their places and
// blanks between the pieces.
TEST(SettingsSummary, SelCallPositions)
{
    RadioImage image = everythingOnImage();
    const std::string text = selCallText(image);
    ASSERT_EQ(text.size(), 80u);
    EXPECT_EQ(text.substr(32, 5), "12345");
    EXPECT_EQ(text.substr(52, 5), "67890");
    EXPECT_EQ(text.substr(69, 5), "13579");
    for (std::size_t blank : {13u, 21u, 31u, 37u, 51u, 57u, 68u})
        EXPECT_EQ(text[blank], ' ') << blank;
    EXPECT_EQ(text.substr(74), std::string(6, ' '));

    // Talking-time codes 4-7 all mean 360 s.
    for (unsigned code : {4u, 7u}) {
        image.code.set(CodeSettings::talkingTime, code);
        EXPECT_EQ(selCallText(image).substr(14, 7), "360 Sec") << code;
    }
}

// A password or emergency digit above 9 exists only in damaged data; it prints as '?' rather
// than as whatever byte '0' + value happens to be.
TEST(SettingsSummary, DamagedDigitsStayPrintable)
{
    RadioImage image = everythingOnImage();
    image.id[5] = 200;
    image.code[10] = 10;
    const auto lines = settingsSummaryLines(image);
    EXPECT_EQ(lines[11].value, "1?73");
    EXPECT_EQ(lines[14].value, "9?104");
}

// Labels at x 0 and values at 35 average character widths, one character height apart.
TEST(SettingsSummary, DevicePositions)
{
    RadioImage image = everythingOnImage();
    RecordingCanvas canvas(8, 15, true);
    drawSettingsSummary(canvas, image);
    ASSERT_EQ(canvas.texts.size(), 32u);
    for (std::size_t i = 0; i < canvas.texts.size(); ++i) {
        const int line = static_cast<int>(i / 2);
        EXPECT_EQ(canvas.texts[i].x, i % 2 == 0 ? 0 : 35 * 8);
        EXPECT_EQ(canvas.texts[i].y, line * 15);
    }
}
