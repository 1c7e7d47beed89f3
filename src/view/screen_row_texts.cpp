#include "screen_row_texts.h"

#include "view/canvas.h"
#include "view/channel_table.h"
#include "view/listing_rows.h"

namespace kq904 {

namespace {

// Collects the cells of one row in character columns.
class LineCanvas final : public Canvas {
public:
    int averageCharWidth() const override { return 1; }
    int charHeight() const override { return 1; }
    bool isPrinting() const override { return false; }
    void fillRowBackground(int, int, bool) override { }
    void setSelectedText(bool) override { }

    void drawText(int x, int, std::string_view text) override
    {
        if (text.empty() || x < 0)
            return;
        if (!started_) {
            started_ = true;
            line_.firstColumn = x;
        }
        if (x < line_.firstColumn) {
            line_.text.insert(0, static_cast<std::size_t>(line_.firstColumn - x), ' ');
            line_.firstColumn = x;
        }
        const auto at = static_cast<std::size_t>(x - line_.firstColumn);
        if (line_.text.size() < at + text.size())
            line_.text.resize(at + text.size(), ' ');
        line_.text.replace(at, text.size(), text);
    }

    RowLine take() { return std::move(line_); }

private:
    bool started_ = false;
    RowLine line_;
};

} // namespace

std::string RowLine::shown() const
{
    const std::size_t end = text.find_last_not_of(' ');
    if (end == std::string::npos)
        return {};
    return std::string(static_cast<std::size_t>(firstColumn), ' ') + text.substr(0, end + 1);
}

bool ScreenRowTexts::syncWith(RadioImage& image)
{
    image.applyFeatureGating();
    if (builtFrom_ && *builtFrom_ == image)
        return false;
    rows_.clear();
    builtFrom_ = image;
    return true;
}

const RowLine& ScreenRowTexts::line(RadioImage& image, int row)
{
    const auto index = static_cast<std::size_t>(row);
    if (rows_.size() <= index)
        rows_.resize(index + 1);
    if (!rows_[index]) {
        LineCanvas canvas;
        drawLine(canvas, image, row, 0, false, kScreenFirstChannelLine);
        rows_[index] = canvas.take();
        // A repaired name is the drawing's own change, not a new configuration.
        builtFrom_ = image;
    }
    return *rows_[index];
}

void ScreenRowTexts::clear()
{
    builtFrom_.reset();
    rows_.clear();
}

} // namespace kq904
