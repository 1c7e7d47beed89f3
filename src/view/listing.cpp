#include "listing.h"

#include <cstdint>

#include "view/channel_table.h"
#include "view/settings_summary.h"

namespace kq904 {

namespace {

// Draws rows in order; returns false when a row lies past the last viewable row.
template <typename IsSelected>
bool drawRows(Canvas& canvas, RadioImage& image, RowRange rows, int rowHeight,
    const IsSelected& isSelected, int firstChannelLine)
{
    const int lastRow = lastViewableRow(rowHeight);
    for (int row = rows.first; row <= rows.last; ++row) {
        // Below the last viewable row the row's top would not fit a 32-bit position; rows up to
        // it (and the one just past it) always do.
        const int y = static_cast<int>(static_cast<std::int64_t>(row) * rowHeight);
        if (row > lastRow) {
            canvas.drawText(0, y, "ERROR 1");
            return false;
        }
        drawLine(canvas, image, row, y, isSelected(row), firstChannelLine);
    }
    return true;
}

template <typename IsSelected>
void drawRowLines(Canvas& canvas, ScreenRowTexts& texts, RadioImage& image, RowRange rows,
    const IsSelected& isSelected)
{
    const int rowHeight = canvas.charHeight();
    const int lastRow = lastViewableRow(rowHeight);
    for (int row = rows.first; row <= rows.last; ++row) {
        const int y = static_cast<int>(static_cast<std::int64_t>(row) * rowHeight);
        if (row > lastRow) {
            canvas.drawText(0, y, "ERROR 1");
            return;
        }
        const bool selected = isSelected(row);
        canvas.fillRowBackground(y, rowHeight, selected);
        canvas.setSelectedText(selected);
        const RowLine& line = texts.line(image, row);
        canvas.drawText(line.firstColumn * canvas.averageCharWidth(), y, line.text);
        if (selected)
            canvas.setSelectedText(false);
    }
}

auto oneRow(int activeRow)
{
    return [activeRow](int row) { return row == activeRow; };
}

auto rowsOf(const RowSelection& selected)
{
    return [&selected](int row) { return selected.contains(row); };
}

} // namespace

void drawScreenRows(Canvas& canvas, RadioImage& image, RowRange rows, int activeRow)
{
    image.applyFeatureGating();
    drawRows(canvas, image, rows, canvas.charHeight(), oneRow(activeRow), kScreenFirstChannelLine);
}

void drawScreenRows(
    Canvas& canvas, ScreenRowTexts& texts, RadioImage& image, RowRange rows, int activeRow)
{
    drawRowLines(canvas, texts, image, rows, oneRow(activeRow));
}

void drawScreenRows(Canvas& canvas, RadioImage& image, RowRange rows, const RowSelection& selected)
{
    image.applyFeatureGating();
    drawRows(canvas, image, rows, canvas.charHeight(), rowsOf(selected), kScreenFirstChannelLine);
}

void drawScreenRows(Canvas& canvas, ScreenRowTexts& texts, RadioImage& image, RowRange rows,
    const RowSelection& selected)
{
    drawRowLines(canvas, texts, image, rows, rowsOf(selected));
}

void drawPrintedRows(Canvas& canvas, RadioImage& image, RowRange rows, int printRowHeight)
{
    image.applyFeatureGating();
    if (rows.first == 0)
        drawSettingsSummary(canvas, image);
    drawRows(canvas, image, rows, printRowHeight, oneRow(kNoSelectedRow), kPrintFirstChannelLine);
}

} // namespace kq904
