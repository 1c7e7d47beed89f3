#include "cli/transfer_session.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <filesystem>
#include <iostream>
#include <memory>
#include <system_error>

#include "cli/console.h"

#include "cli/set_file_loading.h"
#include "link/link.h"
#include "link/port_error.h"
#include "link/port_names.h"
#include "link/profile_settings.h"
#include "link/serial_port.h"
#include "link/trace_transport.h"
#include "model/data_dir.h"
#include "model/feature_flags.h"
#include "model/file_io.h"
#include "model/set_file.h"
#include "model/table_files.h"

namespace kq904::cli {

namespace {

constexpr int kTickMs = 15;

// Collects the link's outcome, or its version reply, and ends the event loop.
class OutcomeCatcher final : public LinkObserver {
public:
    explicit OutcomeCatcher(QEventLoop& loop)
        : loop_(loop)
    { }
    void refreshRequested() override { }
    void transferEnded(LinkOutcome outcome) override
    {
        outcome_ = outcome;
        loop_.quit();
    }
    void versionReceived() override
    {
        versionCame_ = true;
        loop_.quit();
    }
    std::optional<LinkOutcome> outcome() const { return outcome_; }
    bool versionCame() const { return versionCame_; }
    bool ended() const { return outcome_ || versionCame_; }

private:
    QEventLoop& loop_;
    std::optional<LinkOutcome> outcome_;
    bool versionCame_ = false;
};

TransferEnding endingOf(LinkOutcome outcome)
{
    switch (outcome) {
    case LinkOutcome::ProgrammingOk:
        return TransferEnding::ProgrammingOk;
    case LinkOutcome::ProgrammingFail:
        return TransferEnding::ProgrammingFail;
    case LinkOutcome::ReadOk:
        return TransferEnding::ReadOk;
    case LinkOutcome::ReadingFail:
        break;
    }
    return TransferEnding::ReadingFail;
}

TransferEnding failureOf(TransferKind kind)
{
    return kind == TransferKind::Programming ? TransferEnding::ProgrammingFail
                                             : TransferEnding::ReadingFail;
}

// "channel 12 of 99", rewritten in place on a terminal.
class ProgressLine {
public:
    ProgressLine(std::ostream& err, bool shown)
        : err_(err)
        , shown_(shown)
    { }
    ~ProgressLine()
    {
        if (written_)
            err_ << '\n' << std::flush;
    }
    void show(const Link& link)
    {
        if (!shown_ || !link.busy())
            return;
        const int count = std::max(1, link.transferChannelCount());
        const int channel = std::min<int>(link.chanIndex() + 1, count);
        if (channel == last_)
            return;
        last_ = channel;
        written_ = true;
        err_ << "\rchannel " << channel << " of " << count << std::flush;
    }

private:
    std::ostream& err_;
    bool shown_;
    bool written_ = false;
    int last_ = -1;
};

} // namespace

std::string endingText(TransferEnding ending)
{
    switch (ending) {
    case TransferEnding::ComPortFail:
        return std::string(kComPortFail);
    case TransferEnding::ProgrammingOk:
        return std::string(outcomeText(LinkOutcome::ProgrammingOk));
    case TransferEnding::ProgrammingFail:
        return std::string(outcomeText(LinkOutcome::ProgrammingFail));
    case TransferEnding::ReadOk:
        return std::string(outcomeText(LinkOutcome::ReadOk));
    case TransferEnding::ReadingFail:
        return std::string(outcomeText(LinkOutcome::ReadingFail));
    case TransferEnding::VersionReceived:
        break;
    }
    return {};
}

int exitStatus(TransferEnding ending)
{
    switch (ending) {
    case TransferEnding::ComPortFail:
        return kExitComPortFail;
    case TransferEnding::ProgrammingFail:
    case TransferEnding::ReadingFail:
        return kExitTransferFail;
    case TransferEnding::ProgrammingOk:
    case TransferEnding::ReadOk:
    case TransferEnding::VersionReceived:
        break;
    }
    return kExitOk;
}

std::optional<RadioImage> loadStartupImage(
    const ParsedArguments& parsed, const std::string* setFile, CommandStreams streams)
{
    const std::filesystem::path dataDir =
        resolveDataDir(pathFromUtf8(parsed.value("--data-dir").value_or("")));
    std::error_code ec;
    if (!std::filesystem::is_directory(dataDir, ec)) {
        streams.err << kProgramName << ": data directory " << pathText(dataDir)
                    << " is not a directory\n";
        return std::nullopt;
    }
    RadioImage image;
    loadTableFiles(image, dataDir);
    readFeatureFlags(image, dataDir);
    if (setFile && !loadSetFileWithWarning(image, *setFile, streams))
        return std::nullopt;
    return image;
}

std::optional<int> rejectEmptyPort(const ParsedArguments& parsed, CommandStreams streams)
{
    const std::optional<std::string> port = parsed.value("--port");
    if (port && port->empty())
        return usageError(streams, "option '--port' needs a port name or device");
    return std::nullopt;
}

std::optional<int> rejectEmptyDataDir(const ParsedArguments& parsed, CommandStreams streams)
{
    const std::optional<std::string> dir = parsed.value("--data-dir");
    if (dir && dir->empty())
        return usageError(streams, "option '--data-dir' needs a directory");
    return std::nullopt;
}

bool openTraceFile(const ParsedArguments& parsed, std::ofstream& file, CommandStreams streams)
{
    const std::optional<std::string> path = parsed.value("--trace");
    if (!path)
        return true;
    if (!path->empty())
        file.open(pathFromUtf8(*path), std::ios::out | std::ios::trunc);
    if (!file.is_open()) {
        streams.err << kProgramName << ": cannot write the trace file '" << *path << "'\n";
        return false;
    }
    return true;
}

EventLoopScope::EventLoopScope()
{
    if (!QCoreApplication::instance())
        app_ = std::make_unique<QCoreApplication>(argc_, argv_);
}

EventLoopScope::~EventLoopScope() = default;

TransferReport runTransfer(RadioImage& image, TransferKind kind,
    const std::optional<std::string>& portName, CommandStreams streams,
    const TransferExtras& extras)
{
    // The link is paced by a timer, so it needs an event loop.
    const EventLoopScope eventLoop;

    TransferReport report;
    ProfileSettings profile;
    const QString port = portName ? QString::fromStdString(*portName) : profile.portName();
    const ResolvedPort resolved = PortNameResolver::forSystem(profile).resolve(port);
    if (!resolved.ok()) {
        streams.err << kProgramName << ": " << port.toStdString() << ": "
                    << resolved.problem.toStdString() << '\n';
        return report;
    }

    const std::string device = portDescription(port, resolved.device).toStdString();
    const QString builtInNote = builtInPortNote(port, resolved.device);
    const auto withNote = [&builtInNote](std::string reason) {
        if (!builtInNote.isEmpty())
            reason += "\n" + std::string(kProgramName) + ": " + builtInNote.toStdString();
        return reason;
    };

    SerialPort serial;
    serial.setDevice(resolved.device, profile.baudRate());
    ByteTransport* transport = &serial;
    std::optional<TraceTransport> trace;
    if (extras.trace) {
        trace.emplace(serial, *extras.trace);
        trace->note("port " + device + " at " + std::to_string(profile.baudRate()) + " baud");
        transport = &*trace;
    }
    QEventLoop loop;
    OutcomeCatcher catcher(loop);
    Link link(image, *transport, &catcher);
    link.setFastTransfer(extras.fast);
    if (extras.fast)
        transport->setArrivalHandler([&link] { link.bytesArrived(); });
    const Result started = kind == TransferKind::Programming ? link.startProgramming()
        : kind == TransferKind::Reading                      ? link.startReading()
                                                             : link.requestVersion();
    if (!started) {
        // stdout says "Com Port Fail"; here is which device and why, with what to do about it.
        const std::string reason = diagnosePortFailure(serial).text;
        report.reason = reason;
        streams.err << kProgramName << ": " << withNote(reason) << '\n';
        if (trace)
            trace->note(std::string(kComPortFail) + ": " + reason);
        return report;
    }

    ProgressLine progress(streams.err, stderrIsTerminal() && &streams.err == &std::cerr);
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(kTickMs);
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        link.tick();
        ++report.ticks;
        if (catcher.ended())
            return; // the loop is already ending
        progress.show(link);
        if (!serial.isOpen()) {
            // The device went away under the transfer: the link would wait on a closed port
            // for ever, so the transfer ends here as failed.
            loop.quit();
        }
    });
    if (!catcher.ended()) {
        tick.start();
        loop.exec();
        tick.stop();
    }

    transport->setArrivalHandler({});

    if (catcher.outcome()) {
        report.ending = endingOf(*catcher.outcome());
    } else if (catcher.versionCame()) {
        report.ending = TransferEnding::VersionReceived;
        report.versionWord = link.versionWord();
    } else {
        report.ending = failureOf(kind);
    }
    // stdout has the program's own words; stderr says on which device and why.
    if (const auto& failure = link.lastFailure())
        report.reason = failureText(*failure, device);
    if (!report.reason.empty())
        streams.err << kProgramName << ": " << withNote(report.reason) << '\n';
    if (trace) {
        const std::string note = report.ending == TransferEnding::VersionReceived
            ? "version " + std::to_string(report.versionWord)
            : endingText(report.ending);
        trace->note(report.reason.empty() ? note : note + ": " + report.reason);
    }
    if (extras.verify && report.ending == TransferEnding::ProgrammingOk) {
        report.verify = runVerification(*transport, image, extras.fast);
        if (trace)
            trace->note(report.verify->status == VerifyStatus::Ok ? "Verify OK" : "Verify Fail");
    }
    return report;
}

} // namespace kq904::cli
