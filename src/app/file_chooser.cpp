#include "file_chooser.h"

#include <QFileDialog>

#include "document.h"

namespace kq904 {

namespace {

// QFileDialog adds the default suffix only to names typed without one; the platform's native
// dialogs may not add it at all, so the extension is made sure of here.
QString withExtension(QString path, const QString& extension)
{
    if (!path.isEmpty() && !path.endsWith(extension, Qt::CaseInsensitive))
        path += extension;
    return path;
}

} // namespace

QString DialogFileChooser::openSetFile(QWidget* parent)
{
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Open"), QString(),
        QStringLiteral("%1;;All Files (*)").arg(QLatin1String(CKQ904Doc::kSetFileFilter)));
}

QString DialogFileChooser::saveSetFileAs(QWidget* parent, const QString& suggested)
{
    QFileDialog dialog(
        parent, QStringLiteral("Save As"), suggested, QLatin1String(CKQ904Doc::kSetFileFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("set"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return withExtension(dialog.selectedFiles().constFirst(), QStringLiteral(".set"));
}

QString DialogFileChooser::saveSetFileCopy(QWidget* parent)
{
    QFileDialog dialog(parent, QStringLiteral("Save As"), QStringLiteral("*.set"),
        QStringLiteral("Set File (*.set);;All File (*.*)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("set"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString DialogFileChooser::exportPdf(QWidget* parent, const QString& suggested)
{
    QFileDialog dialog(
        parent, QStringLiteral("Export PDF"), suggested, QStringLiteral("PDF Files (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return withExtension(dialog.selectedFiles().constFirst(), QStringLiteral(".pdf"));
}

} // namespace kq904
