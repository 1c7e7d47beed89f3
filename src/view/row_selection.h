#pragma once
// The rows of the listing shown selected: any set of rows, as in any list that takes Shift and
// Ctrl, beside the active row the forms open on. The window keeps the rows selected here and
// asks this what to repaint when the selection changes; the anchor is where a Shift range starts.

#include <bitset>
#include <vector>

#include "model/radio_image.h"
#include "view/listing_rows.h"

namespace kq904 {

class RowSelection {
public:
    // Three title rows and 99 channel rows.
    static constexpr int kMaxRows = kHeaderRows + kChannelSlots;

    bool contains(int row) const
    {
        return inRange(row) && rows_.test(static_cast<std::size_t>(row));
    }
    bool empty() const { return rows_.none(); }
    int count() const { return static_cast<int>(rows_.count()); }
    int anchor() const { return anchor_; }

    // Only this row; the anchor moves to it.
    void selectOnly(int row);
    // The row joins the selection; the anchor stays.
    void add(int row);
    void clear() { rows_.reset(); }
    // The row joins the selection or leaves it, unless it is the only row left; the anchor
    // moves to it.
    void toggle(int row);
    // The rows from the anchor to this one; `keepOthers` adds them to the rows already selected
    // (Ctrl+Shift) instead of replacing them. The anchor stays.
    void extendTo(int row, bool keepOthers);
    // Rows first to last, the anchor on first.
    void selectRange(int first, int last);
    // Rows at or past `rowCount` leave the selection (the channel count shrank).
    void limitTo(int rowCount);

    // The selected rows in ascending order.
    std::vector<int> rows() const;
    // The rows selected in one of the two and not in the other.
    std::vector<int> differingRows(const RowSelection& other) const;

    bool operator==(const RowSelection&) const = default;

private:
    static bool inRange(int row) { return row >= 0 && row < kMaxRows; }

    std::bitset<kMaxRows> rows_;
    int anchor_ = kScreenFirstChannelLine;
};

} // namespace kq904
