#include "painter_canvas.h"

#include <QFontInfo>
#include <QString>
#include <algorithm>

namespace kq904 {

PainterCanvas::PainterCanvas(QPainter& painter, const Colours& colours, bool printing,
    int visibleLeft, int visibleWidth, TextCache* cache)
    : painter_(painter)
    , cache_(cache)
    , colours_(colours)
    , printing_(printing)
    , visibleLeft_(visibleLeft)
    , visibleWidth_(visibleWidth)
    , metrics_(painter.font(), painter.device())
    , averageCharWidth_(averageCharWidth(metrics_))
    , charHeight_(charHeight(metrics_))
    , textColour_(colours.text)
    , textBackground_(colours.window)
{
    // A fixed-pitch font usually advances by a fraction of a pixel more or less than its
    // rounded average width, which the columns are placed by. Spacing the letters by that
    // difference puts every character exactly on its column, so a row's cells can be drawn as
    // one line of characters.
    const QFontInfo info(painter.font());
    const QFontMetricsF exact(painter.font(), painter.device());
    const qreal advance = exact.horizontalAdvance(QLatin1Char('M'));
    if (!info.fixedPitch() || exact.horizontalAdvance(QLatin1Char('i')) != advance)
        return;
    if (advance != averageCharWidth_) {
        QFont spaced = painter.font();
        spaced.setLetterSpacing(QFont::AbsoluteSpacing, averageCharWidth_ - advance);
        painter.setFont(spaced);
        metrics_ = QFontMetrics(spaced, painter.device());
    }
    constexpr int probe = 64;
    const QFontMetricsF spacedMetrics(painter.font(), painter.device());
    collectRows_ = qAbs(spacedMetrics.horizontalAdvance(QString(probe, QLatin1Char('M')))
                       - probe * averageCharWidth_)
        < 1.0;
}

PainterCanvas::~PainterCanvas()
{
    flush();
}

PainterCanvas PainterCanvas::forScreen(
    QPainter& painter, const Colours& colours, int visibleLeft, int visibleWidth, TextCache* cache)
{
    return PainterCanvas(painter, colours, false, visibleLeft, visibleWidth, cache);
}

PainterCanvas PainterCanvas::forPaper(QPainter& painter)
{
    return PainterCanvas(painter, Colours{}, true, 0, 0, nullptr);
}

int PainterCanvas::averageCharWidth(const QFontMetrics& metrics)
{
    // Columns sit at multiples of this width; with a fixed-pitch font it is every character's
    // advance, so a cell's text never runs into the next column.
    return std::max({metrics.averageCharWidth(), metrics.horizontalAdvance(QLatin1Char('0')), 1});
}

int PainterCanvas::charHeight(const QFontMetrics& metrics)
{
    return std::max(metrics.height(), 1);
}

void PainterCanvas::drawText(int x, int y, std::string_view text)
{
    if (text.empty())
        return;
    if (!collectRows_ || x < 0 || x % averageCharWidth_ != 0) {
        flush();
        drawNow(x, y, QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
        return;
    }
    if (collecting_ && y != lineY_)
        flush();
    const auto column = static_cast<std::size_t>(x / averageCharWidth_);
    if (!collecting_) {
        collecting_ = true;
        lineY_ = y;
        lineFirstColumn_ = static_cast<int>(column);
        line_.clear();
    }
    // The line starts at its first column; text left of it moves the start.
    if (static_cast<int>(column) < lineFirstColumn_) {
        line_.insert(0, static_cast<std::size_t>(lineFirstColumn_) - column, ' ');
        lineFirstColumn_ = static_cast<int>(column);
    }
    const std::size_t at = column - static_cast<std::size_t>(lineFirstColumn_);
    if (line_.size() < at + text.size())
        line_.resize(at + text.size(), ' ');
    line_.replace(at, text.size(), text);
}

void PainterCanvas::flush()
{
    if (!collecting_)
        return;
    collecting_ = false;
    const QString text = QString::fromLatin1(line_.data(), static_cast<qsizetype>(line_.size()));
    const int x = lineFirstColumn_ * averageCharWidth_;
    // The line holds every cell of its row, later ones already over earlier ones; what lies
    // under it is the row's fresh background on the screen, or blank paper.
    const bool onFreshBackground =
        printing_ || (lineY_ >= filledTop_ && lineY_ + charHeight_ <= filledBottom_);
    if (!onFreshBackground)
        painter_.fillRect(
            QRect(x, lineY_, metrics_.horizontalAdvance(text), charHeight_), textBackground_);
    painter_.setPen(textColour_);
    if (!cache_) {
        painter_.drawText(x, lineY_ + metrics_.ascent(), text);
        return;
    }
    // A window's rows repeat from paint to paint; bound the cache to a few listings' worth.
    constexpr qsizetype kCachedRows = 1024;
    auto found = cache_->find(text);
    if (found == cache_->end()) {
        if (cache_->size() >= kCachedRows)
            cache_->clear();
        QStaticText laidOut(text);
        laidOut.setTextFormat(Qt::PlainText);
        // Drawing compares the layout's transform with the painter's less its translation, so
        // a layout made under the scrolling offset would be made again at every draw.
        const QTransform& t = painter_.transform();
        laidOut.prepare(
            QTransform(t.m11(), t.m12(), t.m13(), t.m21(), t.m22(), t.m23(), 0, 0, t.m33()),
            painter_.font());
        found = cache_->insert(text, laidOut);
    }
    painter_.drawStaticText(x, lineY_, *found);
}

void PainterCanvas::drawNow(int x, int y, const QString& text)
{
    // Text is opaque: its cells take the text background, so later text covers earlier text.
    painter_.fillRect(QRect(x, y, metrics_.horizontalAdvance(text), charHeight_), textBackground_);
    painter_.setPen(textColour_);
    painter_.drawText(x, y + metrics_.ascent(), text);
}

void PainterCanvas::fillRowBackground(int y, int height, bool selected)
{
    if (printing_)
        return;
    flush();
    painter_.fillRect(QRect(visibleLeft_, y, visibleWidth_, height),
        selected ? colours_.highlight : colours_.window);
    // The row's text then lies on this fresh background and needs no background of its own.
    filledTop_ = y;
    filledBottom_ = y + height;
}

void PainterCanvas::setSelectedText(bool selected)
{
    if (printing_)
        return;
    flush();
    textColour_ = selected ? colours_.highlightedText : colours_.text;
    textBackground_ = selected ? colours_.highlight : colours_.window;
}

} // namespace kq904
