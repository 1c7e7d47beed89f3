#include "listing_accessible.h"

#include <QAccessibleEvent>
#include <QWidget>
#include <QWindow>

#include "listing_view.h"

namespace kq904 {

namespace {

class ListingRowAccessible final : public QAccessibleInterface {
public:
    ListingRowAccessible(CKQ904View* view, int row)
        : view_(view)
        , row_(row)
    { }

    bool isValid() const override { return view_ && row_ < view_->rowCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        return view_ ? QAccessible::queryAccessibleInterface(view_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !isValid())
            return {};
        lastName_ = view_->rowText(row_);
        return lastName_;
    }
    void setText(QAccessible::Text, const QString&) override { }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect local = view_->rowRect(row_);
        QWidget* viewport = view_->viewport();
        return QRect(viewport->mapToGlobal(local.topLeft()), local.size())
            .intersected(QRect(viewport->mapToGlobal(QPoint(0, 0)), viewport->size()));
    }

    QAccessible::Role role() const override { return QAccessible::ListItem; }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const bool selectable = view_->isRowSelectable(row_);
        state.selectable = selectable;
        state.focusable = selectable;
        state.selected = view_->isRowSelected(row_);
        state.active = row_ == view_->activeRow();
        state.focused = state.active && view_->hasFocus();
        state.invisible = !view_->isVisible();
        state.offscreen = rect().isEmpty();
        return state;
    }

    int row() const { return row_; }
    const CKQ904View* view() const { return view_.data(); }
    // Whether the row's text differs from what assistive technology last read.
    bool textChanged() const { return !lastName_.isNull() && lastName_ != view_->rowText(row_); }

private:
    QPointer<CKQ904View> view_;
    int row_;
    mutable QString lastName_;
};

void send(QAccessibleInterface* row, QAccessible::Event type)
{
    if (!row)
        return;
    QAccessibleEvent event(row, type);
    QAccessible::updateAccessibility(&event);
}

} // namespace

ListingAccessible::ListingAccessible(CKQ904View* view)
    : QAccessibleWidget(view, QAccessible::List)
{ }

ListingAccessible::~ListingAccessible()
{
    for (const QAccessible::Id id : rows_) {
        if (id != 0)
            QAccessible::deleteAccessibleInterface(id);
    }
}

QAccessibleInterface* ListingAccessible::factory(const QString&, QObject* object)
{
    if (auto* view = qobject_cast<CKQ904View*>(object))
        return new ListingAccessible(view);
    return nullptr;
}

CKQ904View* ListingAccessible::view() const
{
    return static_cast<CKQ904View*>(widget());
}

int ListingAccessible::childCount() const
{
    return view()->rowCount();
}

QAccessibleInterface* ListingAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    const auto i = static_cast<std::size_t>(index);
    if (rows_.size() <= i)
        rows_.resize(i + 1, 0);
    if (rows_[i] == 0)
        rows_[i] =
            QAccessible::registerAccessibleInterface(new ListingRowAccessible(view(), index));
    return QAccessible::accessibleInterface(rows_[i]);
}

int ListingAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* row = dynamic_cast<const ListingRowAccessible*>(child);
    return row && row->view() == view() && row->row() < childCount() ? row->row() : -1;
}

QAccessibleInterface* ListingAccessible::childAt(int x, int y) const
{
    const QPoint point = view()->viewport()->mapFromGlobal(QPoint(x, y));
    const int row = view()->rowAt(point);
    return row < 0 ? nullptr : child(row);
}

QAccessibleInterface* ListingAccessible::focusChild() const
{
    return view()->hasFocus() ? child(view()->activeRow()) : nullptr;
}

void ListingAccessible::selectionChanged(std::span<const int> changedRows, int activeRow)
{
    QAccessible::State selectedState;
    selectedState.selected = true;
    selectedState.focused = true;
    for (const int row : changedRows) {
        if (QAccessibleInterface* item = child(row)) {
            QAccessibleStateChangeEvent event(item, selectedState);
            QAccessible::updateAccessibility(&event);
        }
    }
    send(child(activeRow), QAccessible::Selection);
    if (view()->hasFocus())
        send(child(activeRow), QAccessible::Focus);
}

void ListingAccessible::rowsChanged()
{
    // Rows nobody has asked for yet need no news.
    if (rows_.empty())
        return;
    const auto count = static_cast<std::size_t>(childCount());
    while (rows_.size() > count) {
        if (const QAccessible::Id id = rows_.back(); id != 0) {
            send(QAccessible::accessibleInterface(id), QAccessible::ObjectDestroyed);
            QAccessible::deleteAccessibleInterface(id);
        }
        rows_.pop_back();
    }
    for (const QAccessible::Id id : rows_) {
        auto* row = static_cast<ListingRowAccessible*>(QAccessible::accessibleInterface(id));
        if (row && row->textChanged())
            send(row, QAccessible::NameChanged);
    }
    for (std::size_t i = rows_.size(); i < count; ++i)
        send(child(static_cast<int>(i)), QAccessible::ObjectCreated);
}

void ListingAccessible::focusEntered(int activeRow)
{
    send(child(activeRow), QAccessible::Focus);
}

} // namespace kq904
