#include "app_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace kq904 {

namespace {

// Draws on a 32 x 32 grid scaled to the pixmap's size.
template <typename Draw> QPixmap drawn(int size, Draw draw)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    draw(painter);
    return pixmap;
}

void drawRadio(QPainter& painter)
{
    // Antenna.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 40, 40));
    painter.drawRoundedRect(QRectF(9, 1, 4, 11), 1.5, 1.5);
    // Body.
    painter.setBrush(QColor(30, 60, 110));
    painter.drawRoundedRect(QRectF(7, 8, 18, 23), 3, 3);
    // Display.
    painter.setBrush(QColor(150, 215, 160));
    painter.drawRect(QRectF(10, 11, 12, 6));
    // Keypad.
    painter.setBrush(QColor(220, 225, 235));
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            painter.drawRect(QRectF(10 + column * 4.5, 20 + row * 3.5, 3, 2.2));
}

void drawPrinter(QPainter& painter)
{
    painter.setPen(QPen(QColor(60, 60, 60), 1.5));
    // Paper in.
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(9, 3, 14, 10));
    // Body.
    painter.setBrush(QColor(150, 155, 165));
    painter.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);
    // Paper out, with lines of print.
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(8, 19, 16, 10));
    painter.setPen(QPen(QColor(60, 60, 60), 1.2));
    painter.drawLine(QPointF(11, 23), QPointF(21, 23));
    painter.drawLine(QPointF(11, 26), QPointF(19, 26));
}

} // namespace

QIcon applicationIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(drawn(size, drawRadio));
    return icon;
}

QIcon printerIcon()
{
    QIcon icon;
    for (int size : {16, 32})
        icon.addPixmap(drawn(size, drawPrinter));
    return icon;
}

} // namespace kq904
