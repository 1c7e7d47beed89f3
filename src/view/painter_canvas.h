#pragma once
// The listing's canvas on a QPainter: the window, a printer page, a print preview or a PDF.
// Positions are the painter's logical coordinates (one unit = one device pixel unless the
// painter is transformed); the painter's font is the listing's font.

#include <QColor>
#include <QFontMetrics>
#include <QPainter>

#include "view/canvas.h"

namespace kq904 {

class PainterCanvas final : public Canvas {
public:
    struct Colours {
        QColor window = Qt::white;
        QColor text = Qt::black;
        QColor highlight = QColor(0, 120, 215);
        QColor highlightedText = Qt::white;
    };

    // Screen: row backgrounds span [visibleLeft, visibleLeft + visibleWidth) and the selected
    // row is highlighted. Paper: no backgrounds, black on white.
    static PainterCanvas forScreen(
        QPainter& painter, const Colours& colours, int visibleLeft, int visibleWidth);
    static PainterCanvas forPaper(QPainter& painter);

    int averageCharWidth() const override { return averageCharWidth_; }
    int charHeight() const override { return charHeight_; }
    bool isPrinting() const override { return printing_; }
    void drawText(int x, int y, std::string_view text) override;
    void fillRowBackground(int y, int height, bool selected) override;
    void setSelectedText(bool selected) override;

    // The average character width and full height of the painter's font on its device; both at
    // least 1, so row arithmetic never divides by zero.
    static int averageCharWidth(const QFontMetrics& metrics);
    static int charHeight(const QFontMetrics& metrics);

private:
    PainterCanvas(QPainter& painter, const Colours& colours, bool printing, int visibleLeft,
        int visibleWidth);

    QPainter& painter_;
    Colours colours_;
    bool printing_;
    int visibleLeft_;
    int visibleWidth_;
    QFontMetrics metrics_;
    int averageCharWidth_;
    int charHeight_;
    QColor textColour_;
    QColor textBackground_;
};

} // namespace kq904
