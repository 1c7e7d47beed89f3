#pragma once
// The Edit menu: undo and redo of every change of the configuration, and the listing's channel
// commands: copy, cut and paste of the selected channels (as CHIRP CSV and as tab-separated rows
// a spreadsheet takes), delete, and moving them up or down. Each command that changes the
// configuration is one step of the undo history and brings the default table files up to date
// as the Channel Setting form's "OK" does; none of them runs while a transfer uses the image.

#include <QObject>
#include <QString>
#include <vector>

#include "model/channel_list.h"

class QAction;
class QMainWindow;
class QMenu;
class QMimeData;

namespace kq904 {

class CKQ904View;
class Session;

class EditActions final : public QObject {
    Q_OBJECT
public:
    // The clipboard formats: the CHIRP CSV, and the same rows tab-separated as plain text.
    static constexpr const char* kCsvMimeType = "text/csv";

    EditActions(Session& session, CKQ904View& view, QMainWindow* window);

    QAction* undoAction() const { return undo_; }
    QAction* redoAction() const { return redo_; }
    QAction* cutAction() const { return cut_; }
    QAction* copyAction() const { return copy_; }
    QAction* pasteAction() const { return paste_; }
    QAction* deleteAction() const { return delete_; }
    QAction* moveUpAction() const { return moveUp_; }
    QAction* moveDownAction() const { return moveDown_; }
    QAction* selectAllAction() const { return selectAll_; }
    // The menu's entries, in order, with separators.
    void fillMenu(QMenu* menu) const;

    // Greys the commands that change the image while a transfer uses it.
    void followTransfer(bool running);

    // The commands; each returns whether it changed (or, for copy, filled the clipboard).
    bool copy();
    bool cut();
    bool paste();
    // Asks first unless `ask` is false.
    bool deleteSelected(bool ask = true);
    bool move(ChannelMove move);
    // The clipboard content of the given channels (0-based).
    QMimeData* channelData(const std::vector<int>& channels) const;
    // Pastes what the data holds at the active row's channel.
    bool pasteData(const QMimeData* data);

private:
    void updateUndoActions();
    // channelTab.bin and setTab.bin follow the channels; a problem as text for the message.
    QString keepTableFiles();
    void showStatus(const QString& text);

    Session& session_;
    CKQ904View& view_;
    QMainWindow* window_;
    QAction* undo_;
    QAction* redo_;
    QAction* cut_;
    QAction* copy_;
    QAction* paste_;
    QAction* delete_;
    QAction* moveUp_;
    QAction* moveDown_;
    QAction* selectAll_;
    bool transferRunning_ = false;
};

} // namespace kq904
