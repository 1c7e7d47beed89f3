#include "edit_actions.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <algorithm>
#include <string>

#include "edit_history.h"
#include "listing_view.h"
#include "model/csv_export.h"
#include "model/csv_import.h"
#include "model/table_files.h"
#include "problem_text.h"
#include "session.h"

namespace kq904 {

namespace {

constexpr int kStatusMessageMs = 5000;

QByteArray bytesOf(const std::string& text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

EditActions::EditActions(Session& session, CKQ904View& view, QMainWindow* window)
    : QObject(window)
    , session_(session)
    , view_(view)
    , window_(window)
{
    const auto make = [this, window](const QString& text, const QString& tip,
                          const QList<QKeySequence>& keys, auto handler) {
        auto* action = new QAction(text, window);
        action->setStatusTip(tip);
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, handler);
        // The keys work wherever the focus is in the window, not only through the menu.
        window->addAction(action);
        return action;
    };
    EditHistory& history = session_.history();
    undo_ = make(QStringLiteral("&Undo"), QStringLiteral("Undo the last change"),
        {QKeySequence(Qt::CTRL | Qt::Key_Z)}, [this] {
            if (!session_.refuseWhileTransferring())
                session_.history().undo();
        });
    redo_ = make(QStringLiteral("&Redo"), QStringLiteral("Redo the change undone last"),
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
        [this] {
            if (!session_.refuseWhileTransferring())
                session_.history().redo();
        });
    cut_ = make(QStringLiteral("Cu&t"),
        QStringLiteral("Copy the selected channels to the clipboard and delete them"),
        {QKeySequence(Qt::CTRL | Qt::Key_X)}, [this] { cut(); });
    copy_ = make(QStringLiteral("&Copy"),
        QStringLiteral("Copy the selected channels to the clipboard (CSV for CHIRP, rows for "
                       "spreadsheets)"),
        {QKeySequence(Qt::CTRL | Qt::Key_C)}, [this] { copy(); });
    paste_ = make(QStringLiteral("&Paste"),
        QStringLiteral("Write the channels on the clipboard into the channels from the active "
                       "row on"),
        {QKeySequence(Qt::CTRL | Qt::Key_V)}, [this] { paste(); });
    delete_ = make(QStringLiteral("&Delete"), QStringLiteral("Delete the selected channels"),
        {QKeySequence(Qt::Key_Delete)}, [this] { deleteSelected(); });
    moveUp_ =
        make(QStringLiteral("M&ove Up"), QStringLiteral("Move the selected channels one place up"),
            {QKeySequence(Qt::CTRL | Qt::Key_Up)}, [this] { move(ChannelMove::Up); });
    moveDown_ = make(QStringLiteral("Move Do&wn"),
        QStringLiteral("Move the selected channels one place down"),
        {QKeySequence(Qt::CTRL | Qt::Key_Down)}, [this] { move(ChannelMove::Down); });
    selectAll_ = make(QStringLiteral("Select &All"), QStringLiteral("Select every channel"),
        {QKeySequence(Qt::CTRL | Qt::Key_A)}, [this] { view_.selectAllChannels(); });

    QUndoStack& stack = history.stack();
    connect(&stack, &QUndoStack::indexChanged, this, &EditActions::updateUndoActions);
    connect(&history, &EditHistory::restored, this, [this](const QString& problem) {
        if (!problem.isEmpty())
            session_.messages().showError(window_,
                QStringLiteral("The default table files could not be put back, so the next "
                               "start may not begin from this state:\n")
                    + problem);
    });
    updateUndoActions();

    // The listing's context menu offers the channel commands.
    view_.addActions({cut_, copy_, paste_, delete_});
    auto* separator = new QAction(&view_);
    separator->setSeparator(true);
    view_.addActions({separator, moveUp_, moveDown_});
    view_.setContextMenuPolicy(Qt::ActionsContextMenu);
}

void EditActions::fillMenu(QMenu* menu) const
{
    menu->addAction(undo_);
    menu->addAction(redo_);
    menu->addSeparator();
    menu->addAction(cut_);
    menu->addAction(copy_);
    menu->addAction(paste_);
    menu->addAction(delete_);
    menu->addSeparator();
    menu->addAction(moveUp_);
    menu->addAction(moveDown_);
    menu->addSeparator();
    menu->addAction(selectAll_);
}

void EditActions::updateUndoActions()
{
    EditHistory& history = session_.history();
    const QUndoStack& stack = history.stack();
    const auto named = [](const char* verb, const QString& step) {
        return step.isEmpty() ? QLatin1String(verb) : QLatin1String(verb) + QLatin1Char(' ') + step;
    };
    // The step's name may hold an '&' (a file name): it must not become a mnemonic.
    QString undoText = stack.undoText();
    QString redoText = stack.redoText();
    undoText.replace(QLatin1Char('&'), QLatin1String("&&"));
    redoText.replace(QLatin1Char('&'), QLatin1String("&&"));
    undo_->setText(named("&Undo", undoText));
    redo_->setText(named("&Redo", redoText));
    undo_->setEnabled(history.canUndo() && !transferRunning_);
    redo_->setEnabled(history.canRedo() && !transferRunning_);
}

void EditActions::followTransfer(bool running)
{
    transferRunning_ = running;
    for (QAction* action : {cut_, paste_, delete_, moveUp_, moveDown_})
        action->setEnabled(!running);
    updateUndoActions();
}

void EditActions::showStatus(const QString& text)
{
    window_->statusBar()->showMessage(text, kStatusMessageMs);
}

QString EditActions::keepTableFiles()
{
    // The next start begins from the changed channels, as after the Channel Setting form's OK.
    for (TableFile file : {TableFile::Channel, TableFile::Set}) {
        if (const Result written =
                writeTableFileIfDifferent(session_.image(), session_.dataDir(), file);
            !written)
            return QStringLiteral("\n\nThe default table files could not be updated: ")
                + QString::fromStdString(written.error);
    }
    return {};
}

QMimeData* EditActions::channelData(const std::vector<int>& channels) const
{
    const RadioImage& image = session_.image();
    auto* data = new QMimeData;
    data->setData(QLatin1String(kCsvMimeType), bytesOf(exportChannelsCsv(image, channels).text));
    data->setText(QString::fromStdString(exportChannelsCsv(image, channels, '\t').text));
    return data;
}

bool EditActions::copy()
{
    const std::vector<int> channels = view_.selectedChannels();
    if (channels.empty())
        return false;
    QApplication::clipboard()->setMimeData(channelData(channels));
    showStatus(
        QStringLiteral("Copied %1 (%2)")
            .arg(channelsText(static_cast<int>(channels.size())), channelNumbersText(channels)));
    return true;
}

bool EditActions::cut()
{
    if (session_.refuseWhileTransferring() || !copy())
        return false;
    return deleteSelected(false);
}

bool EditActions::paste()
{
    if (session_.refuseWhileTransferring())
        return false;
    return pasteData(QApplication::clipboard()->mimeData());
}

bool EditActions::pasteData(const QMimeData* data)
{
    if (session_.refuseWhileTransferring())
        return false;
    const auto refuse = [this](const QString& why) {
        session_.messages().showError(window_, QStringLiteral("Nothing was pasted: ") + why);
        return false;
    };
    QByteArray text;
    if (data && data->hasFormat(QLatin1String(kCsvMimeType)))
        text = data->data(QLatin1String(kCsvMimeType));
    else if (data && data->hasText())
        text = data->text().toUtf8();
    else
        return refuse(QStringLiteral("the clipboard holds no text. Copy channels here, rows of "
                                     "a CSV file, or cells of a spreadsheet with their header "
                                     "row first."));
    if (static_cast<std::size_t>(text.size()) > kCsvMaxFileSize)
        return refuse(QStringLiteral("the clipboard holds %1 bytes of text, far more than a list "
                                     "of 99 channels.")
                          .arg(text.size()));

    const int first = session_.document().currentChannel();
    const EditMoment before = session_.history().now();
    const CsvImport pasted = pasteChannelsCsv(session_.image(),
        std::string_view(text.constData(), static_cast<std::size_t>(text.size())), first);
    if (!pasted.result)
        return refuse(QString::fromStdString(pasted.result.error)
            + listedLines(QStringLiteral("Rows that could not be taken:"), pasted.problems));
    const QString tableProblem = keepTableFiles();
    session_.history().record(before, QStringLiteral("Paste"));
    session_.document().refresh();
    const int last = std::min(first + pasted.channelsTaken, pasted.channelCount) - 1;
    view_.selectChannels(first, std::max(first, last), first);

    const QString done = QStringLiteral("%1 pasted from channel %2 on")
                             .arg(channelsText(pasted.channelsTaken))
                             .arg(first + 1);
    if (pasted.problems.empty() && tableProblem.isEmpty()) {
        showStatus(done);
        return true;
    }
    session_.messages().showMessage(window_,
        done
            + QStringLiteral(". The radio now has %1 in use.")
                  .arg(channelsText(pasted.channelCount))
            + listedLines(QStringLiteral("Please check:"), pasted.problems) + tableProblem);
    return true;
}

bool EditActions::deleteSelected(bool ask)
{
    if (session_.refuseWhileTransferring())
        return false;
    const std::vector<int> channels = view_.selectedChannels();
    if (channels.empty())
        return false;
    RadioImage& image = session_.image();
    const QString named = channelNumbersText(channels);
    const bool one = channels.size() == 1;
    if (static_cast<int>(channels.size()) >= image.channelCount()) {
        session_.messages().showError(window_,
            QStringLiteral("Nothing was deleted: the radio keeps at least one channel, and "
                           "these are all its channels."));
        return false;
    }
    if (ask
        && !session_.messages().askYesNo(window_,
            QStringLiteral("%1 %2 will be deleted; the channels after %3 move up.")
                .arg(one ? QStringLiteral("Channel") : QStringLiteral("Channels"), named,
                    one ? QStringLiteral("it") : QStringLiteral("them")),
            one ? QStringLiteral("Delete it?") : QStringLiteral("Delete them?")))
        return false;

    const EditMoment before = session_.history().now();
    if (const Result deleted = deleteChannels(image, channels); !deleted) {
        session_.messages().showError(window_,
            QStringLiteral("Nothing was deleted: ") + QString::fromStdString(deleted.error));
        return false;
    }
    const QString tableProblem = keepTableFiles();
    session_.history().record(before, ask ? QStringLiteral("Channel Del.") : QStringLiteral("Cut"));
    session_.document().refresh();
    const int next = std::min(channels.front(), image.channelCount() - 1);
    view_.selectChannels(next, next, next);
    if (!tableProblem.isEmpty())
        session_.messages().showError(window_, tableProblem.trimmed());
    else
        showStatus(QStringLiteral("Deleted %1 (%2)")
                       .arg(channelsText(static_cast<int>(channels.size())), named));
    return true;
}

bool EditActions::move(ChannelMove direction)
{
    if (session_.refuseWhileTransferring())
        return false;
    std::vector<int> channels = view_.selectedChannels();
    if (channels.empty())
        return false;
    const EditMoment before = session_.history().now();
    if (const Result moved = moveChannels(session_.image(), channels, direction); !moved) {
        showStatus(QStringLiteral("Not moved: ") + QString::fromStdString(moved.error));
        return false;
    }
    const QString tableProblem = keepTableFiles();
    const bool up = direction == ChannelMove::Up;
    session_.history().record(before, up ? QStringLiteral("Move Up") : QStringLiteral("Move Down"));
    session_.document().refresh();
    // The selection and the active row go with the channels they were on.
    const int step = up ? -1 : 1;
    int active = session_.document().currentChannel();
    if (std::find(channels.begin(), channels.end(), active) != channels.end())
        active += step;
    for (int& channel : channels)
        channel += step;
    view_.selectChannels(channels, active);
    if (!tableProblem.isEmpty())
        session_.messages().showError(window_, tableProblem.trimmed());
    return true;
}

} // namespace kq904
