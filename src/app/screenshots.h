#pragma once
// `kq904 --screenshots DIR`: renders what a dealer sees, offscreen, to PNG files: the main
// window with the sample configuration, the first print preview page and the forms. Each entry
// of the list below is one file; a new form is one more entry.

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "model/result.h"

namespace kq904 {

class CMainFrame;
class Session;

struct ScreenshotSubject {
    Session& session;
    CMainFrame& window;
};

struct Screenshot {
    QString fileName; // "main-window.png"
    // Builds the widget to grab, parented to the window; null grabs the main window itself.
    std::function<std::unique_ptr<QWidget>(ScreenshotSubject&)> make;
};

// The screenshots of the program, in the order they are taken.
std::vector<Screenshot> screenshotList();

// Puts the sample configuration into the session, lays the window out at a fixed size and
// writes every screenshot of the list into `directory` (created when missing). The files
// written are listed in `written`.
Result renderScreenshots(
    Session& session, CMainFrame& window, const QString& directory, QStringList* written = nullptr);

} // namespace kq904
