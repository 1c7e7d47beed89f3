#pragma once
// The listing as assistive technology sees it (AT-SPI on Linux, UI Automation on Windows): a
// list with one item per row, named with the row's text exactly as drawn, the selected rows
// marked selected and the active row focused while the listing has the keyboard focus. The
// listing paints itself, so without this it would be one empty area.

#include <QAccessibleWidget>
#include <QPointer>
#include <span>
#include <vector>

namespace kq904 {

class CKQ904View;

class ListingAccessible final : public QAccessibleWidget {
public:
    explicit ListingAccessible(CKQ904View* view);
    ~ListingAccessible() override;

    // Registered once with QAccessible: answers for every CKQ904View.
    static QAccessibleInterface* factory(const QString& className, QObject* object);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // The rows whose selected state changed, and the active row (focused while the listing
    // has the keyboard focus). A selection of several rows reports each row that joined or
    // left it.
    void selectionChanged(std::span<const int> changedRows, int activeRow);
    // The configuration changed: rows came or went, and rows whose text is not what was last
    // read are renamed.
    void rowsChanged();
    // The listing took the keyboard focus: the active row is the focused item.
    void focusEntered(int activeRow);

private:
    CKQ904View* view() const;

    // One interface per row, created when asked for and kept until its row goes.
    mutable std::vector<QAccessible::Id> rows_;
};

} // namespace kq904
