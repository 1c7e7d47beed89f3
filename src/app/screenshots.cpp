#include "screenshots.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QPrintPreviewWidget>

#include "forms/widgets/channel_setting_dialog.h"
#include "forms/widgets/factory_setting_dialog.h"
#include "forms/widgets/general_setting_dialog.h"
#include "forms/widgets/port_setting_dialog.h"
#include "forms/widgets/programming_dialog.h"
#include "link/port_names.h"
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

std::unique_ptr<QWidget> programmingForm(ScreenshotSubject& subject)
{
    Session& session = subject.session;
    return std::make_unique<CProgrammingDlg>(session.image(), session.link(),
        session.linkObservers(), session.profile(), &subject.window,
        [](QWidget*, const QString&) {});
}

std::unique_ptr<QWidget> portForm(ScreenshotSubject& subject)
{
    return std::make_unique<CPortSettingDlg>(subject.session.profile(), &subject.window);
}

std::unique_ptr<QWidget> channelForm(ScreenshotSubject& subject)
{
    return makeChannelSettingScreenshot(subject.session.image(), 1, &subject.window);
}

std::unique_ptr<QWidget> generalForm(ScreenshotSubject& subject)
{
    return makeGeneralSettingScreenshot(subject.session.image(), &subject.window);
}

std::unique_ptr<QWidget> factoryForm(ScreenshotSubject& subject)
{
    return makeFactorySettingScreenshot(subject.session.image(), &subject.window);
}

} // namespace

std::vector<Screenshot> screenshotList()
{
    return {
        {QStringLiteral("main-window.png"), nullptr},
        {QStringLiteral("print-preview-page1.png"), printPreview},
        {QStringLiteral("programming.png"), programmingForm},
        {QStringLiteral("port-setting.png"), portForm},
        {QStringLiteral("channel-setting.png"), channelForm},
        {QStringLiteral("general-setting.png"), generalForm},
        {QStringLiteral("factory-setting.png"), factoryForm},
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
        // The widget is destroyed, not closed: closing a form can store its settings, and a
        // screenshot must leave nothing behind.
    }
    return Result::success();
}

} // namespace kq904
