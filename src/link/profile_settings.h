#pragma once
// The per-user profile: which COM port and baud rate the radio is reached through, the serial
// number for the next radio and the auto-increment choice, all under the section "Settings";
// plus the device each "COMn" stands for on systems without COM ports (section "Ports").
// The desktop program uses the native per-user store; tests and tools may point it at a file.

#include <QSettings>
#include <QString>
#include <cstdint>
#include <map>
#include <memory>

namespace kq904 {

class ProfileSettings {
public:
    static constexpr const char* kOrganisation = "Local AppWizard-Generated Applications";
    static constexpr const char* kApplication = "KQ904";
    static constexpr int kDefaultBaudRate = 19200;
    // Highest port number the Port setting form offers ("COM1" to "COM42").
    static constexpr int kPortCount = 42;

    // The native per-user store ($XDG_CONFIG_HOME/... on Linux, the registry on Windows).
    ProfileSettings();
    // An INI file at the given path, for tests and for tools that keep their own profile.
    explicit ProfileSettings(const QString& iniPath);
    ~ProfileSettings();
    ProfileSettings(const ProfileSettings&) = delete;
    ProfileSettings& operator=(const ProfileSettings&) = delete;

    // "COM": index of the chosen entry of the port list; the port number is this plus 1. Kept
    // as stored: -1 (nothing chosen) and indexes past the list are possible.
    int portIndex() const;
    void setPortIndex(int index);
    // "COM" + (index + 1): the port name the Programming form opens.
    QString portName() const;

    // "BAUD", default 19200.
    int baudRate() const;
    void setBaudRate(int baud);

    // "SERIAL_NUMBER": the serial number for the next radio, taken as unsigned 32 bits the way
    // the Programming form shows it (values above 9 999 999 show as "?").
    std::uint32_t serialNumber() const;
    void setSerialNumber(std::uint32_t serial);

    // "OK_ADD_ONE": "Auto Increment S/N" ticked.
    bool autoIncrement() const;
    void setAutoIncrement(bool on);

    // "FAST_LINK", default 0: fast transfer, replies taken in as they arrive and the next frame
    // sent at once (link.h); 0 keeps the link's 15 ms pace.
    bool fastLink() const;
    void setFastLink(bool on);

    // "READ_BACKUP", default 1: every reading of a radio is also kept as a set file in the
    // backups folder of the data directory.
    bool readBackup() const;
    void setReadBackup(bool on);

    // Section "Ports": port number -> device path, for "COMn" on systems that name their
    // serial devices by path. Entries that are not "COM" followed by a number are skipped.
    std::map<int, QString> portDevices() const;
    void setPortDevice(int portNumber, const QString& device);
    void clearPortDevice(int portNumber);

    // The underlying store, for settings kept by other parts of the program (the recent-file
    // list of the main window).
    QSettings& store() { return *settings_; }
    // Where the store lives: the settings file, or the registry key on Windows.
    QString fileName() const { return settings_->fileName(); }
    // The lock file that serial-number reservations hold (serial_numbers.h): beside the
    // settings file, named after it ("KQ904.serial.lock"). Not the file QSettings locks itself
    // while it writes, which a reservation writes under.
    QString serialLockPath() const;

    // Writes pending changes out; false when the store could not be written.
    bool sync();

private:
    long long integer(const char* key, long long fallback) const;

    std::unique_ptr<QSettings> settings_;
};

} // namespace kq904
