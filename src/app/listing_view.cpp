#include "listing_view.h"

#include <QAccessible>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFocusRect>
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
    selection_.selectOnly(activeRow());
    shownSelection_ = selection_;
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

std::vector<int> CKQ904View::selectedChannels() const
{
    std::vector<int> channels;
    const int first = static_cast<int>(document_.firstChannelLine());
    for (const int row : selection_.rows()) {
        if (isRowSelectable(row))
            channels.push_back(row - first);
    }
    return channels;
}

void CKQ904View::selectChannels(int first, int last, int active)
{
    const int line = static_cast<int>(document_.firstChannelLine());
    selection_.selectRange(first + line, last + line);
    selection_.limitTo(rowCount());
    moveActive(Gesture::Keep,
        [this, active, line] { document_.selectRow(static_cast<unsigned>(active + line)); });
}

void CKQ904View::selectChannels(const std::vector<int>& channels, int active)
{
    const int line = static_cast<int>(document_.firstChannelLine());
    selection_.selectOnly(active + line);
    for (const int channel : channels)
        selection_.add(channel + line);
    selection_.limitTo(rowCount());
    moveActive(Gesture::Keep,
        [this, active, line] { document_.selectRow(static_cast<unsigned>(active + line)); });
}

void CKQ904View::selectAllChannels()
{
    const int anchor = selection_.anchor();
    selection_.selectRange(static_cast<int>(document_.firstChannelLine()), rowCount() - 1);
    selection_.extendTo(anchor, true);
    moveActive(Gesture::Keep, [this] { document_.selectRow(static_cast<unsigned>(activeRow())); });
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
    // Rows past the last channel leave the selection; a selection without the active row (a
    // file opened, the selection pulled back) becomes the active row alone.
    selection_.limitTo(rowCount());
    if (!selection_.contains(activeRow()))
        selection_.selectOnly(activeRow());
    viewport()->update();
    if (ListingAccessible* rows = accessible())
        rows->rowsChanged();
    showSelection(prevSelectedRow_);
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
    const int active = activeRow();
    switch (gesture_) {
    case Gesture::Only:
        selection_.selectOnly(active);
        break;
    case Gesture::Toggle:
        selection_.toggle(active);
        break;
    case Gesture::Extend:
        selection_.extendTo(active, false);
        break;
    case Gesture::ExtendAdding:
        selection_.extendTo(active, true);
        break;
    case Gesture::Keep:
        break;
    }
    showSelection(prevSelectedRow_);
}

void CKQ904View::showSelection(int previousActive)
{
    const int active = activeRow();
    std::vector<int> changed = selection_.differingRows(shownSelection_);
    // The active row is drawn apart from the others while several are selected, so the row it
    // left and the row it reached are repainted too.
    for (const int row : {previousActive, active}) {
        if (previousActive != active
            && std::find(changed.begin(), changed.end(), row) == changed.end())
            changed.push_back(row);
    }
    for (const int row : changed)
        viewport()->update(rowRect(row));
    prevSelectedRow_ = active;
    shownSelection_ = selection_;
    if (changed.empty())
        return;
    if (ListingAccessible* rows = accessible())
        rows->selectionChanged(changed, active);
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
            drawScreenRows(canvas, rowTexts_, image, rows, selection_);
        else
            drawScreenRows(canvas, image, rows, selection_);
        canvas.flush(); // before the clip changes
        for (int row = rows.first; row <= rows.last; ++row)
            lastPaintedRows_.push_back(row);
        const int active = activeRow();
        if (selection_.count() > 1 && hasFocus() && active >= rows.first && active <= rows.last)
            drawActiveRowFrame(painter, dx);
    }
}

void CKQ904View::drawActiveRowFrame(QPainter& painter, int dx)
{
    // Among several selected rows, the one the forms open on and the keys move from.
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.rect =
        rowRect(activeRow()).translated(dx, verticalScrollBar()->value()).adjusted(0, 0, -1, -1);
    frame.backgroundColor = palette().color(QPalette::Highlight);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
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
    // Shift extends the selection from its anchor, Ctrl+Shift adds the rows to it.
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const Gesture moving = !(modifiers & Qt::ShiftModifier) ? Gesture::Only
        : (modifiers & Qt::ControlModifier)                 ? Gesture::ExtendAdding
                                                            : Gesture::Extend;
    switch (event->key()) {
    case Qt::Key_PageUp:
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case Qt::Key_PageDown:
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    case Qt::Key_Home:
        moveActive(moving, [this] { document_.selectRow(0); });
        break;
    case Qt::Key_End:
        moveActive(moving, [this] { document_.selectRow(static_cast<unsigned>(rowCount() - 1)); });
        break;
    case Qt::Key_Up:
        moveActive(moving, [this] { document_.previousRow(); });
        break;
    case Qt::Key_Down:
        moveActive(moving, [this] { document_.nextRow(); });
        break;
    // Ctrl+Space: the active row joins the selection or leaves it.
    case Qt::Key_Space:
        if (!(modifiers & Qt::ControlModifier)) {
            QAbstractScrollArea::keyPressEvent(event);
            return;
        }
        moveActive(
            Gesture::Toggle, [this] { document_.selectRow(static_cast<unsigned>(activeRow())); });
        break;
    // The keyboard's double click: the active row's channel in the Channel Setting form.
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

void CKQ904View::moveActive(Gesture gesture, const std::function<void()>& move)
{
    gesture_ = gesture;
    move();
    gesture_ = Gesture::Only;
}

CKQ904View::Gesture CKQ904View::gestureFor(Qt::KeyboardModifiers modifiers)
{
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool control = modifiers & Qt::ControlModifier;
    if (shift)
        return control ? Gesture::ExtendAdding : Gesture::Extend;
    return control ? Gesture::Toggle : Gesture::Only;
}

void CKQ904View::selectRowAt(const QPoint& point, Gesture gesture)
{
    // A point below the last row selects nothing.
    if (const int row = rowAt(point); row >= 0)
        moveActive(gesture, [this, row] { document_.selectRow(static_cast<unsigned>(row)); });
}

void CKQ904View::mousePressEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        selectRowAt(point, gestureFor(event->modifiers()));
    // The context menu works on the selection; a row outside it becomes the selection first.
    else if (event->button() == Qt::RightButton && !isRowSelected(rowAt(point)))
        selectRowAt(point, Gesture::Only);
    QAbstractScrollArea::mousePressEvent(event);
}

void CKQ904View::mouseMoveEvent(QMouseEvent* event)
{
    // Dragging with the button held selects the rows from where the press was; above or below
    // the viewport the listing scrolls on row by row.
    if (event->buttons() & Qt::LeftButton) {
        const QPoint point = event->position().toPoint();
        const QPoint inside(point.x(), std::clamp(point.y(), 0, viewport()->height() - 1));
        if (const int row = rowAt(inside); row >= 0 && row != activeRow())
            selectRowAt(inside,
                event->modifiers() & Qt::ControlModifier ? Gesture::ExtendAdding : Gesture::Extend);
    }
    QAbstractScrollArea::mouseMoveEvent(event);
}

void CKQ904View::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        // The press of the double click has selected the row under the pointer already; select
        // it here too, so the form opens on the row that was double-clicked whatever presses
        // the platform delivered before.
        selectRowAt(event->position().toPoint(), Gesture::Only);
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
