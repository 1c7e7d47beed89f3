#pragma once
// The sub-tone and time-out tables the channel records index into.

#include <array>
#include <string>
#include <string_view>

#include "frequency.h"
#include "radio_image.h"

namespace kq904 {

// CTCSS tones in Hz as text; the last entry, "- - -", is the user-set tone.
inline constexpr std::array<std::string_view, 52> kCtcssTable = {"67", "71.9", "74.4", "77", "79.7",
    "82.5", "85.4", "88.5", "91.5", "94.8", "97.4", "100", "103.5", "107.2", "110.9", "114.8",
    "118.8", "123", "127.3", "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "162.2", "167.9",
    "173.8", "179.9", "186.2", "192.8", "203.5", "210.7", "218.1", "225.7", "233.6", "241.8",
    "250.3", "69.4 ", "159.8", "165.5", "171.3", "177.3", "183.5", "189.9", "196.6", "199.5",
    "206.5", "229.1", "254.1", "150", "- - -"};

// DCS codes as three octal digits; the last entry, "- - -", is the user-set code.
inline constexpr std::array<std::string_view, 84> kDcsTable = {"023", "025", "026", "031", "032",
    "043", "047", "051", "054", "065", "071", "072", "073", "074", "114", "115", "116", "125",
    "131", "132", "134", "143", "152", "155", "156", "162", "165", "172", "174", "205", "223",
    "226", "243", "244", "245", "251", "261", "263", "265", "271", "306", "311", "315", "331",
    "343", "346", "351", "364", "365", "371", "411", "412", "413", "423", "431", "432", "445",
    "464", "465", "466", "503", "506", "516", "532", "546", "565", "606", "612", "624", "627",
    "631", "632", "654", "662", "664", "703", "712", "723", "731", "732", "734", "743", "754",
    "- - -"};

inline constexpr int kCtcssUserSet = 51;
inline constexpr int kDcsUserSet = 83;

// Transmit time-out texts by code; code 7 (transmit disabled) and 6 (never produced) have none.
inline constexpr std::array<std::string_view, 6> kTimeOutTable = {
    "- - -", "30 Sec", "60 Sec", "90 Sec", "120 Sec", "180 Sec"};

// Text for a table index, or "?" for an index past the table (damaged data).
std::string_view ctcssText(unsigned index);
std::string_view dcsText(unsigned index);
std::string_view timeOutText(unsigned code);

// "T: <ctcss>", "D: <dcs>" or "- - -" for one half of a channel; CTCSS wins when both are set.
std::string toneText(const RadioImage& image, int channel, Half half);

} // namespace kq904
