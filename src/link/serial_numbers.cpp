#include "link/serial_numbers.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>
#include <functional>
#include <string>

#include "link/profile_settings.h"
#include "link/transfer_failure.h"

namespace kq904 {

namespace {

std::string text(const QString& s)
{
    return s.toStdString();
}

// QSettings takes in what another program wrote only when the file's size or modification time
// changed since it last read it. Two numbers of the same length stored within one tick of the
// file system's clock (a few milliseconds here, two seconds on FAT) look alike, and the second
// program would take the number the first one just took. So a number is stored only once the
// clock has moved past the time of the version on disk: then every program sees every change.
// The profile's own time is then moved to that later moment too, before this program reads it:
// its view of the file is taken afresh even when a program that did not take these steps (an
// older version, a text editor) was the last to write it.
void waitForLaterFileTime(
    const QString& settingsFile, const QString& probePath, const QDeadlineTimer& deadline)
{
    if (!QFileInfo::exists(settingsFile))
        return;
    QFile probe(probePath);
    QDateTime later;
    while (!deadline.hasExpired()) {
        if (!probe.open(QIODevice::WriteOnly | QIODevice::Truncate))
            break;
        probe.write("t", 1);
        probe.close();
        const QDateTime probeTime = QFileInfo(probePath).lastModified();
        if (probeTime > QFileInfo(settingsFile).lastModified()) {
            later = probeTime;
            break;
        }
        QThread::msleep(2);
    }
    probe.remove();
    if (later.isValid()) {
        QFile settings(settingsFile);
        if (settings.open(QIODevice::ReadWrite))
            settings.setFileTime(later, QFileDevice::FileModificationTime);
    }
}

// Runs `change` on the profile as it is on disk now, under the serial-number lock, then
// writes the profile out before the lock is let go.
Result underSerialLock(
    ProfileSettings& profile, int lockWaitMs, const std::function<void(ProfileSettings&)>& change)
{
    const QString lockPath = profile.serialLockPath();
    QDir().mkpath(QFileInfo(lockPath).absolutePath());
    QLockFile lock(lockPath);
    const QDeadlineTimer deadline(lockWaitMs);
    if (!lock.tryLock(lockWaitMs)) {
        switch (lock.error()) {
        case QLockFile::LockFailedError:
            return Result::failure("another program has held the serial-number lock "
                + text(lockPath) + " for more than " + secondsText(lockWaitMs));
        case QLockFile::PermissionError:
            return Result::failure("the serial-number lock " + text(lockPath)
                + " cannot be created: permission denied");
        default:
            return Result::failure(
                "the serial-number lock " + text(lockPath) + " cannot be created");
        }
    }
    waitForLaterFileTime(profile.fileName(), lockPath + QStringLiteral(".clock"), deadline);
    // Takes in what other programs stored (a damaged line elsewhere in the file is no reason
    // to stop: QSettings reads what it can).
    profile.sync();
    change(profile);
    QSettings& store = profile.store();
    store.sync();
    if (store.status() == QSettings::AccessError)
        return Result::failure(
            "the serial number cannot be stored in the profile " + text(profile.fileName()));
    return Result::success();
}

} // namespace

std::string sevenDigitSerial(std::uint32_t serial)
{
    const std::string digits = std::to_string(serial);
    return std::string(digits.size() < 7 ? 7 - digits.size() : 0, '0') + digits;
}

SerialReservationResult reserveSerialNumber(
    ProfileSettings& profile, std::optional<std::uint32_t> startingAt, int lockWaitMs)
{
    SerialReservationResult taken;
    taken.result = underSerialLock(profile, lockWaitMs, [&](ProfileSettings& p) {
        std::uint32_t serial = startingAt.value_or(p.serialNumber());
        if (serial > kMaxSerialNumber) {
            taken.reservation.unusableStored = serial;
            serial = 0;
        }
        taken.reservation.serial = serial;
        taken.reservation.next = nextSerialNumber(serial);
        p.setSerialNumber(taken.reservation.next);
    });
    if (!taken.result)
        taken.result.error = "the serial number could not be reserved: " + taken.result.error;
    return taken;
}

bool releaseSerialNumber(ProfileSettings& profile, const SerialReservation& reservation)
{
    bool released = false;
    const Result stored = underSerialLock(profile, kSerialLockWaitMs, [&](ProfileSettings& p) {
        if (p.serialNumber() == reservation.next) {
            p.setSerialNumber(reservation.serial);
            released = true;
        }
    });
    return stored && released;
}

Result storeSerialNumber(ProfileSettings& profile, std::uint32_t serial, int lockWaitMs)
{
    return underSerialLock(
        profile, lockWaitMs, [serial](ProfileSettings& p) { p.setSerialNumber(serial); });
}

std::uint32_t currentSerialNumber(ProfileSettings& profile)
{
    profile.sync();
    return profile.serialNumber();
}

} // namespace kq904
