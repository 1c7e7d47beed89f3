#include "widget_controls.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QtDebug>
#include <algorithm>

namespace kq904 {

namespace {

QString toQString(const std::string& text)
{
    return QString::fromStdString(text);
}
std::string toStdString(const QString& text)
{
    return text.toStdString();
}

} // namespace

void WidgetControls::registerWidget(int id, QWidget* widget)
{
    Q_ASSERT(widget != nullptr);
    Q_ASSERT(!widgets_.contains(id));
    widgets_[id] = widget;

    // Only what the user does is forwarded: clicked and activated are never raised by
    // setChecked or setCurrentIndex, just as the logic expects of its own selections.
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        if (id == kIdOk || id == kIdCancel) {
            const CloseRoute route = id == kIdOk ? CloseRoute::OkButton : CloseRoute::CancelButton;
            QObject::connect(button, &QAbstractButton::clicked, button, [this, route] {
                if (close_)
                    close_(route);
            });
            return;
        }
        QObject::connect(button, &QAbstractButton::clicked, button, [this, id] {
            if (events_)
                events_->onClicked(id);
        });
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        QObject::connect(edit, &QLineEdit::textChanged, edit, [this, id] {
            if (events_)
                events_->onTextChanged(id);
        });
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        QObject::connect(combo, &QComboBox::activated, combo, [this, id] {
            if (events_)
                events_->onSelectionChanged(id);
        });
    }
}

QWidget* WidgetControls::widget(int id) const
{
    const auto it = widgets_.find(id);
    return it == widgets_.end() ? nullptr : it->second.data();
}

QWidget* WidgetControls::find(int id) const
{
    QWidget* w = widget(id);
    if (w == nullptr)
        qWarning("form control %d is not registered", id);
    return w;
}

bool WidgetControls::checked(int id) const
{
    auto* button = qobject_cast<QAbstractButton*>(find(id));
    return button != nullptr && button->isChecked();
}

void WidgetControls::setChecked(int id, bool on)
{
    if (auto* button = qobject_cast<QAbstractButton*>(find(id))) {
        // An auto-exclusive radio button refuses to be unchecked directly; the logic unchecks
        // a whole group at times (before it checks the one that applies).
        QButtonGroup* group = on ? nullptr : button->group();
        const bool groupExclusive = group != nullptr && group->exclusive();
        const bool autoExclusive = !on && button->autoExclusive();
        if (groupExclusive)
            group->setExclusive(false);
        if (autoExclusive)
            button->setAutoExclusive(false);
        button->setChecked(on);
        if (autoExclusive)
            button->setAutoExclusive(true);
        if (groupExclusive)
            group->setExclusive(true);
    }
}

bool WidgetControls::enabled(int id) const
{
    const QWidget* w = find(id);
    // isEnabled() would also report a disabled parent; the form asks about the control.
    return w != nullptr && !w->testAttribute(Qt::WA_ForceDisabled);
}

void WidgetControls::setEnabled(int id, bool on)
{
    if (QWidget* w = find(id))
        w->setEnabled(on);
}

bool WidgetControls::shown(int id) const
{
    const QWidget* w = find(id);
    // isHidden, not isVisible: the form decides before its window is on screen.
    return w != nullptr && !w->isHidden();
}

void WidgetControls::setShown(int id, bool on)
{
    if (QWidget* w = find(id))
        w->setVisible(on);
}

std::string WidgetControls::text(int id) const
{
    QWidget* w = find(id);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return toStdString(edit->text());
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return toStdString(combo->currentText());
    if (auto* label = qobject_cast<QLabel*>(w))
        return toStdString(label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return toStdString(button->text());
    if (auto* box = qobject_cast<QGroupBox*>(w))
        return toStdString(box->title());
    return {};
}

void WidgetControls::setText(int id, const std::string& text)
{
    QWidget* w = find(id);
    const QString value = toQString(text);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        // QLineEdit is silent when the text does not change; the forms rely on every set
        // raising the change event (the serial field parses itself back on each one).
        if (edit->text() == value)
            raiseTextChanged(id);
        else
            edit->setText(value);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (combo->isEditable())
            combo->setEditText(value);
        else
            combo->setCurrentIndex(combo->findText(value, Qt::MatchExactly));
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(value);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(value);
    } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
        box->setTitle(value);
    }
}

void WidgetControls::raiseTextChanged(int id)
{
    if (events_)
        events_->onTextChanged(id);
}

std::vector<std::string> WidgetControls::items(int id) const
{
    std::vector<std::string> result;
    if (auto* combo = qobject_cast<QComboBox*>(find(id))) {
        for (int i = 0; i < combo->count(); ++i)
            result.push_back(toStdString(combo->itemText(i)));
    }
    return result;
}

void WidgetControls::setItems(int id, const std::vector<std::string>& items)
{
    if (auto* combo = qobject_cast<QComboBox*>(find(id))) {
        combo->clear();
        for (const std::string& item : items)
            combo->addItem(toQString(item));
        // A list filled anew has nothing selected until the form chooses (QComboBox would
        // select the first entry on its own).
        combo->setCurrentIndex(-1);
    }
}

int WidgetControls::selectedIndex(int id) const
{
    auto* combo = qobject_cast<QComboBox*>(find(id));
    return combo != nullptr ? combo->currentIndex() : -1;
}

void WidgetControls::setSelectedIndex(int id, int index)
{
    if (auto* combo = qobject_cast<QComboBox*>(find(id)))
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

void WidgetControls::setProgress(int id, int position, int maximum)
{
    if (auto* bar = qobject_cast<QProgressBar*>(find(id))) {
        // A Windows progress bar pins a position past its range to the end; QProgressBar would
        // ignore it and keep showing the previous one.
        bar->setRange(0, std::max(maximum, 0));
        bar->setValue(std::clamp(position, 0, std::max(maximum, 0)));
    }
}

} // namespace kq904
