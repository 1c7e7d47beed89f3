// Serial-number reservations on a real profile file: each takes the stored number and stores the
// next at once; a number is given back only while nobody has taken one since; and a profile
// that cannot be locked or written reserves nothing.
#include <gtest/gtest.h>

#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include "link/profile_settings.h"
#include "link/serial_numbers.h"

using namespace kq904;

TEST(SerialNumbers, EachReservationTakesTheStoredNumberAndStoresTheNext)
{
    QTemporaryDir dir;
    ProfileSettings window(dir.filePath("profile.ini"));
    window.setSerialNumber(9'999'998);
    ASSERT_TRUE(window.sync());
    ProfileSettings cli(dir.filePath("profile.ini"));

    const auto first = reserveSerialNumber(window);
    const auto second = reserveSerialNumber(cli);
    ASSERT_TRUE(first.result && second.result);
    EXPECT_EQ(first.reservation.serial, 9'999'998u);
    EXPECT_EQ(second.reservation.serial, 9'999'999u);
    EXPECT_EQ(second.reservation.next, 0u); // seven digits wrap to 0
    EXPECT_EQ(currentSerialNumber(window), 0u);

    // The first number went out while the second was taken: it is not handed back.
    EXPECT_FALSE(releaseSerialNumber(window, first.reservation));
    EXPECT_TRUE(releaseSerialNumber(cli, second.reservation));
    EXPECT_EQ(currentSerialNumber(window), 9'999'999u);

    // A user's new starting number; a stored number of eight digits starts again at 0.
    EXPECT_EQ(reserveSerialNumber(window, 500).reservation.next, 501u);
    window.setSerialNumber(0xFFFFFFFF);
    ASSERT_TRUE(window.sync());
    const auto wrapped = reserveSerialNumber(cli);
    EXPECT_EQ(wrapped.reservation.serial, 0u);
    EXPECT_EQ(wrapped.reservation.unusableStored, 0xFFFFFFFFu);
}

TEST(SerialNumbers, NothingIsReservedWithoutTheLockOrAWritableProfile)
{
    QTemporaryDir dir;
    ProfileSettings profile(dir.filePath("profile.ini"));
    profile.setSerialNumber(41);
    ASSERT_TRUE(profile.sync());
    {
        QLockFile other(profile.serialLockPath());
        ASSERT_TRUE(other.tryLock(0));
        const auto taken = reserveSerialNumber(profile, std::nullopt, 200);
        EXPECT_FALSE(taken.result);
        EXPECT_EQ(taken.result.error,
            "the serial number could not be reserved: another program has held the "
            "serial-number lock "
                + profile.serialLockPath().toStdString() + " for more than 0.2 s");
    }
    EXPECT_EQ(currentSerialNumber(profile), 41u);

    // A folder that is a file: neither lock nor profile can be written there.
    QFile blocker(dir.filePath("folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ProfileSettings unwritable(dir.filePath("folder/profile.ini"));
    EXPECT_FALSE(reserveSerialNumber(unwritable).result);
    EXPECT_FALSE(storeSerialNumber(unwritable, 7));
}
