#include "program.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app_icons.h"
#include "app_options.h"
#include "link/file_path.h"
#include "main_window.h"
#include "model/data_dir.h"
#include "model/program_version.h"
#include "sample_configuration.h"
#include "screenshots.h"
#include "session.h"

namespace kq904 {

int runProgram(QApplication& application)
{
    QApplication::setApplicationName(QLatin1String(ProfileSettings::kApplication));
    QApplication::setOrganizationName(QLatin1String(ProfileSettings::kOrganisation));
    QApplication::setApplicationVersion(QLatin1String(kProgramVersion));
    QApplication::setWindowIcon(applicationIcon());

    const AppOptions options = parseAppOptions(QApplication::arguments());
    if (options.helpRequested) {
        std::fputs(appUsage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (!options.ok) {
        std::fprintf(stderr, "kq904: %s\n%s", options.error.toLocal8Bit().constData(),
            appUsage().toLocal8Bit().constData());
        return 2;
    }

    SessionOptions sessionOptions;
    // Fixed once: a file dialog changing the current directory must not move the table files.
    sessionOptions.dataDir = resolveDataDir(toPath(options.dataDir));
    std::error_code ec;
    if (options.sample && !std::filesystem::exists(sessionOptions.dataDir, ec)) {
        if (const Result created = createSampleDataDir(sessionOptions.dataDir); !created) {
            std::fprintf(stderr, "kq904: %s\n", created.error.c_str());
            return 1;
        }
    }
    sessionOptions.simulate = options.simulate;
    sessionOptions.traceFile = toPath(options.traceFile);
    // Screenshots run on a profile of their own, so they never touch the user's settings.
    QTemporaryDir screenshotProfile;
    auto profile = options.screenshotDir.isEmpty()
        ? std::make_unique<ProfileSettings>()
        : std::make_unique<ProfileSettings>(
            screenshotProfile.filePath(QStringLiteral("KQ904.ini")));
    Session session(sessionOptions, std::move(profile));
    if (!session.traceOpened()) {
        std::fprintf(stderr, "kq904: %s\n", session.traceOpened().error.c_str());
        return 1;
    }
    CMainFrame window(session);

    if (!options.screenshotDir.isEmpty()) {
        QStringList written;
        const Result rendered = renderScreenshots(session, window, options.screenshotDir, &written);
        for (const QString& path : std::as_const(written))
            std::printf("%s\n", path.toLocal8Bit().constData());
        if (!rendered) {
            std::fprintf(stderr, "kq904: %s\n", rendered.error.c_str());
            return 1;
        }
        return 0;
    }

    if (!options.setFile.isEmpty())
        window.openFile(options.setFile);
    // Where the user left the window last time; the first start fills the screen.
    if (window.restoreWindowGeometry())
        window.show();
    else
        window.showMaximized();
    return application.exec();
}

} // namespace kq904
