#include "listing_text.h"

#include "view/char_grid_canvas.h"
#include "view/listing.h"

namespace kq904 {

std::string screenListingText(RadioImage& image)
{
    CharGridCanvas canvas;
    // The gating can change nothing that decides the row count, so it may be counted first.
    const int rowCount = screenRowCount(image);
    drawScreenRows(canvas, image, {0, rowCount - 1}, kNoSelectedRow);
    return canvas.text(rowCount);
}

std::string printedListingText(RadioImage& image)
{
    CharGridCanvas canvas(true);
    const int rowCount = printedRowCount(image);
    drawPrintedRows(canvas, image, {0, rowCount - 1}, canvas.charHeight());
    return canvas.text(rowCount);
}

} // namespace kq904
