// The listing in the real window: what is drawn where, selection by keys and mouse, the two-row
// repaint of a selection move, scrolling and the feature switches applied before drawing.
#include <QAccessible>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "app/listing_view.h"
#include "app/sample_configuration.h"
#include "app_test_support.h"
#include "forms/widgets/channel_setting_dialog.h"
#include "model/channel_label.h"
#include "model/set_file.h"
#include "view/listing_text.h"

namespace kq904 {
namespace {

using testing::AppFixture;
using testing::shownTitle;
using testing::writeFile;

class ListingViewTest : public AppFixture {
protected:
    // A window on a set file of `channels` sample channels, with the features it uses allowed.
    CKQ904View& openWindow(int channels, QSize size = QSize(1000, 600))
    {
        writeFile(dataDir() / "kq904.ini", "ani_version channel_name");
        RadioImage sample = sampleConfiguration(channels);
        EXPECT_TRUE(saveSetFile(sample, file("radio.set")));
        CMainFrame& window = startWindow();
        EXPECT_TRUE(window.openFile(QString::fromStdString(file("radio.set").string())));
        showWindow(size);
        return *window.view();
    }

    CKQ904Doc& document() { return session_->document(); }

    // Paints what is pending and returns the rows that paint drew.
    static std::vector<int> paintedRows(CKQ904View& view)
    {
        settle();
        return view.lastPaintedRows();
    }

    static QPoint pointInRow(const CKQ904View& view, int row)
    {
        return QPoint(40, view.rowRect(row).center().y());
    }

