#include "screenshots.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPrintPreviewWidget>

#include "edit_history.h"
#include "forms/widgets/channel_name_dialog.h"
#include "forms/widgets/channel_setting_dialog.h"
#include "forms/widgets/code_function_dialog.h"
#include "forms/widgets/factory_setting_dialog.h"
#include "forms/widgets/general_setting_dialog.h"
#include "forms/widgets/kill_feature_dialog.h"
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

std::unique_ptr<QWidget> channelNameForm(ScreenshotSubject& subject)
{
    return makeChannelNameScreenshot(subject.session.image(), 1, &subject.window);
}

std::unique_ptr<QWidget> codeFunctionForm(ScreenshotSubject& subject)
{
    return makeCodeFunctionScreenshot(subject.session.image(), &subject.window);
}

std::unique_ptr<QWidget> killFeatureForm(ScreenshotSubject& subject)
{
    return makeKillFeatureScreenshot(subject.session.image(), &subject.window);
}

// The window with three channels selected and the Edit menu open under its title, offering to
// undo a change. The change is made in memory only: no table file is written.
std::unique_ptr<QWidget> editMenuOpen(ScreenshotSubject& subject)
{
    CMainFrame& window = subject.window;
    EditHistory& history = subject.session.history();
    const EditMoment before = history.now();
    auto& record = subject.session.image().channels[2];
    record.set(ChannelRecord::highPower, !record.get(ChannelRecord::highPower));
    history.record(before, QStringLiteral("Channel Setting"));
    subject.session.document().refresh();
    window.view()->selectChannels(1, 3, 3);
    window.view()->setFocus();
    settle();

    QAction* edit = window.menuBar()->actions().at(1);
    QMenu* menu = edit->menu();
    menu->adjustSize();
    const QPixmap menuShot = menu->grab();
    QPixmap shot = window.grab();
    const QRect title = window.menuBar()->actionGeometry(edit);
    QPainter painter(&shot);
    painter.drawPixmap(window.menuBar()->mapTo(&window, title.bottomLeft()), menuShot);
    painter.end();
    auto picture = std::make_unique<QLabel>(&window, Qt::Window);
    picture->setPixmap(shot);
    picture->resize(shot.size());
    return picture;
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
        {QStringLiteral("channel-name.png"), channelNameForm},
        {QStringLiteral("code-function.png"), codeFunctionForm},
        {QStringLiteral("kill-feature.png"), killFeatureForm},
        // Last: it leaves a change in the history and a selection behind.
        {QStringLiteral("edit-menu.png"), editMenuOpen},
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
