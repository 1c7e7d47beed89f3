#pragma once
// Drawing the listing, on the screen and on paper, one range of rows at a time (the rows that
// meet the area being painted). Both first enforce the feature switches on the image: without
// "ani_version" the DTMF version bit is cleared, without "channel_name" the names bit.

#include "model/radio_image.h"
#include "view/canvas.h"
#include "view/listing_rows.h"
#include "view/row_selection.h"
#include "view/screen_row_texts.h"

namespace kq904 {

inline constexpr int kNoSelectedRow = -1;

// Screen rows first..last, row r with its top at r x charHeight. `activeRow` is drawn selected.
// A row past the last row a 32-bit position can reach shows "ERROR 1" and ends the drawing.
void drawScreenRows(Canvas& canvas, RadioImage& image, RowRange rows, int activeRow);
// The same rows drawn from their composed lines, each with one text call: for a canvas whose
// every character is one column wide, where this looks exactly like drawing the cells. Call
// `texts.syncWith(image)` first.
void drawScreenRows(
    Canvas& canvas, ScreenRowTexts& texts, RadioImage& image, RowRange rows, int activeRow);
// The same two ways of drawing with every row of `selected` drawn selected.
void drawScreenRows(Canvas& canvas, RadioImage& image, RowRange rows, const RowSelection& selected);
void drawScreenRows(Canvas& canvas, ScreenRowTexts& texts, RadioImage& image, RowRange rows,
    const RowSelection& selected);

// Printed rows first..last, row r with its top at r x `printRowHeight`; the settings summary is
// drawn first when the range starts at row 0 (the first page).
void drawPrintedRows(Canvas& canvas, RadioImage& image, RowRange rows, int printRowHeight);

} // namespace kq904
