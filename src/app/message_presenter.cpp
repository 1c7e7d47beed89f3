#include "message_presenter.h"

#include <QMessageBox>

namespace kq904 {

namespace {

void show(QWidget* parent, QMessageBox::Icon icon, const QString& text, const QString& reason = {})
{
    QMessageBox box(icon, QStringLiteral("KQ904"), text, QMessageBox::Ok, parent);
    box.setInformativeText(reason);
    box.exec();
}

} // namespace

void MessageBoxPresenter::showMessage(QWidget* parent, const QString& text)
{
    show(parent, QMessageBox::Information, text);
}

void MessageBoxPresenter::showError(QWidget* parent, const QString& text)
{
    show(parent, QMessageBox::Warning, text);
}

void MessageBoxPresenter::showMessageWithReason(
    QWidget* parent, const QString& text, const QString& reason)
{
    show(parent, QMessageBox::Information, text, reason);
}

bool MessageBoxPresenter::confirm(QWidget* parent, const QString& text, const QString& question)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("KQ904"), text,
        QMessageBox::Yes | QMessageBox::No, parent);
    box.setInformativeText(question);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace kq904
