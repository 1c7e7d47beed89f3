#include "problem_text.h"

#include <algorithm>

namespace kq904 {

QString channelsText(int count)
{
    return count == 1 ? QStringLiteral("1 channel") : QStringLiteral("%1 channels").arg(count);
}

QString listedLines(const QString& heading, const std::vector<std::string>& lines)
{
    if (lines.empty())
        return {};
    QString text = QStringLiteral("\n\n") + heading;
    const int shown = std::min<int>(static_cast<int>(lines.size()), kProblemsShown);
    for (int i = 0; i < shown; ++i)
        text += QStringLiteral("\n") + QString::fromStdString(lines[static_cast<std::size_t>(i)]);
    if (static_cast<int>(lines.size()) > shown)
        text += QStringLiteral("\n... and %1 more").arg(static_cast<int>(lines.size()) - shown);
    return text;
}

QString channelNumbersText(const std::vector<int>& channels)
{
    QString text;
    for (std::size_t i = 0; i < channels.size();) {
        std::size_t end = i;
        while (end + 1 < channels.size() && channels[end + 1] == channels[end] + 1)
            ++end;
        if (!text.isEmpty())
            text += QStringLiteral(", ");
        text += QString::number(channels[i] + 1);
        if (end > i)
            text += QStringLiteral("-%1").arg(channels[end] + 1);
        i = end + 1;
    }
    return text;
}

} // namespace kq904
