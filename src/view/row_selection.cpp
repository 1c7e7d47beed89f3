#include "row_selection.h"

#include <algorithm>

namespace kq904 {

void RowSelection::selectOnly(int row)
{
    rows_.reset();
    if (inRange(row))
        rows_.set(static_cast<std::size_t>(row));
    anchor_ = row;
}

void RowSelection::add(int row)
{
    if (inRange(row))
        rows_.set(static_cast<std::size_t>(row));
}

void RowSelection::toggle(int row)
{
    if (!inRange(row))
        return;
    const auto bit = static_cast<std::size_t>(row);
    // The last selected row stays: copy, cut and delete always have a channel to work on.
    if (!(rows_.test(bit) && rows_.count() == 1))
        rows_.flip(bit);
    anchor_ = row;
}

void RowSelection::extendTo(int row, bool keepOthers)
{
    if (!keepOthers)
        rows_.reset();
    const int first = std::clamp(std::min(anchor_, row), 0, kMaxRows - 1);
    const int last = std::clamp(std::max(anchor_, row), 0, kMaxRows - 1);
    for (int r = first; r <= last; ++r)
        rows_.set(static_cast<std::size_t>(r));
}

void RowSelection::selectRange(int first, int last)
{
    rows_.reset();
    anchor_ = first;
    extendTo(last, true);
}

void RowSelection::limitTo(int rowCount)
{
    for (int r = std::max(rowCount, 0); r < kMaxRows; ++r)
        rows_.reset(static_cast<std::size_t>(r));
}

std::vector<int> RowSelection::rows() const
{
    std::vector<int> selected;
    selected.reserve(rows_.count());
    for (int r = 0; r < kMaxRows; ++r) {
        if (rows_.test(static_cast<std::size_t>(r)))
            selected.push_back(r);
    }
    return selected;
}

std::vector<int> RowSelection::differingRows(const RowSelection& other) const
{
    const std::bitset<kMaxRows> changed = rows_ ^ other.rows_;
    std::vector<int> differing;
    if (changed.none())
        return differing;
    for (int r = 0; r < kMaxRows; ++r) {
        if (changed.test(static_cast<std::size_t>(r)))
            differing.push_back(r);
    }
    return differing;
}

} // namespace kq904
