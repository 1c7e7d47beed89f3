#pragma once
// Texts shared by the messages that report on channels: counts and lists of problems.

#include <QString>
#include <string>
#include <vector>

namespace kq904 {

// Problems beyond this many are counted in a message box rather than listed.
inline constexpr int kProblemsShown = 20;

// "1 channel", "5 channels".
QString channelsText(int count);
// The lines under a heading, after an empty line, cut after kProblemsShown with a count of the
// rest; nothing for no lines.
QString listedLines(const QString& heading, const std::vector<std::string>& lines);
// Channel numbers as the user reads them: 0-based {2, 4, 5, 6} gives "3, 5-7".
QString channelNumbersText(const std::vector<int>& channels);

} // namespace kq904
