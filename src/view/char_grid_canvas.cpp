#include "char_grid_canvas.h"

#include <algorithm>

namespace kq904 {

void CharGridCanvas::drawText(int x, int y, std::string_view text)
{
    if (y < 0 || y >= kMaxRows || x < 0 || x >= kMaxColumns)
        return;
    text = text.substr(0, static_cast<std::size_t>(kMaxColumns - x));
    if (rows_.size() <= static_cast<std::size_t>(y))
        rows_.resize(static_cast<std::size_t>(y) + 1);
    std::string& row = rows_[static_cast<std::size_t>(y)];
    const std::size_t end = static_cast<std::size_t>(x) + text.size();
    if (row.size() < end)
        row.resize(end, ' ');
    row.replace(static_cast<std::size_t>(x), text.size(), text);
}

std::string CharGridCanvas::row(int y) const
{
    if (y < 0 || static_cast<std::size_t>(y) >= rows_.size())
        return {};
    const std::string& row = rows_[static_cast<std::size_t>(y)];
    const std::size_t end = row.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : row.substr(0, end + 1);
}

std::string CharGridCanvas::text(int rowCount) const
{
    std::string out;
    for (int y = 0; y < rowCount; ++y) {
        out += row(y);
        out += '\n';
    }
    return out;
}

} // namespace kq904
