#include "cli/verify_session.h"

#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <ostream>

namespace kq904::cli {

namespace {

constexpr int kTickMs = 15;

std::string hexAddress(std::uint16_t address)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", address);
    return text;
}

} // namespace

VerifyReport runVerification(ByteTransport& transport, const RadioImage& image, bool fast)
{
    VerifyRun run(transport, programmedBlocks(image));
    if (fast)
        transport.setArrivalHandler([&run] { run.bytesArrived(); });
    VerifyReport report;
    QEventLoop loop;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(kTickMs);
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        run.tick();
        ++report.ticks;
        if (run.finished()) {
            loop.quit();
        } else if (!transport.isOpen()) {
            report.deviceLost = true;
            loop.quit();
        }
    });
    tick.start();
    loop.exec();
    tick.stop();
    transport.setArrivalHandler({});

    report.status = report.deviceLost ? VerifyStatus::NoAnswer : run.status();
    report.differences = run.differences();
    report.unansweredAddress = run.unansweredAddress();
    report.unansweredCount = run.unansweredCount();
    report.bytesCompared = run.bytesCompared();
    return report;
}

int printVerifyReport(const VerifyReport& report, CommandStreams streams)
{
    if (report.status == VerifyStatus::Ok) {
        streams.out << "Verify OK" << std::endl;
        return kExitOk;
    }
    streams.out << "Verify Fail" << std::endl;
    if (report.status == VerifyStatus::Mismatch) {
        const auto& differences = report.differences;
        const std::size_t listed = std::min(differences.size(), kListedDifferences);
        for (std::size_t i = 0; i < listed; ++i)
            streams.out << differenceText(differences[i]) << '\n';
        if (differences.size() > listed)
            streams.out << "... and " << differences.size() - listed << " more differing bytes\n";
        streams.out << std::flush;
        streams.err << kProgramName << ": the radio holds " << differences.size()
                    << " byte(s) other than written; program it again, and if the same "
                       "addresses differ, its EEPROM is faulty\n";
    } else if (report.deviceLost) {
        streams.err << kProgramName
                    << ": the port closed while reading back: the radio is not "
                       "verified\n";
    } else {
        streams.err << kProgramName << ": no answer to the read of " << report.unansweredCount
                    << " bytes at " << hexAddress(report.unansweredAddress)
                    << ": the radio is not verified\n";
    }
    return kExitVerifyFail;
}

} // namespace kq904::cli
