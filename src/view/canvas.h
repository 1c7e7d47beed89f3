#pragma once
// The surface the listing draws on: the window, a printed page or a character grid. The listing
// needs only the font's average character width and height, text placed at device positions,
// and the row background that marks the selected row on the screen.

#include <string_view>

namespace kq904 {

class Canvas {
public:
    virtual ~Canvas() = default;

    // Average character width of the current font, in device units; column positions are
    // multiples of it.
    virtual int averageCharWidth() const = 0;
    // Full character height of the current font (ascent + descent), in device units: one row.
    virtual int charHeight() const = 0;
    // True for a printer or a print preview: no row backgrounds, no highlight.
    virtual bool isPrinting() const = 0;

    // Draws text with its left edge at x and its top at y, in device units. The text is plain
    // ASCII. Later text covers earlier text in the cells it occupies, spaces included.
    virtual void drawText(int x, int y, std::string_view text) = 0;

    // Screen only: fills the band from y to y + height across the visible width with the
    // highlight colour when selected, else with the window colour.
    virtual void fillRowBackground(int y, int height, bool selected) = 0;
    // Screen only: text drawn from now on uses the highlight-text colour on the highlight
    // colour (selected) or the normal text colours (not selected).
    virtual void setSelectedText(bool selected) = 0;
};

} // namespace kq904
