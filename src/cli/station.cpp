#include "cli/station.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <iostream>
#include <memory>
#include <optional>
#include <ostream>
#include <set>

#include "cli/console.h"
#include "cli/production_log.h"
#include "cli/station_status.h"
#include "cli/stop_requests.h"
#include "cli/transfer_session.h"
#include "link/link.h"
#include "link/port_error.h"
#include "link/port_names.h"
#include "link/presence_probe.h"
#include "link/profile_settings.h"
#include "link/serial_numbers.h"
#include "link/serial_port.h"
#include "link/verify.h"
#include "model/file_io.h"

namespace kq904::cli {

namespace {

constexpr int kTickMs = 15;
// Unanswered version requests in a row (a second each) after which the radio counts as taken
// off the cable. One could be a reply lost to noise; the same radio must never be programmed
// again under a new number.
constexpr int kRemovedAfterUnanswered = 2;
// How often a port whose device went away is tried again.
constexpr int kReopenTicks = PresenceProbe::requestIntervalTicks;

class Station;

// One port of the station and the radio on it.
class StationPort final : public LinkObserver {
public:
    enum class Phase { Waiting, Programming, Verifying, Removal, Stopped };

    StationPort(Station& station, std::string given, QString device, int baudRate);
    ~StationPort() override;

    const std::string& given() const { return given_; }
    const QString& device() const { return device_; }
    SerialPort& serial() { return serial_; }
    Phase phase() const { return phase_; }

    void tick();
    // The status line: what the port does now; with `progress`, how far it has got.
    std::string status(bool progress) const;

    void refreshRequested() override { }
    void transferEnded(LinkOutcome outcome) override { outcome_ = outcome; }

private:
    void waitForRadio();
    void startRadio();
    void followProgramming();
    void followVerifying();
    void waitForRemoval();
    void finishRadio();
    void bytesArrived();
    std::string serialText() const;

    Station& station_;
    std::string given_;
    QString device_;
    SerialPort serial_;
    PresenceProbe probe_{serial_};
    Phase phase_ = Phase::Waiting;
    long ticks_ = 0;

    // The radio on the cable.
    RadioImage image_;
    std::unique_ptr<Link> link_;
    std::unique_ptr<VerifyRun> verify_;
    std::optional<LinkOutcome> outcome_;
    QElapsedTimer clock_;
    ProductionRecord record_;
    std::string lastResult_; // "Programming OK, Verify OK (7.1 s)"
};

class Station {
public:
    Station(const StationOptions& options, const RadioImage& image, CommandStreams streams)
        : options_(options)
        , image_(image)
        , streams_(streams)
    { }

    const StationOptions& options() const { return options_; }
    const RadioImage& image() const { return image_; }
    ProfileSettings& profile() { return profile_; }

    // A new radio may be started: no stop was asked for, --count is not reached, the log works.
    bool mayStartRadio() const
    {
        return !stopping_ && (options_.count == 0 || started_ < options_.count);
    }
    void radioStarted() { ++started_; }
    void stop() { stopping_ = true; }
    bool stopping() const { return stopping_; }

    // Writes the radio's line to the production log and counts it.
    void radioDone(const ProductionRecord& record)
    {
        const bool passed = record.programmed && record.verified.value_or(true);
        (passed ? passed_ : failed_) += 1;
        if (const Result written = appendToProductionLog(options_.logFile, record); !written) {
            // The radio is done, but nothing says so on disk: say it here, and start no more.
            streams_.err << kProgramName << ": " << written.error << "\n"
                         << kProgramName << ": the line not written: " << productionLogLine(record)
                         << std::endl;
            logFailed_ = true;
            stopping_ = true;
        }
    }

