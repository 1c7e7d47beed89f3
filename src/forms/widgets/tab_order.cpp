#include "tab_order.h"

#include <QGridLayout>
#include <QLayout>
#include <QWidget>
#include <algorithm>
#include <tuple>
#include <vector>

namespace kq904 {

namespace {

void collect(QLayout* layout, std::vector<QWidget*>& order);

void collectItem(QLayoutItem* item, std::vector<QWidget*>& order)
{
    if (QWidget* widget = item->widget()) {
        order.push_back(widget);
        if (widget->layout())
            collect(widget->layout(), order);
    } else if (QLayout* inner = item->layout()) {
        collect(inner, order);
    }
}

void collect(QLayout* layout, std::vector<QWidget*>& order)
{
    auto* grid = qobject_cast<QGridLayout*>(layout);
    std::vector<std::tuple<int, int, int>> items; // row, column, index
    for (int i = 0; i < layout->count(); ++i) {
        int row = 0;
        int column = 0;
        if (grid) {
            int rowSpan = 0;
            int columnSpan = 0;
            grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        }
        items.emplace_back(row, column, i);
    }
    std::stable_sort(items.begin(), items.end());
    for (const auto& [row, column, index] : items)
        collectItem(layout->itemAt(index), order);
}

} // namespace

void orderTabsByLayout(QWidget* form)
{
    if (!form->layout())
        return;
    std::vector<QWidget*> order;
    collect(form->layout(), order);
    QWidget* previous = nullptr;
    QWidget* first = nullptr;
    for (QWidget* widget : order) {
        if (!(widget->focusPolicy() & Qt::TabFocus))
            continue;
        if (previous)
            QWidget::setTabOrder(previous, widget);
        else
            first = widget;
        previous = widget;
    }
    // A form that chose no control to start on starts on its first, not on whatever the chain
    // happens to hold after the window (an "OK" that Enter would press).
    if (first && !form->focusWidget()) {
        const auto start = std::find_if(order.begin(), order.end(), [](QWidget* widget) {
            return (widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled();
        });
        if (start != order.end())
            (*start)->setFocus(Qt::TabFocusReason);
    }
}

} // namespace kq904
