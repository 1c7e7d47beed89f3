// The listing's canvas on a QPainter: cells placed by column, later text covering earlier text
// (spaces included), and the selected row's colours on the screen only.
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "view/painter_canvas.h"

namespace kq904 {
namespace {

const PainterCanvas::Colours kColours{Qt::white, Qt::black, QColor(0, 0, 200), Qt::yellow};

class PainterCanvasTest : public ::testing::Test {
protected:
    PainterCanvasTest()
        : image(600, 40, QImage::Format_RGB32)
    {
        image.fill(Qt::white);
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    }

    // Whether anything other than `background` was drawn in character column `column` of the
    // row at y.
    bool inked(int column, int y, int width, int height, QColor background = Qt::white) const
    {
        for (int py = y; py < y + height; ++py)
            for (int px = column * width; px < (column + 1) * width; ++px)
                if (image.pixelColor(px, py) != background)
                    return true;
        return false;
    }

    QImage image;
    QFont font;
};

TEST_F(PainterCanvasTest, LaterTextCoversEarlierTextSpacesIncluded)
{
    int width = 0;
    int height = 0;
    {
        QPainter painter(&image);
        painter.setFont(font);
        PainterCanvas canvas = PainterCanvas::forScreen(painter, kColours, 0, image.width());
        width = canvas.averageCharWidth();
        height = canvas.charHeight();
        canvas.drawText(0, 0, "MMMMMM");
        canvas.drawText(2 * width, 0, "  ");
        canvas.drawText(8 * width, 0, "M");
    }
    for (int column : {0, 1, 4, 5, 8})
        EXPECT_TRUE(inked(column, 0, width, height)) << column;
    for (int column : {2, 3, 6, 7, 9})
        EXPECT_FALSE(inked(column, 0, width, height)) << column;
}

TEST_F(PainterCanvasTest, ColumnsLineUpWhetherTextIsDrawnInOnePieceOrInCells)
{
    QImage cells = image;
    QImage whole = image;
    for (QImage* target : {&cells, &whole}) {
        QPainter painter(target);
        painter.setFont(font);
        PainterCanvas canvas = PainterCanvas::forScreen(painter, kColours, 0, target->width());
        const int width = canvas.averageCharWidth();
        if (target == &cells) {
            canvas.drawText(0, 0, " 7");
            canvas.drawText(4 * width, 0, "DEPOT");
            canvas.drawText(14 * width, 0, "150.01250");
        } else {
            canvas.drawText(0, 0, " 7  DEPOT     150.01250");
        }
    }
    EXPECT_EQ(cells, whole);
}

TEST_F(PainterCanvasTest, SelectedRowUsesTheHighlightOnTheScreenOnly)
{
    int height = 0;
    {
        QPainter painter(&image);
        painter.setFont(font);
        PainterCanvas canvas = PainterCanvas::forScreen(painter, kColours, 0, image.width());
        height = canvas.charHeight();
        canvas.fillRowBackground(0, height, true);
        canvas.setSelectedText(true);
        canvas.drawText(0, 0, "CH01");
        canvas.setSelectedText(false);
        canvas.fillRowBackground(height, height, false);
        canvas.drawText(0, height, "CH02");
    }
    EXPECT_EQ(image.pixelColor(image.width() - 1, height / 2), QColor(0, 0, 200));
    EXPECT_EQ(image.pixelColor(image.width() - 1, height + height / 2), QColor(Qt::white));
    bool yellowInk = false;
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < height; ++y)
            yellowInk = yellowInk || image.pixelColor(x, y).red() > 200;
    EXPECT_TRUE(yellowInk) << "selected text is drawn in the highlight-text colour";

    QImage paper(200, 40, QImage::Format_RGB32);
    paper.fill(Qt::white);
    {
        QPainter painter(&paper);
        painter.setFont(font);
        PainterCanvas canvas = PainterCanvas::forPaper(painter);
        EXPECT_TRUE(canvas.isPrinting());
        canvas.fillRowBackground(0, 20, true);
        canvas.setSelectedText(true);
    }
    EXPECT_EQ(paper.pixelColor(100, 10), QColor(Qt::white));
}

} // namespace
} // namespace kq904
