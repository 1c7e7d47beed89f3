#pragma once
// The text of each screen row of the listing as it is drawn, built once per change of the
// configuration rather than once per paint. The window paints from it and assistive technology
// reads it, so both show the same characters.

#include <optional>
#include <string>
#include <vector>

#include "model/radio_image.h"

namespace kq904 {

// One row's cells composed into a line of characters, as a fixed-pitch font shows them: the
// line starts at the column of the first cell drawn, later cells over earlier ones.
struct RowLine {
    int firstColumn = 0;
    std::string text;
    // The row as the character-grid listing renders it: spaces up to the first column, no
    // trailing spaces. "" for a row with nothing on it.
    std::string shown() const;
};

class ScreenRowTexts {
public:
    // Applies the feature switches (as every paint does) and forgets the rows when the image
    // is no longer the one they were built from: a form, a reading or a file changed it.
    // Returns whether the rows were forgotten.
    bool syncWith(RadioImage& image);
    // Row r as drawn on the screen. Building a channel row repairs invalid characters of its
    // stored name, as drawing it does; the repaired image counts as the one the rows were built
    // from. Call syncWith first.
    const RowLine& line(RadioImage& image, int row);
    void clear();

private:
    std::optional<RadioImage> builtFrom_;
    std::vector<std::optional<RowLine>> rows_;
};

} // namespace kq904
