#pragma once
// The desktop program's command line:
//   kq904 [--data-dir DIR] [--sample] [--simulate] [--screenshots DIR] [--trace FILE]
//         [FILE.set]

#include <QString>
#include <QStringList>

namespace kq904 {

struct AppOptions {
    QString setFile; // opened after the table files were loaded; empty: none
    QString dataDir; // table files and kq904.ini; empty: the current directory
    bool simulate = false; // attach the built-in simulated radio instead of a serial port
    bool sample = false; // a data directory that does not exist yet starts as the sample
    QString screenshotDir; // render the screenshots there and quit; empty: run normally
    QString traceFile; // log every byte on the serial line there; empty: no trace

    bool ok = true;
    bool helpRequested = false;
    QString error; // why the arguments were refused
};

AppOptions parseAppOptions(const QStringList& arguments);
QString appUsage();

} // namespace kq904