    // The colour of a row's background, left of any text.
    static QColor rowBackground(CKQ904View& view, int row)
    {
        const QImage image = view.viewport()->grab().toImage();
        const QRect rect = view.rowRect(row);
        return image.pixelColor(image.width() - 5, rect.center().y());
    }
};

std::vector<int> rowsFromTo(int first, int last)
{
    std::vector<int> rows;
    for (int row = first; row <= last; ++row)
        rows.push_back(row);
    return rows;
}

TEST_F(ListingViewTest, ShowsEveryRowOfTheListingWithTheFirstChannelSelected)
{
    CKQ904View& view = openWindow(10);
    view.viewport()->update();
    // Three title rows and ten channel rows: the screen shows 13 rows.
    EXPECT_EQ(paintedRows(view), rowsFromTo(0, 12));
    EXPECT_EQ(shownTitle(*window_), "radio.set - KQ904 Programmer V5.12");
    EXPECT_EQ(document().activeRow(), 3U);

    const QPalette& palette = view.palette();
    EXPECT_EQ(rowBackground(view, 3), palette.color(QPalette::Highlight));
    EXPECT_EQ(rowBackground(view, 4), palette.color(QPalette::Base));
    // Rows of text: a channel row has ink on it, the empty third title row and the space
    // below the listing have none.
    const QImage image = view.viewport()->grab().toImage();
    auto inked = [&](int top, int height) {
        for (int y = top; y < top + height; ++y)
            for (int x = 0; x < 300; ++x)
                if (image.pixelColor(x, y) != palette.color(QPalette::Base))
                    return true;
        return false;
    };
    EXPECT_TRUE(inked(view.rowRect(4).top(), view.rowHeight()));
    EXPECT_FALSE(inked(view.rowRect(2).top(), view.rowHeight()));
    EXPECT_FALSE(inked(view.rowRect(13).top(), view.rowHeight()));
}

TEST_F(ListingViewTest, KeysMoveTheSelectionAndRepaintOnlyTheTwoRowsConcerned)
{
    CKQ904View& view = openWindow(10);
    struct Case {
        Qt::Key key;
        unsigned selected;
        std::vector<int> repainted;
    };
    const Case cases[] = {
        {Qt::Key_Down, 4, {3, 4}},
        {Qt::Key_Down, 5, {4, 5}},
        {Qt::Key_Up, 4, {4, 5}},
        {Qt::Key_End, 12, {4, 12}},
        {Qt::Key_Down, 12, {12}}, // the last channel: nothing moves, the row is still redrawn
        {Qt::Key_Home, 3, {3, 12}},
        {Qt::Key_Up, 3, {3}},
    };
    for (const Case& c : cases) {
        QTest::keyClick(&view, c.key);
        EXPECT_EQ(document().activeRow(), c.selected) << c.key;
        std::vector<int> rows = paintedRows(view);
        std::sort(rows.begin(), rows.end());
        EXPECT_EQ(rows, c.repainted) << c.key;
        EXPECT_EQ(rowBackground(view, static_cast<int>(c.selected)),
            view.palette().color(QPalette::Highlight));
    }
}

// Several rows, as in any list: Shift extends from the anchor, Ctrl adds or takes away a row;
// only the rows whose state changed are repainted, and the title rows never join.
TEST_F(ListingViewTest, ShiftAndCtrlSelectSeveralRowsAndRepaintOnlyThoseThatChanged)
{
    CKQ904View& view = openWindow(10);
    struct Case {
        std::function<void()> gesture;
        unsigned active;
        std::vector<int> selected;
        std::vector<int> repainted;
    };
    const auto key = [&view](Qt::Key k, Qt::KeyboardModifiers m) {
        return [&view, k, m] { QTest::keyClick(&view, k, m); };
    };
    const auto click = [&view](int row, Qt::KeyboardModifiers m) {
        return [&view, row, m] {
            QTest::mouseClick(view.viewport(), Qt::LeftButton, m, pointInRow(view, row));
        };
    };
    const Case cases[] = {
        {key(Qt::Key_Down, Qt::ShiftModifier), 4, {3, 4}, {3, 4}},
        {key(Qt::Key_Down, Qt::ShiftModifier), 5, {3, 4, 5}, {4, 5}},
        {key(Qt::Key_Up, Qt::ShiftModifier), 4, {3, 4}, {4, 5}},
        {click(8, Qt::ControlModifier), 8, {3, 4, 8}, {4, 8}},
        {click(10, Qt::ShiftModifier), 10, {8, 9, 10}, {3, 4, 8, 9, 10}},
        {click(0, Qt::ShiftModifier | Qt::ControlModifier), 3, {3, 4, 5, 6, 7, 8, 9, 10},
            {3, 4, 5, 6, 7, 10}},
        {key(Qt::Key_Space, Qt::ControlModifier), 3, {4, 5, 6, 7, 8, 9, 10}, {3}},
        {key(Qt::Key_Down, {}), 4, {4}, {3, 4, 5, 6, 7, 8, 9, 10}},
    };
    for (const Case& c : cases) {
        c.gesture();
        EXPECT_EQ(document().activeRow(), c.active);
        EXPECT_EQ(view.selection().rows(), c.selected);
        std::vector<int> rows = paintedRows(view);
        std::sort(rows.begin(), rows.end());
        EXPECT_EQ(rows, c.repainted);
    }
    EXPECT_EQ(rowBackground(view, 4), view.palette().color(QPalette::Highlight));
    EXPECT_EQ(rowBackground(view, 5), view.palette().color(QPalette::Base));
}

TEST_F(ListingViewTest, MouseSelectsChannelRowsAndDoubleClickEnterOrF2AskForTheChannelForm)
{
    CKQ904View& view = openWindow(10);
    QSignalSpy requests(&view, &CKQ904View::channelFormRequested);

    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, pointInRow(view, 7));
    EXPECT_EQ(document().activeRow(), 7U);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, pointInRow(view, 1));
    EXPECT_EQ(document().activeRow(), 3U) << "a title row selects the first channel";
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, pointInRow(view, 9));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, pointInRow(view, 20));
    EXPECT_EQ(document().activeRow(), 9U) << "a click below the last row changes nothing";

    // Channel 5 is row 7: the Channel Setting form opens on it.
    int formChannel = -1;
    testing::inspectNextModal([&formChannel](QWidget* modal) {
        if (auto* form = qobject_cast<CChannelSettingDlg*>(modal))
            formChannel = form->currentChannel();
    });
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, pointInRow(view, 7));
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests.front().front().toInt(), 4);
    EXPECT_EQ(formChannel, 4);
    EXPECT_EQ(document().activeRow(), 7U);

    // Enter and F2 are the keyboard's double click on the selected row.
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_F2}) {
        QTest::keyClick(&view, Qt::Key_Down);
        testing::inspectNextModal([](QWidget*) {});
        QTest::keyClick(&view, key);
        EXPECT_EQ(requests.back().front().toInt(), document().currentChannel()) << key;
    }
    EXPECT_EQ(requests.size(), 4);
}

TEST_F(ListingViewTest, SelectionScrollsIntoViewAndPageKeysScrollOnly)
{
    // 99 channels in a window that shows about a dozen rows.
    CKQ904View& view = openWindow(99, QSize(900, 300));
    QScrollBar* scroll = view.verticalScrollBar();
    EXPECT_EQ(scroll->value(), 0);
    EXPECT_EQ(scroll->maximum(), 102 * view.rowHeight() - view.viewport()->height());

    QTest::keyClick(&view, Qt::Key_End);
    settle();
    EXPECT_EQ(document().activeRow(), 101U);
    EXPECT_EQ(scroll->value(), scroll->maximum());
    EXPECT_EQ(view.rowRect(101).bottom(), view.viewport()->height() - 1);

    QTest::keyClick(&view, Qt::Key_Home);
    settle();
    EXPECT_EQ(document().activeRow(), 3U);
    EXPECT_EQ(scroll->value(), 3 * view.rowHeight());

    QTest::keyClick(&view, Qt::Key_PageDown);
    EXPECT_EQ(document().activeRow(), 3U);
    EXPECT_EQ(scroll->value(), 3 * view.rowHeight() + scroll->pageStep());
    const int rowsPerPage = view.viewport()->height() / view.rowHeight();
    EXPECT_EQ(scroll->pageStep(), (rowsPerPage - 1) * view.rowHeight());
    QTest::keyClick(&view, Qt::Key_PageUp);
    EXPECT_EQ(scroll->value(), 3 * view.rowHeight());

    // Only the rows in sight are drawn.
    view.viewport()->update();
    const std::vector<int> rows = paintedRows(view);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), 3);
    EXPECT_LE(rows.size(), static_cast<std::size_t>(rowsPerPage + 1));
}

