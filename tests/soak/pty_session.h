#pragma once
// One session in real time: kq904-sim on a pseudo-terminal committing the plan's faults, and the
// serial port with the link and the line tap, paced by a 15 ms precise timer as the programs pace
// it. Needs a Qt event loop (a QCoreApplication).

#include <QString>

#include "soak/session_driver.h"
#include "soak/session_expectation.h"

namespace kq904::soak {

struct PtySessionRun {
    SessionResult result;
    QString simLog; // kq904-sim's frame log, for a failing session
    qint64 elapsedMs = 0;
};

// `simProgram`: the kq904-sim executable; `workDir`: a directory for the EEPROM files.
PtySessionRun runPtySession(const SessionPlan& plan, const Expectation& expected,
    const QString& simProgram, const QString& workDir);

} // namespace kq904::soak
