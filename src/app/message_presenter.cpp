#include "message_presenter.h"

#include <QMessageBox>

namespace kq904 {

namespace {

void show(QWidget* parent, QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, QStringLiteral("KQ904"), text, QMessageBox::Ok, parent);
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

} // namespace kq904
