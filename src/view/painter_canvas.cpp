#include "painter_canvas.h"

#include <QString>
#include <algorithm>

namespace kq904 {

PainterCanvas::PainterCanvas(
    QPainter& painter, const Colours& colours, bool printing, int visibleLeft, int visibleWidth)
    : painter_(painter)
    , colours_(colours)
    , printing_(printing)
    , visibleLeft_(visibleLeft)
    , visibleWidth_(visibleWidth)
    , metrics_(painter.font(), painter.device())
    , averageCharWidth_(averageCharWidth(metrics_))
    , charHeight_(charHeight(metrics_))
    , textColour_(colours.text)
    , textBackground_(colours.window)
{ }

PainterCanvas PainterCanvas::forScreen(
    QPainter& painter, const Colours& colours, int visibleLeft, int visibleWidth)
{
    return PainterCanvas(painter, colours, false, visibleLeft, visibleWidth);
}

PainterCanvas PainterCanvas::forPaper(QPainter& painter)
{
    return PainterCanvas(painter, Colours{}, true, 0, 0);
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
    const QString string = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    // Text is opaque: its cells take the text background, so later text covers earlier text.
    painter_.fillRect(
        QRect(x, y, metrics_.horizontalAdvance(string), charHeight_), textBackground_);
    painter_.setPen(textColour_);
    painter_.drawText(x, y + metrics_.ascent(), string);
}

void PainterCanvas::fillRowBackground(int y, int height, bool selected)
{
    if (printing_)
        return;
    painter_.fillRect(QRect(visibleLeft_, y, visibleWidth_, height),
        selected ? colours_.highlight : colours_.window);
}

void PainterCanvas::setSelectedText(bool selected)
{
    if (printing_)
        return;
    textColour_ = selected ? colours_.highlightedText : colours_.text;
    textBackground_ = selected ? colours_.highlight : colours_.window;
}

} // namespace kq904
