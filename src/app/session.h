#pragma once
// Everything one run of the program works on, created once at start-up and kept until the end:
// the radio image loaded from the default table files and the feature-flag file of the data
// directory, the profile settings, the port to the radio (or the built-in simulated radio), the
// link that programs and reads the radio, and the document. The link's outcomes go to the user
// through the message presenter, a failure with its reason under it; its refresh notification
// redraws the listing.

#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "document.h"
#include "edit_history.h"
#include "link/link.h"
#include "link/link_observers.h"
#include "link/profile_settings.h"
#include "link/trace_transport.h"
#include "message_presenter.h"
#include "model/radio_image.h"
#include "radio_port.h"
#include "read_backup.h"
#include "simulated_port.h"

namespace kq904 {

struct SessionOptions {
    std::filesystem::path dataDir; // absolute: the table files and kq904.ini
    bool simulate = false; // every port leads to the built-in simulated radio
    std::filesystem::path traceFile; // every byte on the serial line is logged here; empty: none
};

class Session final : public LinkObserver {
public:
    // Loads channelTab.bin, setTab.bin, factoryTab.bin and killTab.bin in that order, then the
    // feature flags; the keyword "factory" offers the Factory command for this run.
    Session(const SessionOptions& options, std::unique_ptr<ProfileSettings> profile);
    ~Session() override;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    RadioImage& image() { return image_; }
    const std::filesystem::path& dataDir() const { return dataDir_; }
    bool factoryEnabled() const { return factoryEnabled_; }
    ProfileSettings& profile() { return *profile_; }
    RadioPort& port() { return port_; }
    Link& link() { return link_; }
    // What else hears the link's reports while it is there (a Programming form): each report
    // reaches these before the session acts on it, so a form has taken in an outcome before
    // its message box shows.
    LinkObservers& linkObservers() { return linkObservers_; }
    CKQ904Doc& document() { return document_; }
    // The undo history of the configuration.
    EditHistory& history() { return *history_; }
    // The simulated radio of --simulate; null for a run with real hardware.
    SimulatedPort* simulatedPort() { return simulated_.get(); }

    MessagePresenter& messages() { return *messages_; }
    // Tests put a recorder in place of the message boxes.
    void setMessagePresenter(std::unique_ptr<MessagePresenter> presenter);
    // The window message boxes are shown over.
    void setMessageParent(QWidget* parent) { messageParent_ = parent; }
    QWidget* messageParent() const { return messageParent_; }
    // Where short notices go (the main window's status bar): a reading kept as a backup.
    void setStatusNotifier(std::function<void(const QString&)> notify)
    {
        statusNotifier_ = std::move(notify);
    }

    // Told when a transfer starts (true) and when it ends (false): the main window greys the
    // commands that would change the image being transferred.
    void setTransferListener(std::function<void(bool running)> listen)
    {
        transferListener_ = std::move(listen);
    }
    bool transferRunning() const { return link_.busy(); }
    // A command that would change the image refuses while a transfer runs: true, after saying
    // why in the status bar, when it must not go on.
    bool refuseWhileTransferring();
    // The status bar's words while a transfer runs.
    static constexpr const char* kTransferUnderWay =
        "Transfer with the radio under way: Open, New, CSV import, editing, undo and the setting "
        "forms wait until it ends";

    // Why the last transfer failed, with the device: the text under "Programming Fail" or
    // "Reading Fail".
    QString failureReason() const;

    // Every "READ OK" also keeps the image as read in the backups folder of the data directory.
    ReadBackup& readBackup() { return readBackup_; }
    // Failed, with the reason, when the trace file of the options cannot be written.
    const Result& traceOpened() const { return traceOpened_; }

    // LinkObserver.
    void refreshRequested() override;
    void transferEnded(LinkOutcome outcome) override;
    void busyChanged(bool busy) override;
    void versionReceived() override;

private:
    RadioImage image_;
    std::filesystem::path dataDir_;
    bool factoryEnabled_ = false;
    std::unique_ptr<ProfileSettings> profile_;
    std::unique_ptr<SimulatedPort> simulated_;
    RadioPort port_;
    Result traceOpened_;
    std::unique_ptr<TraceTransport> trace_; // between the link and the port, when tracing
    ReadBackup readBackup_;
    LinkObservers linkObservers_;
    Link link_;
    CKQ904Doc document_;
    std::unique_ptr<EditHistory> history_;
    // The moment a transfer started: a reading that ends "READ OK" is a step from there.
    std::optional<EditMoment> beforeTransfer_;
    std::unique_ptr<MessagePresenter> messages_;
    QPointer<QWidget> messageParent_;
    std::function<void(const QString&)> statusNotifier_;
    std::function<void(bool)> transferListener_;
};

} // namespace kq904
