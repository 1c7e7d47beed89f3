#pragma once
// Start-up of the desktop program: the command line, the session (table files, feature flags,
// profile, port), the main window with its tick, the set file named on the command line, and
// the window shown maximized.

class QApplication;

namespace kq904 {

// Runs the program; the exit status: 0, or 2 for a command line that was refused.
int runProgram(QApplication& application);

} // namespace kq904
