#pragma once
// The main window's client area: the listing of the configuration as rows of fixed-pitch text,
// three title rows and one row per channel, with the selected rows highlighted. The user moves
// the active row with the mouse and the keys, selects several channel rows with Shift and Ctrl
// as in any list, and opens the Channel Setting form on the active row's channel by
// double-clicking its row or pressing Enter or F2 on it. Only the rows that meet the area being
// painted are drawn, and a selection change repaints just the rows whose state changed. The rows'
// text is composed once per change of the configuration and kept; assistive technology reads
// the same text (listing_accessible.h).

#include <QAbstractScrollArea>
#include <functional>
#include <vector>

#include "document.h"
#include "view/painter_canvas.h"
#include "view/row_selection.h"
#include "view/screen_row_texts.h"

class QPainter;

namespace kq904 {

class ListingAccessible;

class CKQ904View : public QAbstractScrollArea, public DocumentView {
    Q_OBJECT
public:
    CKQ904View(CKQ904Doc& document, QWidget* parent);
    ~CKQ904View() override;

    // A full redraw for the refresh hint (255); otherwise the named row and the row selected
    // before are redrawn and the named row is scrolled into view.
    void onDocumentUpdate(unsigned hint) override;

    int rowHeight() const { return rowHeight_; }
    // Width of a row as the scrolling steps count it: 68 average character widths.
    int rowWidth() const { return rowWidth_; }
    // The rectangle of row r in viewport coordinates, across the viewport's width.
    QRect rowRect(int row) const;
    // The rows the last paint drew, in drawing order (for diagnostics and tests).
    const std::vector<int>& lastPaintedRows() const { return lastPaintedRows_; }

    // Three title rows, then one row per channel in use.
    int rowCount() const;
    // The row under a point of the viewport, or -1 below the last row.
    int rowAt(const QPoint& point) const;
    // Row r's text exactly as drawn (as the character-grid listing renders it, without trailing
    // spaces).
    QString rowText(int row);

    // Selection: the active row (the document's), which the Channel Setting form opens on, and
    // the rows shown selected, which copy, cut, delete and the moves work on.
    int activeRow() const { return static_cast<int>(document_.activeRow()); }
    bool isRowSelected(int row) const { return selection_.contains(row); }
    const RowSelection& selection() const { return selection_; }
    // Channel rows can be selected; the title rows cannot.
    bool isRowSelectable(int row) const;
    // The selected channels (0-based, ascending).
    std::vector<int> selectedChannels() const;
    // Selects channels first to last (0-based) with `active` as the active row's channel.
    void selectChannels(int first, int last, int active);
    // Selects the given channels (0-based) with `active` as the active row's channel.
    void selectChannels(const std::vector<int>& channels, int active);
    // Every channel row; the active row stays.
    void selectAllChannels();

signals:
    // A double click, Enter or F2: open the Channel Setting form on this channel.
    void channelFormRequested(int channel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    // The listing's accessible interface while assistive technology is listening, else null.
    ListingAccessible* accessible();
    void measureRows();
    void updateScrollSizes();
    void updateRow(int row);
    void scrollRowIntoView(int row);
    // How the next move of the active row changes the selection.
    enum class Gesture {
        Only, // the active row alone (a plain click or arrow key)
        Toggle, // the row joins or leaves (Ctrl+click, Ctrl+Space)
        Extend, // the rows from the anchor (Shift)
        ExtendAdding, // the rows from the anchor, added (Ctrl+Shift)
        Keep, // as set already (selectChannels)
    };
    // Moves the active row through the document, the selection following by `gesture`.
    void moveActive(Gesture gesture, const std::function<void()>& move);
    void selectRowAt(const QPoint& point, Gesture gesture);
    static Gesture gestureFor(Qt::KeyboardModifiers modifiers);
    // Repaints and announces the rows whose selected state changed since it was last shown.
    void showSelection(int previousActive);
    void drawActiveRowFrame(QPainter& painter, int dx);

    CKQ904Doc& document_;
    int rowWidth_ = 0;
    int rowHeight_ = 1;
    int averageCharWidth_ = 1;
    int prevSelectedRow_ = 0;
    int prevRowCount_ = 0;
    RowSelection selection_;
    RowSelection shownSelection_; // as last painted and announced
    Gesture gesture_ = Gesture::Only;
    std::vector<int> lastPaintedRows_;
    PainterCanvas::TextCache textCache_;
    ScreenRowTexts rowTexts_;
};

} // namespace kq904
