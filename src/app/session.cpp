#include "session.h"

#include <QApplication>

#include "model/feature_flags.h"
#include "model/table_files.h"

namespace kq904 {

namespace {

std::unique_ptr<TraceTransport> openTrace(
    const std::filesystem::path& path, ByteTransport& port, Result& opened)
{
    if (path.empty())
        return nullptr;
    return TraceTransport::toFile(port, path, opened);
}

} // namespace

Session::Session(const SessionOptions& options, std::unique_ptr<ProfileSettings> profile)
    : dataDir_(options.dataDir)
    , profile_(std::move(profile))
    , port_(*profile_)
    , trace_(openTrace(options.traceFile, port_, traceOpened_))
    , readBackup_(*profile_, dataDir_)
    , link_(image_, trace_ ? static_cast<ByteTransport&>(*trace_) : port_, this)
    , document_(image_, dataDir_)
    , history_(std::make_unique<EditHistory>(image_, document_, dataDir_))
    , messages_(std::make_unique<MessageBoxPresenter>())
{
    loadTableFiles(image_, dataDir_);
    factoryEnabled_ = readFeatureFlags(image_, dataDir_);
    document_.markUnmodified();
    if (options.simulate) {
        simulated_ = std::make_unique<SimulatedPort>();
        port_.attachSimulatedRadio(*simulated_);
    }
    // Bytes that arrive between ticks; the link takes them in at once only with fast transfer.
    port_.setArrivalHandler([this] { link_.bytesArrived(); });
}

Session::~Session()
{
    port_.setArrivalHandler({});
    link_.setObserver(nullptr);
}

void Session::setMessagePresenter(std::unique_ptr<MessagePresenter> presenter)
{
    messages_ = std::move(presenter);
}

void Session::refreshRequested()
{
    linkObservers_.refreshRequested();
    document_.refresh();
}

void Session::busyChanged(bool busy)
{
    // A reading replaces the configuration only at its end; what it replaces is this. "Fast
    // transfer" of the Port setting form applies from the next transfer on.
    if (busy) {
        beforeTransfer_ = history_->now();
        link_.setFastTransfer(profile_->fastLink());
    }
    linkObservers_.busyChanged(busy);
    if (transferListener_)
        transferListener_(busy);
}

void Session::versionReceived()
{
    linkObservers_.versionReceived();
}

bool Session::refuseWhileTransferring()
{
    if (!link_.busy())
        return false;
    if (statusNotifier_)
        statusNotifier_(QString::fromStdString(link_.busyText()));
    return true;
}

QString Session::failureReason() const
{
    const auto& failure = link_.lastFailure();
    if (!failure)
        return {};
    QString reason =
        QString::fromStdString(failureText(*failure, port_.deviceDescription().toStdString()));
    if (const QString note = port_.builtInNote(); !note.isEmpty())
        reason += QStringLiteral("\n") + note;
    return reason;
}

void Session::transferEnded(LinkOutcome outcome)
{
    linkObservers_.transferEnded(outcome);
    const std::string_view text = outcomeText(outcome);
    const QString reason = failureReason();
    if (trace_)
        trace_->note(
            reason.isEmpty() ? std::string(text) : std::string(text) + ": " + reason.toStdString());
    // The backup is written before the box waits for its click; the reading is good whatever
    // becomes of the backup.
    ReadBackup::Outcome backup;
    if (outcome == LinkOutcome::ReadOk) {
        if (beforeTransfer_)
            history_->record(*beforeTransfer_, QStringLiteral("Reading"));
        backup = readBackup_.keep(image_);
        if (!backup.text.isEmpty() && statusNotifier_)
            statusNotifier_(backup.text);
    }
    // Over the form that is open (the Programming form), else over the main window.
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent)
        parent = messageParent_;
    // The program's own words, and under them which device and why it failed.
    beforeTransfer_.reset();
    messages_->showMessageWithReason(
        parent, QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())), reason);
    if (!backup.saved && !backup.text.isEmpty())
        messages_->showError(parent, backup.text);
}

} // namespace kq904
