// The production log's lines as a spreadsheet or a script reads them back.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "cli/production_log.h"

using namespace kq904::cli;

TEST(ProductionLog, OneCsvLinePerRadio)
{
    ProductionRecord record;
    record.finished = QDateTime(QDate(2024, 5, 2), QTime(9, 14, 3, 600));
    record.port = "COM1";
    record.device = "/dev/ttyUSB0";
    record.serial = 42;
    record.programmed = true;
    record.verified = true;
    record.milliseconds = 7049;
    const QString line = QString::fromStdString(productionLogLine(record));
    // Local time with its offset from UTC, whatever the zone the test runs in.
    EXPECT_TRUE(QRegularExpression("^2024-05-02T09:14:03[+-]\\d\\d:\\d\\d,").match(line).hasMatch())
        << line.toStdString();
    EXPECT_TRUE(line.endsWith(",COM1,/dev/ttyUSB0,0000042,Programming OK,Verify OK,7.0"))
        << line.toStdString();

    record.programmed = false;
    record.verified.reset();
    record.failure = "the radio refused frame 2 of 8 (W 0x054A: channel 1 \"extra\", really)";
    record.milliseconds = 3450;
    EXPECT_TRUE(productionLogLine(record).ends_with(
        ",\"Programming Fail; the radio refused frame 2 of 8 (W 0x054A: channel 1 "
        "\"\"extra\"\", really)\",-,3.5"));
    record.serial.reset();
    EXPECT_NE(productionLogLine(record).find(",/dev/ttyUSB0,-,"), std::string::npos);
}
