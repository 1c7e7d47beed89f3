#pragma once
// Where the main window was left: its size, position and state (maximized or not, the toolbar)
// kept in the profile and restored at the next start.

class QMainWindow;
class QSettings;

namespace kq904 {

// The profile's keys.
inline constexpr const char* kWindowGeometryKey = "Window/Geometry";
inline constexpr const char* kWindowStateKey = "Window/State";

// Restores what was kept, onto a screen that is still there; false when nothing usable was kept.
bool restoreWindowGeometry(QMainWindow& window, QSettings& store);
void saveWindowGeometry(const QMainWindow& window, QSettings& store);

} // namespace kq904
