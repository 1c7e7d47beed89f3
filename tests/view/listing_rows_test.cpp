// The row arithmetic shared by the window, printing and the command line.
#include <gtest/gtest.h>

#include "listing_fixtures.h"
#include "recording_canvas.h"
#include "view/listing.h"
#include "view/listing_rows.h"

using namespace kq904;
using namespace kq904::test;

TEST(ListingRows, ScreenRowsAndChannels)
{
    RadioImage image = dealerImage(10);
    EXPECT_EQ(screenRowCount(image), 13);
    EXPECT_EQ(printedRowCount(image), 30);
    EXPECT_EQ(channelOfScreenRow(image, 2), -1);
    EXPECT_EQ(channelOfScreenRow(image, 3), 0);
    EXPECT_EQ(channelOfScreenRow(image, 12), 9);
    EXPECT_EQ(channelOfScreenRow(image, 13), -1);
    EXPECT_EQ(screenRowOfChannel(4), 7);

    // A damaged channel count is held within the 99 records.
    image.general.set(GeneralSettings::channelCount, 200u);
    EXPECT_EQ(screenRowCount(image), 102);
    image.general.set(GeneralSettings::channelCount, 0u);
    EXPECT_EQ(screenRowCount(image), 4);
}

TEST(ListingRows, RowsInBand)
{
    struct Case {
        const char* what;
        std::int64_t top, bottom;
        bool partial;
        int first, last;
    };
    // Rows 10 units high, 13 rows.
    const Case cases[] = {
        {"exact rows", 0, 30, true, 0, 2},
        {"exact rows, whole only", 0, 30, false, 0, 2},
        {"partial at both ends", 5, 35, true, 0, 3},
        {"partial rows left out", 5, 35, false, 1, 2},
        {"limited to the last row", 100, 500, true, 10, 12},
        {"one unit", 37, 38, true, 3, 3},
        {"one unit, whole rows only", 37, 38, false, 0, -1},
        {"below the last row", 200, 300, true, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const RowRange r = rowsInBand(c.top, c.bottom, 10, 13, c.partial);
        if (c.last < c.first) {
            EXPECT_TRUE(r.empty());
        } else {
            EXPECT_EQ(r.first, c.first);
            EXPECT_EQ(r.last, c.last);
        }
    }
}

// 50 channels at 60 rows a page: page 1 holds the summary, the titles and channels 1-40,
// page 2 channels 41-50.
TEST(ListingRows, PrintPaging)
{
    RadioImage image = dealerImage(50);
    const PrintPaging paging = PrintPaging::forPage(image, 6000, 100);
    EXPECT_EQ(paging.rowsPerPage, 60);
    EXPECT_EQ(paging.pageCount, 2);
    const RowRange page1 = paging.rowsOfPage(1);
    EXPECT_EQ(page1.first, 0);
    EXPECT_EQ(page1.last, 59); // row 59 = channel 40
    const RowRange page2 = paging.rowsOfPage(2);
    EXPECT_EQ(page2.first, 60);
    EXPECT_EQ(page2.last, 69); // row 69 = channel 50

    // A font taller than the page still prints, one row a page.
    const PrintPaging tall = PrintPaging::forPage(image, 50, 100);
    EXPECT_EQ(tall.rowsPerPage, 1);
    EXPECT_EQ(tall.pageCount, 70);
}

// Rows whose position no longer fits 32 bits are not drawn: the first shows "ERROR 1" and the
// drawing stops there.
TEST(ListingRows, RowPastLastViewableShowsError)
{
    RadioImage image = dealerImage(99);
    const int rowHeight = 30000000;
    ASSERT_EQ(lastViewableRow(rowHeight), 70);
    RecordingCanvas canvas(1, rowHeight, false);
    drawScreenRows(canvas, image, {0, 101}, kNoSelectedRow);
    ASSERT_FALSE(canvas.texts.empty());
    EXPECT_EQ(canvas.texts.back().text, "ERROR 1");
    EXPECT_EQ(canvas.texts.back().x, 0);
    EXPECT_EQ(canvas.texts.back().y, 71 * rowHeight);
    EXPECT_EQ(canvas.fills.size(), 71u);
}

// The summary is drawn only with the first page's rows.
TEST(ListingRows, SummaryOnlyOnFirstPage)
{
    RadioImage image = dealerImage(50);
    RecordingCanvas first(1, 1, true);
    drawPrintedRows(first, image, {0, 59}, 1);
    EXPECT_EQ(first.texts.front().text, "key Beep :");
    RecordingCanvas second(1, 1, true);
    drawPrintedRows(second, image, {60, 69}, 1);
    ASSERT_FALSE(second.texts.empty());
    for (const auto& t : second.texts)
        EXPECT_GE(t.y, 60);
}
