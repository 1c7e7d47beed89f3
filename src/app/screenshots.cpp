#include "screenshots.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QPrintPreviewWidget>

#include "listing_view.h"
#include "main_window.h"
#include "print_preview_dialog.h"
#include "sample_configuration.h"
#include "session.h"

namespace kq904 {

namespace {

// Lets pending layouts, resizes and paints happen before a grab.
void settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

std::unique_ptr<QWidget> printPreview(ScreenshotSubject& subject)
{
    ListingPrinter& printer = subject.window.listingPrinter();
    auto dialog = std::make_unique<PrintPreviewDialog>(
        printer.printer(),
        [&printer](
            QPrinter& target, bool honourRange) { (void)printer.printPages(target, honourRange); },
        &subject.window);
    dialog->resize(900, 1100);
    return dialog;
}

} // namespace

std::vector<Screenshot> screenshotList()
{
    return {
        {QStringLiteral("main-window.png"), nullptr},
        {QStringLiteral("print-preview-page1.png"), printPreview},
    };
}

Result renderScreenshots(
    Session& session, CMainFrame& window, const QString& directory, QStringList* written)
{
    if (!QDir().mkpath(directory))
        return Result::failure("cannot create " + directory.toStdString());
    const std::uint16_t features = session.image().featureFlags;
    session.image() = sampleConfiguration();
    session.image().featureFlags |= features;
    window.refresh();
    window.resize(1280, 720);
    window.show();
    settle();

    for (const Screenshot& shot : screenshotList()) {
        ScreenshotSubject subject{session, window};
        std::unique_ptr<QWidget> widget = shot.make ? shot.make(subject) : nullptr;
        QWidget& target = widget ? *widget : static_cast<QWidget&>(window);
        if (widget) {
            widget->show();
            settle();
        }
        const QString path = QDir(directory).filePath(shot.fileName);
        if (!target.grab().save(path, "PNG"))
            return Result::failure("cannot write " + path.toStdString());
        if (written)
            written->append(path);
        if (widget)
            widget->close();
    }
    return Result::success();
}

} // namespace kq904
