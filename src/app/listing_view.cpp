#include "listing_view.h"

#include <QAccessible>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "listing_accessible.h"
#include "view/listing.h"
#include "view/painter_canvas.h"

namespace kq904 {

namespace {

// Row width in average character widths; the scroll steps are fractions of it.
constexpr int kRowWidthChars = 68;

} // namespace

CKQ904View::CKQ904View(CKQ904Doc& document, QWidget* parent)
    : QAbstractScrollArea(parent)
    , document_(document)
    , prevSelectedRow_(static_cast<int>(document.activeRow()))
{
    QAccessible::installFactory(&ListingAccessible::factory);
    setAccessibleName(QStringLiteral("Listing"));
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setFocusPolicy(Qt::StrongFocus);
    // Every row paints its own background; paintEvent fills only what lies below the rows.
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(false);
    // ... and so every pixel of a paint: what lies behind the viewport need not be drawn first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    measureRows();
    document_.addView(this);
}

CKQ904View::~CKQ904View()
{
    document_.removeView(this);
}

int CKQ904View::rowCount() const
{
    return static_cast<int>(document_.rowCount());
}

int CKQ904View::rowAt(const QPoint& point) const
{
    const std::int64_t y = static_cast<std::int64_t>(point.y()) + verticalScrollBar()->value();
    const RowRange rows = rowsInBand(y, y + 1, rowHeight_, rowCount(), true);
    return rows.empty() ? -1 : rows.first;
}

QString CKQ904View::rowText(int row)
{
    RadioImage& image = document_.image();
    rowTexts_.syncWith(image);
    return QString::fromStdString(rowTexts_.line(image, row).shown());
}

bool CKQ904View::isRowSelectable(int row) const
{
    return row >= static_cast<int>(document_.firstChannelLine()) && row < rowCount();
}

ListingAccessible* CKQ904View::accessible()
{
    if (!QAccessible::isActive())
        return nullptr;
    return dynamic_cast<ListingAccessible*>(QAccessible::queryAccessibleInterface(this));
}

void CKQ904View::measureRows()
{
    const QFontMetrics metrics(font(), viewport());
    averageCharWidth_ = PainterCanvas::averageCharWidth(metrics);
    rowHeight_ = PainterCanvas::charHeight(metrics);
    rowWidth_ = averageCharWidth_ * kRowWidthChars;
}

QRect CKQ904View::rowRect(int row) const
{
    const int top = row * rowHeight_ - verticalScrollBar()->value();
    return QRect(0, top, viewport()->width(), rowHeight_);
}

void CKQ904View::updateScrollSizes()
{
    measureRows();
    // The width depends on the DTMF version, which the drawing first gates by the feature
    // flags; gate here too so the range matches what is drawn.
    document_.image().applyFeatureGating();
    const int rowsShown = std::min(rowCount(), lastViewableRow(rowHeight_));
    const int totalHeight = rowsShown * rowHeight_;
    // The horizontal range covers the widest listing line, so every column can be scrolled
    // into a narrow window.
    const int totalWidth =
        std::max(rowWidth_, listingWidthChars(document_.image()) * averageCharWidth_);
    const QSize client = viewport()->size();

    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, totalHeight - client.height()));
    vertical->setPageStep(std::max(rowHeight_, (client.height() / rowHeight_ - 1) * rowHeight_));
    vertical->setSingleStep(rowHeight_);

    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, totalWidth - client.width()));
    horizontal->setPageStep(std::max(1, rowWidth_ / 5));
    horizontal->setSingleStep(std::max(1, rowWidth_ / 20));
    prevRowCount_ = rowCount();
}

void CKQ904View::onDocumentUpdate(unsigned hint)
{
    const unsigned row = hint & 0xFFFF;
    if (row != kFullRedrawHint) {
        updateRow(static_cast<int>(row));
        return;
    }
    // A full redraw follows a change of the configuration: the channel count or the DTMF
    // version (and with it the width of a line) may have changed.
    updateScrollSizes();
    const int previous = prevSelectedRow_;
    prevSelectedRow_ = activeRow();
    viewport()->update();
    if (ListingAccessible* rows = accessible()) {
        rows->rowsChanged();
        if (previous != prevSelectedRow_) {
            const int changed[] = {previous, prevSelectedRow_};
            rows->selectionChanged(changed, prevSelectedRow_);
        }
    }
}

