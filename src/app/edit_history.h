#pragma once
// The window's undo history. Every change of the configuration is one step: a form closed (by
// OK or any other way, when it changed something), Channel Add. and Channel Del. in the Channel
// Setting form, CSV import, Open, New, a reading that ended "READ OK", and the listing's paste,
// cut, delete and moves. A step holds the moment before it and the moment after it: the image,
// the table files as they lay in the data directory, and which set file the document was. Undo
// puts back the bytes the step changed and writes the table files it had written back to what
// they were (or removes one it had created), so the next start-up sees the undone state; redo
// does the reverse. A step that changed nothing is not recorded.

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <filesystem>
#include <memory>
#include <optional>

#include "document.h"
#include "model/configuration_snapshot.h"
#include "model/radio_image.h"

namespace kq904 {

class ConfigurationStep;

// One moment as the history keeps it.
struct EditMoment {
    RadioImage image;
    TableFileContents files;
    DocumentFile document;
};

class EditHistory final : public QObject {
    Q_OBJECT
public:
    // A step is a few kilobytes: this many cost a few megabytes.
    static constexpr int kStepLimit = 500;

    EditHistory(RadioImage& image, CKQ904Doc& document, std::filesystem::path dataDir);
    ~EditHistory() override;

    // The moment before a step.
    EditMoment now() const;
    // Records the step from `before` to now under `name` ("Channel Setting": the Edit menu then
    // offers "Undo Channel Setting") when the configuration or the document's file changed;
    // returns whether it did.
    bool record(const EditMoment& before, const QString& name);
    // A form that recorded steps while it was open (Channel Add., Channel Del.) and then only
    // wrote table files as it closed: those files belong to its last step, so undoing that step
    // puts them back too. Does nothing when nothing else happened since that step.
    void joinFileWrites(const EditMoment& before);

    QUndoStack& stack() { return stack_; }
    bool canUndo() const { return stack_.canUndo(); }
    bool canRedo() const { return stack_.canRedo(); }
    void undo() { stack_.undo(); }
    void redo() { stack_.redo(); }
    // Forgets every step.
    void clear() { stack_.clear(); }

signals:
    // An undo or redo put a moment back and the listing was redrawn; `problem` says which table
    // file could not be written back, empty when all were.
    void restored(const QString& problem);

private:
    friend class ConfigurationStep;
    // Makes `to` the current moment where `from` and `to` differ.
    void put(const EditMoment& from, const EditMoment& to);

    RadioImage& image_;
    CKQ904Doc& document_;
    std::filesystem::path dataDir_;
    QUndoStack stack_;
};

} // namespace kq904
