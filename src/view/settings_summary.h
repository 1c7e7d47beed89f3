#pragma once
// The settings summary at the top of the first printed page: one line per setting, the label at
// the left margin and the value at 35 character widths. Twelve lines, sixteen when the DTMF
// version adds the code functions and the kill feature.

#include <string>
#include <vector>

#include "model/radio_image.h"
#include "view/canvas.h"

namespace kq904 {

inline constexpr int kSummaryValueColumn = 35;

struct SummaryLine {
    std::string label;
    std::string value;
};

std::vector<SummaryLine> settingsSummaryLines(const RadioImage& image);

// The value of "Keypad lock with user access :" when it is on: the usable keys at fixed places.
std::string keyListText(const RadioImage& image);
// The value of "Sel Call :": talking time and the three identities at fixed places, 80 chars.
std::string selCallText(const RadioImage& image);
// The value of "kill Feature:" when it is on: the kill and revive identities, 42 chars.
std::string killText(const RadioImage& image);

// Draws the summary lines from y = 0, one character height apart.
void drawSettingsSummary(Canvas& canvas, const RadioImage& image);

} // namespace kq904
