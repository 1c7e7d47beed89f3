// The profile keys and their defaults, as a fresh machine and a later run of the program see
// them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "link/profile_settings.h"

using namespace kq904;

namespace {

void writeText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

} // namespace

TEST(ProfileSettings, FirstUseGivesTheDefaults)
{
    QTemporaryDir dir;
    ProfileSettings profile(dir.filePath("profile.ini"));
    EXPECT_EQ(profile.portIndex(), 0);
    EXPECT_EQ(profile.portName(), "COM1");
    EXPECT_EQ(profile.baudRate(), 19200);
    EXPECT_EQ(profile.serialNumber(), 0u);
    EXPECT_FALSE(profile.autoIncrement());
    EXPECT_TRUE(profile.portDevices().empty());
}

TEST(ProfileSettings, ValuesSurviveIntoTheNextRun)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("profile.ini");
    {
        ProfileSettings profile(path);
        profile.setPortIndex(2);
        profile.setBaudRate(19200);
        profile.setSerialNumber(9999999);
        profile.setAutoIncrement(true);
        profile.setPortDevice(3, "/dev/ttyUSB1");
        profile.setPortDevice(7, "/dev/ttyS0");
        profile.clearPortDevice(7);
        ASSERT_TRUE(profile.sync());
    }
    // A new object reads the file afresh, as the next run of the program does; the integers come
    // back as text.
    ProfileSettings next(path);
    EXPECT_EQ(next.portIndex(), 2);
    EXPECT_EQ(next.portName(), "COM3");
    EXPECT_EQ(next.baudRate(), 19200);
    EXPECT_EQ(next.serialNumber(), 9999999u);
    EXPECT_TRUE(next.autoIncrement());
    EXPECT_EQ(next.portDevices(), (std::map<int, QString>{{3, "/dev/ttyUSB1"}}));
}

TEST(ProfileSettings, HandWrittenAndDamagedEntries)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("profile.ini");
    writeText(path,
        "[Settings]\n"
        "COM=-1\n"
        "BAUD=fast\n"
        "SERIAL_NUMBER=-1\n"
        "OK_ADD_ONE= 1 \n"
        "[Ports]\n"
        "COM2=/dev/ttyACM0\n"
        "COMx=/dev/ttyS9\n"
        "COM0=/dev/ttyS8\n"
        "COM4=\n"
        "Other=/dev/ttyS7\n");
    ProfileSettings profile(path);
    // No port chosen: the port number tried is 0, which no device answers to.
    EXPECT_EQ(profile.portIndex(), -1);
    EXPECT_EQ(profile.portName(), "COM0");
    EXPECT_EQ(profile.baudRate(), 19200);
    // The Programming form takes the stored serial as unsigned and shows it as "?".
    EXPECT_EQ(profile.serialNumber(), 0xFFFFFFFFu);
    EXPECT_TRUE(profile.autoIncrement());
    EXPECT_EQ(profile.portDevices(), (std::map<int, QString>{{2, "/dev/ttyACM0"}}));
}

TEST(ProfileSettings, NativeStoreFollowsTheUsersConfigDirectory)
{
    QTemporaryDir dir;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    {
        ProfileSettings profile;
        profile.setPortIndex(4);
        ASSERT_TRUE(profile.sync());
    }
    const QString expected = dir.filePath("Local AppWizard-Generated Applications/KQ904.conf");
    QFile file(expected);
    const bool opened = file.open(QIODevice::ReadOnly);
    const QByteArray text = file.readAll();
    if (saved.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", saved);
    ASSERT_TRUE(opened) << expected.toStdString();
    EXPECT_TRUE(text.contains("[Settings]"));
    EXPECT_TRUE(text.contains("COM=4"));
}
