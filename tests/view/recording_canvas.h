#pragma once
// A canvas that records what is drawn, in device units, for tests of positions and highlight.

#include <string>
#include <string_view>
#include <vector>

#include "view/canvas.h"

namespace kq904::test {

class RecordingCanvas final : public Canvas {
public:
    struct Text {
        int x;
        int y;
        std::string text;
        bool selectedColours;
    };
    struct Fill {
        int y;
        int height;
        bool selected;
    };

    RecordingCanvas(int charWidth, int charHeight, bool printing)
        : charWidth_(charWidth)
        , charHeight_(charHeight)
        , printing_(printing)
    { }

    int averageCharWidth() const override { return charWidth_; }
    int charHeight() const override { return charHeight_; }
    bool isPrinting() const override { return printing_; }
    void drawText(int x, int y, std::string_view text) override
    {
        texts.push_back({x, y, std::string(text), selectedColours_});
    }
    void fillRowBackground(int y, int height, bool selected) override
    {
        fills.push_back({y, height, selected});
    }
    void setSelectedText(bool selected) override { selectedColours_ = selected; }

    bool selectedColoursActive() const { return selectedColours_; }

    std::vector<Text> texts;
    std::vector<Fill> fills;

private:
    int charWidth_;
    int charHeight_;
    bool printing_;
    bool selectedColours_ = false;
};

} // namespace kq904::test
