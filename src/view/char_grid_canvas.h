#pragma once
// A canvas of character cells: one character is one cell wide and one row high. The command
// line prints the listing from it, and tests compare its rows.

#include <string>
#include <string_view>
#include <vector>

#include "view/canvas.h"

namespace kq904 {

class CharGridCanvas final : public Canvas {
public:
    explicit CharGridCanvas(bool printing = false)
        : printing_(printing)
    { }

    int averageCharWidth() const override { return 1; }
    int charHeight() const override { return 1; }
    bool isPrinting() const override { return printing_; }
    void drawText(int x, int y, std::string_view text) override;
    // A character grid has no colours: the selection is not shown.
    void fillRowBackground(int, int, bool) override { }
    void setSelectedText(bool) override { }

    // Row y, right-trimmed; empty for a row nothing was drawn on.
    std::string row(int y) const;
    // Rows 0 to rowCount - 1, each right-trimmed and ended by a line feed.
    std::string text(int rowCount) const;

private:
    // Rows beyond this are dropped: far more than the 119 rows of the longest listing, and a
    // bound on what a stray position can allocate.
    static constexpr int kMaxRows = 4096;
    static constexpr int kMaxColumns = 4096;

    bool printing_;
    std::vector<std::string> rows_;
};

} // namespace kq904