    int passed() const { return passed_; }
    int failed() const { return failed_; }
    bool logFailed() const { return logFailed_; }

private:
    const StationOptions& options_;
    const RadioImage& image_;
    CommandStreams streams_;
    ProfileSettings profile_;
    int started_ = 0;
    int passed_ = 0;
    int failed_ = 0;
    bool stopping_ = false;
    bool logFailed_ = false;
};

StationPort::StationPort(Station& station, std::string given, QString device, int baudRate)
    : station_(station)
    , given_(std::move(given))
    , device_(std::move(device))
{
    serial_.setDevice(device_, baudRate);
    if (station_.options().fast)
        serial_.setArrivalHandler([this] { bytesArrived(); });
}

StationPort::~StationPort()
{
    serial_.setArrivalHandler({});
}

void StationPort::bytesArrived()
{
    if (phase_ == Phase::Programming && link_)
        link_->bytesArrived();
    else if (phase_ == Phase::Verifying && verify_)
        verify_->bytesArrived();
}

void StationPort::tick()
{
    ++ticks_;
    switch (phase_) {
    case Phase::Waiting:
        waitForRadio();
        break;
    case Phase::Programming:
        followProgramming();
        break;
    case Phase::Verifying:
        followVerifying();
        break;
    case Phase::Removal:
        waitForRemoval();
        break;
    case Phase::Stopped:
        break;
    }
}

void StationPort::waitForRadio()
{
    if (!station_.mayStartRadio()) {
        phase_ = Phase::Stopped;
        return;
    }
    if (!serial_.isOpen()) {
        // The adapter went away; it may come back under the same name.
        if (ticks_ % kReopenTicks == 0 && serial_.open())
            probe_.restart();
        return;
    }
    probe_.tick();
    if (probe_.heard())
        startRadio();
}

void StationPort::startRadio()
{
    clock_.start();
    station_.radioStarted();
    record_ = {};
    record_.port = given_;
    record_.device = device_.toStdString();
    outcome_.reset();
    verify_.reset();
    image_ = station_.image();
    // Taken from the profile under its lock, and the profile moved on, before the radio sees a
    // byte: a crash never hands the number out again.
    const SerialReservationResult taken = reserveSerialNumber(station_.profile());
    if (!taken.result) {
        record_.failure = taken.result.error;
        finishRadio();
        return;
    }
    record_.serial = taken.reservation.serial;
    image_.id.set(IdSettings::serialNumber, taken.reservation.serial);
    link_ = std::make_unique<Link>(image_, serial_, this);
    link_->setFastTransfer(station_.options().fast);
    phase_ = Phase::Programming;
    if (const Result started = link_->startProgramming(); !started) {
        record_.failure = started.error + ": " + serial_.lastError().toStdString();
        finishRadio();
    }
}

void StationPort::followProgramming()
{
    link_->tick();
    if (!outcome_)
        return;
    record_.programmed = *outcome_ == LinkOutcome::ProgrammingOk;
    if (const auto& failure = link_->lastFailure()) {
        // The device has a column of its own.
        const std::string on = device_.toStdString() + ": ";
        record_.failure = failureText(*failure, device_.toStdString()).substr(on.size());
    }
    if (record_.programmed && station_.options().verify) {
        verify_ = std::make_unique<VerifyRun>(serial_, programmedBlocks(image_));
        phase_ = Phase::Verifying;
        return;
    }
    finishRadio();
}

void StationPort::followVerifying()
{
    verify_->tick();
    if (verify_->finished())
        record_.verified = verify_->status() == VerifyStatus::Ok;
    else if (!serial_.isOpen())
        record_.verified = false; // the device went away under the read-back
    if (record_.verified.has_value())
        finishRadio();
}

void StationPort::finishRadio()
{
    record_.finished = QDateTime::currentDateTime();
    record_.milliseconds = clock_.elapsed();
    lastResult_ = record_.programmed ? "Programming OK" : "Programming Fail";
    if (record_.verified)
        lastResult_ += *record_.verified ? ", Verify OK" : ", Verify Fail";
    if (record_.verified == false && verify_ && !verify_->differences().empty())
        lastResult_ += " (" + std::to_string(verify_->differences().size())
            + " byte(s) differ, the first at " + differenceText(verify_->differences().front())
            + ")";
    if (!record_.programmed && !record_.failure.empty())
        lastResult_ += " (" + record_.failure + ")";
    station_.radioDone(record_);
    phase_ = Phase::Removal;
    probe_.restart();
}

void StationPort::waitForRemoval()
{
    // A radio that is done may stay on the cable until the operator takes it; stopping now
    // leaves nothing half-written.
    if (!station_.mayStartRadio()) {
        phase_ = Phase::Stopped;
        return;
    }
    probe_.tick();
    if (probe_.unansweredInARow() >= kRemovedAfterUnanswered) {
        phase_ = Phase::Waiting;
        probe_.restart();
    }
}

std::string StationPort::serialText() const
{
    return record_.serial ? sevenDigitSerial(*record_.serial) : std::string("-");
}

std::string StationPort::status(bool progress) const
{
    switch (phase_) {
    case Phase::Waiting:
        if (!serial_.isOpen())
            return "the device went away (" + serial_.lastError().toStdString()
                + "); trying again every second";
        return "waiting for a radio";
    case Phase::Programming: {
        std::string text = "programming serial " + serialText();
        if (progress && link_) {
            const int count = std::max(1, link_->transferChannelCount());
            const int channel = std::min<int>(link_->chanIndex() + 1, count);
            text += ": channel " + std::to_string(channel) + " of " + std::to_string(count);
        }
        return text;
    }
    case Phase::Verifying: {
        std::string text = "verifying serial " + serialText();
        if (progress && verify_)
            text += ": " + std::to_string(verify_->progressPercent()) + " %";
        return text;
    }
    case Phase::Removal:
        return "done, serial " + serialText() + ": " + lastResult_
            + "; take the radio off the cable";
    case Phase::Stopped:
        return "stopped";
    }
    return {};
}

// Resolves every port given to its device; false, with the reason on stderr, when one leads
// nowhere or two lead to the same device.
bool resolvePorts(const std::vector<std::string>& given, ProfileSettings& profile,
    std::vector<QString>& devices, CommandStreams streams)
{
    const PortNameResolver resolver = PortNameResolver::forSystem(profile);
    std::set<QString> seen;
    for (const std::string& port : given) {
        const ResolvedPort resolved = resolver.resolve(QString::fromStdString(port));
        if (!resolved.ok()) {
            streams.err << kProgramName << ": " << port << ": " << resolved.problem.toStdString()
                        << '\n';
            return false;
        }
        if (!seen.insert(resolved.device).second) {
            streams.err << kProgramName << ": " << port << ": " << resolved.device.toStdString()
                        << " is given twice\n";
            return false;
        }
        devices.push_back(resolved.device);
    }
    return true;
}

} // namespace

int runStation(const StationOptions& options, const RadioImage& image, CommandStreams streams)
{
    const EventLoopScope eventLoop;

    Station station(options, image, streams);
    std::vector<std::string> given = options.ports;
    if (given.empty())
        given.push_back(station.profile().portName().toStdString());
    std::vector<QString> devices;
    if (!resolvePorts(given, station.profile(), devices, streams))
        return kExitComPortFail;
    std::vector<std::unique_ptr<StationPort>> ports;
    for (std::size_t i = 0; i < given.size(); ++i) {
        ports.push_back(std::make_unique<StationPort>(
            station, given[i], devices[i], station.profile().baudRate()));
        if (!ports.back()->serial().open()) {
            streams.err << kProgramName << ": " << kComPortFail << ": "
                        << diagnosePortFailure(ports.back()->serial()).text << '\n';
            return kExitComPortFail;
        }
    }

    // Only once every port is there: a station that cannot start leaves no file behind.
    if (const Result prepared = prepareProductionLog(options.logFile); !prepared) {
        streams.err << kProgramName << ": " << prepared.error << '\n';
        return kExitFailure;
    }

    std::string whyNot;
    const auto stopRequests = StopRequests::catchThem([&station] { station.stop(); }, &whyNot);
    if (!stopRequests) {
        streams.err << kProgramName << ": cannot catch the stop signals: " << whyNot << '\n';
        return kExitFailure;
    }

    StationStatus status(streams.err, stderrIsTerminal() && &streams.err == &std::cerr);
    QEventLoop loop;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(kTickMs);
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        bool running = false;
        std::vector<StationStatus::Line> lines;
        for (const auto& port : ports) {
            port->tick();
            running = running || port->phase() != StationPort::Phase::Stopped;
            lines.push_back({port->given(), port->status(false), port->status(true)});
        }
        status.show(lines, station.stopping());
        if (!running)
            loop.quit();
    });
    tick.start();
    loop.exec();
    tick.stop();
    status.finish();

    const int radios = station.passed() + station.failed();
    streams.out << radios << (radios == 1 ? " radio" : " radios") << ": " << station.passed()
                << " passed, " << station.failed() << " failed" << std::endl;
    if (station.logFailed())
        return kExitFailure;
    return station.failed() > 0 ? kExitTransferFail : kExitOk;
}

} // namespace kq904::cli
