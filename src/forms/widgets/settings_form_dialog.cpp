#include "settings_form_dialog.h"

#include <QLabel>
#include <QtDebug>

namespace kq904 {

SettingsFormDialog::SettingsFormDialog(
    const QString& caption, RadioImage& image, std::filesystem::path dataDir, QWidget* parent)
    : FormDialog(caption, parent)
    , image_(image)
    , dataDir_(std::move(dataDir))
{ }

// The table files only keep the defaults for the next start; the edits are in the image
// whatever happens here, so a failure is noted, not put to the user.
void SettingsFormDialog::writeTableFile(TableFile file)
{
    const Result written = kq904::writeTableFile(image_, dataDir_, file);
    if (!written)
        qWarning("%s", written.error.c_str());
}

void SettingsFormDialog::updateTableFile(TableFile file)
{
    const Result written = kq904::writeTableFileIfDifferent(image_, dataDir_, file);
    if (!written)
        qWarning("%s", written.error.c_str());
}

void SettingsFormDialog::sendRefresh()
{
    emit refreshRequested();
}

void SettingsFormDialog::endForm(FormEnd end)
{
    if (end == FormEnd::Accepted)
        done(QDialog::Accepted);
    else if (end == FormEnd::Rejected)
        done(QDialog::Rejected);
}

QLabel* SettingsFormDialog::makeNumberDisplay(int id)
{
    auto* display = makeLabel(id, QString());
    display->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    display->setAlignment(Qt::AlignCenter);
    display->setMinimumWidth(display->fontMetrics().horizontalAdvance(QStringLiteral("000")) * 2);
    return display;
}

} // namespace kq904