TEST_F(ListingViewTest, EveryColumnCanBeScrolledIntoANarrowWindow)
{
    CKQ904View& view = openWindow(5, QSize(400, 300));
    QScrollBar* horizontal = view.horizontalScrollBar();
    // DTMF on: the widest line ends with the selective-call column's "- - -" at 115.
    const int charWidth = view.rowWidth() / 68;
    EXPECT_EQ(horizontal->maximum() + view.viewport()->width(), 120 * charWidth);
}

TEST_F(ListingViewTest, RefreshRedrawsEverythingAndFollowsAShrinkingChannelCount)
{
    CKQ904View& view = openWindow(10);
    QTest::keyClick(&view, Qt::Key_End);
    settle();
    session_->image().setChannelCount(4);
    session_->refreshRequested(); // what the link sends after a reading
    EXPECT_EQ(paintedRows(view), rowsFromTo(0, 6));
    EXPECT_EQ(document().activeRow(), 6U);
    QSignalSpy requests(&view, &CKQ904View::channelFormRequested);
    int formChannel = -1;
    testing::inspectNextModal([&formChannel](QWidget* modal) {
        if (auto* form = qobject_cast<CChannelSettingDlg*>(modal))
            formChannel = form->currentChannel();
    });
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, pointInRow(view, 30));
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests.front().front().toInt(), 3) << "never a slot past the last channel";
    EXPECT_EQ(formChannel, 3);
}

TEST_F(ListingViewTest, FeaturesTheFlagsDoNotAllowAreSwitchedOffBeforeDrawing)
{
    // Names and DTMF set in the file, but kq904.ini allows neither.
    RadioImage sample = sampleConfiguration(6);
    ASSERT_TRUE(saveSetFile(sample, file("radio.set")));
    RadioImage stored;
    ASSERT_TRUE(loadSetFile(stored, file("radio.set")));
    ASSERT_TRUE(stored.fiveCharacterNames());
    CMainFrame& window = startWindow();
    ASSERT_TRUE(window.openFile(QString::fromStdString(file("radio.set").string())));
    showWindow();
    window.view()->viewport()->repaint();
    EXPECT_FALSE(session_->image().fiveCharacterNames());
    EXPECT_FALSE(session_->image().dtmfVersion());
    // Without DTMF the widest line is the RX spacing header's.
    const int charWidth = window.view()->rowWidth() / 68;
    window.view()->resize(300, 300);
    settle();
    EXPECT_EQ(window.view()->horizontalScrollBar()->maximum() + window.view()->viewport()->width(),
        105 * charWidth);
}

// A screen reader reads the listing as a list whose items are the rows exactly as drawn, and
// follows the selection and the configuration. (The events it hears need a platform with an
// accessibility bridge; they are tried through AT-SPI under Xvfb.)
TEST_F(ListingViewTest, AssistiveTechnologyReadsTheRowsAsDrawnAndFollowsTheSelection)
{
    CKQ904View& view = openWindow(10);
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&view);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    const auto expectRowsAsDrawn = [&] {
        RadioImage copy = session_->image();
        const QStringList drawn = QString::fromStdString(screenListingText(copy)).split('\n');
        ASSERT_EQ(list->childCount(), drawn.size() - 1);
        for (int row = 0; row < list->childCount(); ++row) {
            QAccessibleInterface* item = list->child(row);
            EXPECT_EQ(item->text(QAccessible::Name), drawn[row]) << row;
            EXPECT_EQ(list->indexOfChild(item), row);
        }
    };
    expectRowsAsDrawn();
    EXPECT_FALSE(list->child(1)->state().selectable) << "a title row";
    EXPECT_EQ(list->childAt(view.viewport()->mapToGlobal(pointInRow(view, 5)).x(),
                  view.viewport()->mapToGlobal(pointInRow(view, 5)).y()),
        list->child(5));

    window_->activateWindow();
    view.setFocus();
    settle();
    ASSERT_TRUE(view.hasFocus());
    EXPECT_EQ(list->focusChild(), list->child(3));
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_FALSE(list->child(3)->state().selected);
    EXPECT_TRUE(list->child(4)->state().selected);
    EXPECT_TRUE(list->child(4)->state().focused);
    EXPECT_EQ(list->focusChild(), list->child(4));

    // Channel 2 (row 4) renamed, channels 9 and 10 gone.
    storeChannelName(session_->image(), 1, "NEW");
    session_->image().setChannelCount(8);
    session_->refreshRequested();
    expectRowsAsDrawn();
    EXPECT_TRUE(list->child(4)->text(QAccessible::Name).startsWith(" 2  NEW "));
}

} // namespace
} // namespace kq904
