#include "form_dialog.h"

#include "tab_order.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

namespace kq904 {

FormDialog::FormDialog(const QString& caption, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(caption);
    setModal(true);
    controls_.setCloseHandler([this](CloseRoute route) { requestClose(route); });
}

void FormDialog::bindLogic(FormEvents& logic)
{
    logic_ = &logic;
    controls_.setEvents(&logic);
}

bool FormDialog::requestClose(CloseRoute route)
{
    const FormEnd end = logic_ != nullptr ? logic_->onClose(route) : FormEvents{}.onClose(route);
    switch (end) {
    case FormEnd::Stay:
        return false;
    case FormEnd::Accepted:
        done(QDialog::Accepted);
        return true;
    case FormEnd::Rejected:
        done(QDialog::Rejected);
        return true;
    }
    return false;
}

QPushButton* FormDialog::makeButton(int id, const QString& text)
{
    auto* button = controls_.add(id, new QPushButton(text, this));
    // Enter is routed by keyPressEvent; the default frame only marks the OK button.
    button->setAutoDefault(false);
    if (id == kIdOk)
        button->setDefault(true);
    return button;
}

QCheckBox* FormDialog::makeCheckBox(int id, const QString& text)
{
    return controls_.add(id, new QCheckBox(text, this));
}

QRadioButton* FormDialog::makeRadioButton(int id, const QString& text)
{
    return controls_.add(id, new QRadioButton(text, this));
}

QLineEdit* FormDialog::makeLineEdit(int id)
{
    return controls_.add(id, new QLineEdit(this));
}

QComboBox* FormDialog::makeComboBox(int id)
{
    auto* combo = controls_.add(id, new QComboBox(this));
    combo->setMaxVisibleItems(12);
    return combo;
}

QProgressBar* FormDialog::makeProgressBar(int id)
{
    auto* bar = controls_.add(id, new QProgressBar(this));
    bar->setTextVisible(false);
    return bar;
}

QLabel* FormDialog::makeLabel(int id, const QString& text)
{
    return controls_.add(id, new QLabel(text, this));
}

QLabel* FormDialog::label(const QString& text)
{
    return new QLabel(text, this);
}

QGroupBox* FormDialog::groupBox(const QString& title, QLayout* content)
{
    auto* box = new QGroupBox(title, this);
    box->setLayout(content);
    return box;
}

QLayout* FormDialog::labelledRow(const QString& caption, QWidget* field)
{
    auto* row = new QHBoxLayout;
    auto* text = label(caption);
    text->setBuddy(field);
    row->addWidget(text);
    row->addWidget(field, 1);
    return row;
}

QSize FormDialog::dialogUnits(int width, int height) const
{
    const QFontMetrics metrics(font());
    // The average width Windows takes for dialog units: that of the 52 letters.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const double baseX = letters / 52.0;
    const double baseY = metrics.height();
    return {qRound(width * baseX / 4.0), qRound(height * baseY / 8.0)};
}

void FormDialog::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (enter && plain) {
        // Enter presses the push button that has the focus; anywhere else it asks the form to
        // end as OK would.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget());
            button != nullptr && button->isEnabled()) {
            button->click();
        } else {
            requestClose(CloseRoute::EnterKey);
        }
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape && plain) {
        requestClose(CloseRoute::EscapeKey);
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FormDialog::closeEvent(QCloseEvent* event)
{
    if (!isVisible()) {
        event->accept();
        return;
    }
    if (requestClose(CloseRoute::CloseBox))
        event->accept();
    else
        event->ignore();
}

void FormDialog::showEvent(QShowEvent* event)
{
    if (!tabsOrdered_) {
        tabsOrdered_ = true;
        orderTabsByLayout(this);
    }
    QDialog::showEvent(event);
}

} // namespace kq904
