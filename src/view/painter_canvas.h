#pragma once
// The listing's canvas on a QPainter: the window, a printer page, a print preview or a PDF.
// Positions are the painter's logical coordinates (one unit = one device pixel unless the
// painter is transformed); the painter's font is the listing's font. With a fixed-pitch font
// the canvas adjusts the painter font's letter spacing so each character is exactly one column
// wide.

#include <QColor>
#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QStaticText>
#include <string>

#include "view/canvas.h"

namespace kq904 {

class PainterCanvas final : public Canvas {
public:
    ~PainterCanvas() override;
    PainterCanvas(const PainterCanvas&) = delete;
    PainterCanvas& operator=(const PainterCanvas&) = delete;

    struct Colours {
        QColor window = Qt::white;
        QColor text = Qt::black;
        QColor highlight = QColor(0, 120, 215);
        QColor highlightedText = Qt::white;
    };

    // Laid-out rows kept from one paint to the next by the window that paints them: a listing
    // repainted unchanged lays out no text again. Cleared by its owner when the font changes.
    using TextCache = QHash<QString, QStaticText>;

    // Screen: row backgrounds span [visibleLeft, visibleLeft + visibleWidth) and the selected
    // row is highlighted. Paper: no backgrounds, black on white.
    static PainterCanvas forScreen(QPainter& painter, const Colours& colours, int visibleLeft,
        int visibleWidth, TextCache* cache = nullptr);
    static PainterCanvas forPaper(QPainter& painter);

    int averageCharWidth() const override { return averageCharWidth_; }
    int charHeight() const override { return charHeight_; }
    bool isPrinting() const override { return printing_; }
    void drawText(int x, int y, std::string_view text) override;
    void fillRowBackground(int y, int height, bool selected) override;
    void setSelectedText(bool selected) override;

    // True when every character is exactly one column wide, so a row's cells may be drawn as
    // one line of characters.
    bool drawsRowsAsLines() const { return collectRows_; }

    // Draws text still held back (see drawText); the painter must not change its transform or
    // clip between drawing and this. Also done on destruction.
    void flush();

    // The average character width and full height of the painter's font on its device; both at
    // least 1, so row arithmetic never divides by zero.
    static int averageCharWidth(const QFontMetrics& metrics);
    static int charHeight(const QFontMetrics& metrics);

private:
    PainterCanvas(QPainter& painter, const Colours& colours, bool printing, int visibleLeft,
        int visibleWidth, TextCache* cache);
    void drawNow(int x, int y, const QString& text);

    QPainter& painter_;
    TextCache* cache_ = nullptr;
    Colours colours_;
    bool printing_;
    int visibleLeft_;
    int visibleWidth_;
    QFontMetrics metrics_;
    int averageCharWidth_;
    int charHeight_;
    QColor textColour_;
    QColor textBackground_;

    // With a fixed-pitch font whose every character is exactly one column wide, the cells of
    // one row are collected into a line of characters and drawn with one call: text set at
    // column positions looks the same either way, and a listing row costs one text layout
    // instead of sixteen.
    bool collectRows_ = false;
    bool collecting_ = false;
    int lineY_ = 0;
    int lineFirstColumn_ = 0;
    std::string line_;
    // The band the last row background filled.
    int filledTop_ = 0;
    int filledBottom_ = 0;
};

} // namespace kq904
