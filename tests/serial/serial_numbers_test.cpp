// Serial-number reservations on a real profile file, from two programs' profile objects: each
// takes the stored number and stores the next at once; a number goes back only while nobody has
// taken one since; and without the lock nothing is taken.
#include <gtest/gtest.h>

#include <QLockFile>
#include <QTemporaryDir>

#include "link/profile_settings.h"
#include "link/serial_numbers.h"

using namespace kq904;

TEST(SerialNumbers, ReservationsTakeInTurnAndGiveBackOnlyTheLatest)
{
    QTemporaryDir dir;
    ProfileSettings window(dir.filePath("profile.ini"));
    window.setSerialNumber(9'999'998);
    ASSERT_TRUE(window.sync());
    ProfileSettings cli(dir.filePath("profile.ini"));
    const auto first = reserveSerialNumber(window);
    const auto second = reserveSerialNumber(cli);
    EXPECT_EQ(first.reservation.serial, 9'999'998u);
    EXPECT_EQ(second.reservation.serial, 9'999'999u);
    EXPECT_EQ(currentSerialNumber(window), 0u); // seven digits wrap to 0
    EXPECT_FALSE(releaseSerialNumber(window, first.reservation)); // 9 999 999 went out since
    EXPECT_TRUE(releaseSerialNumber(cli, second.reservation));
    EXPECT_EQ(currentSerialNumber(window), 9'999'999u);

    QLockFile other(window.serialLockPath());
    ASSERT_TRUE(other.tryLock(0));
    const auto refused = reserveSerialNumber(window, std::nullopt, 200);
    EXPECT_TRUE(refused.result.error.ends_with(
        "serial-number lock " + window.serialLockPath().toStdString() + " for more than 0.2 s"));
    EXPECT_EQ(currentSerialNumber(cli), 9'999'999u);
}