void CKQ904View::scrollRowIntoView(int row)
{
    QScrollBar* vertical = verticalScrollBar();
    const int scroll = vertical->value();
    const RowRange visible = rowsInBand(scroll,
        static_cast<std::int64_t>(scroll) + viewport()->height(), rowHeight_, rowCount(), false);
    if (visible.empty() || row < visible.first)
        vertical->setValue(row * rowHeight_);
    else if (row > visible.last)
        vertical->setValue(std::max(0, (row + 1) * rowHeight_ - viewport()->height()));
}

void CKQ904View::updateRow(int row)
{
    if (rowCount() != prevRowCount_)
        updateScrollSizes();
    scrollRowIntoView(row);
    viewport()->update(rowRect(row));
    const int selected = activeRow();
    if (selected != prevSelectedRow_) {
        viewport()->update(rowRect(prevSelectedRow_));
        const int changed[] = {prevSelectedRow_, selected};
        prevSelectedRow_ = selected;
        if (ListingAccessible* rows = accessible())
            rows->selectionChanged(changed, selected);
    }
}

void CKQ904View::paintEvent(QPaintEvent* event)
{
    lastPaintedRows_.clear();
    QPainter painter(viewport());
    painter.setFont(font());
    const int dx = horizontalScrollBar()->value();
    const int dy = verticalScrollBar()->value();
    painter.translate(-dx, -dy);

    const QPalette& colours = palette();
    PainterCanvas canvas = PainterCanvas::forScreen(painter,
        {colours.color(QPalette::Base), colours.color(QPalette::Text),
            colours.color(QPalette::Highlight), colours.color(QPalette::HighlightedText)},
        dx, viewport()->width(), &textCache_);
    // The rows drawn are measured on this device, as the row arithmetic assumes.
    rowHeight_ = canvas.charHeight();
    const int selected = activeRow();
    // With every character one column wide a row is drawn from its kept line of text, which
    // looks the same as drawing its cells and costs no formatting.
    RadioImage& image = document_.image();
    const bool fromLines = canvas.drawsRowsAsLines();
    if (fromLines)
        rowTexts_.syncWith(image);
    for (const QRect& area : event->region()) {
        const QRect band = area.translated(dx, dy);
        const RowRange rows = rowsInBand(band.top(),
            static_cast<std::int64_t>(band.top()) + band.height(), rowHeight_, rowCount(), true);
        painter.setClipRect(band);
        const int rowsEnd = rows.empty() ? band.top() : (rows.last + 1) * rowHeight_;
        if (rowsEnd <= band.bottom())
            painter.fillRect(QRect(band.left(), rowsEnd, band.width(), band.bottom() + 1 - rowsEnd),
                colours.color(QPalette::Base));
        if (rows.empty())
            continue;
        if (fromLines)
            drawScreenRows(canvas, rowTexts_, image, rows, selected);
        else
            drawScreenRows(canvas, image, rows, selected);
        canvas.flush(); // before the clip changes
        for (int row = rows.first; row <= rows.last; ++row)
            lastPaintedRows_.push_back(row);
    }
}

void CKQ904View::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollSizes();
}

void CKQ904View::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        textCache_.clear();
        updateScrollSizes();
        viewport()->update();
    }
}

void CKQ904View::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_PageUp:
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case Qt::Key_PageDown:
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    case Qt::Key_Home:
        document_.selectRow(0);
        break;
    case Qt::Key_End:
        document_.selectRow(static_cast<unsigned>(rowCount() - 1));
        break;
    case Qt::Key_Up:
        document_.previousRow();
        break;
    case Qt::Key_Down:
        document_.nextRow();
        break;
    // The keyboard's double click: the selected row's channel in the Channel Setting form.
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
        emit channelFormRequested(document_.currentChannel());
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CKQ904View::selectRowAt(const QPoint& point)
{
    // A point below the last row selects nothing.
    if (const int row = rowAt(point); row >= 0)
        document_.selectRow(static_cast<unsigned>(row));
}

void CKQ904View::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        selectRowAt(event->position().toPoint());
    QAbstractScrollArea::mousePressEvent(event);
}

void CKQ904View::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        // The press of the double click has selected the row under the pointer already; select
        // it here too, so the form opens on the row that was double-clicked whatever presses
        // the platform delivered before.
        selectRowAt(event->position().toPoint());
        emit channelFormRequested(document_.currentChannel());
    }
    QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void CKQ904View::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    // Qt announces the listing itself as focused once this event is handled; the active row is
    // announced after that, so a screen reader lands on the row.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (ListingAccessible* rows = accessible(); rows && hasFocus())
                rows->focusEntered(activeRow());
        },
        Qt::QueuedConnection);
}

} // namespace kq904
