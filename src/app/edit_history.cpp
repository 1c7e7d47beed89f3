#include "edit_history.h"

#include <QUndoCommand>

namespace kq904 {

// One step: the moments before and after it. The document's file is kept only by the steps
// that change it (Open, New).
class ConfigurationStep final : public QUndoCommand {
public:
    ConfigurationStep(EditHistory& history, const QString& name, const EditMoment& before,
        const EditMoment& after)
        : QUndoCommand(name)
        , history_(history)
        , before_{before.image, before.files}
        , after_{after.image, after.files}
    {
        if (!(before.document == after.document)) {
            beforeFile_ = before.document;
            afterFile_ = after.document;
        }
    }

    void undo() override { history_.put(moment(after_, afterFile_), moment(before_, beforeFile_)); }
    void redo() override
    {
        // The step has happened already when it is pushed.
        if (pushed_) {
            pushed_ = false;
            return;
        }
        history_.put(moment(before_, beforeFile_), moment(after_, afterFile_));
    }

    // Every step can take in table files written right after it with nothing else changed:
    // QUndoStack offers each new step to the one before it.
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = static_cast<const ConfigurationStep*>(other);
        if (!next->follows(*this))
            return false;
        after_.files = next->after_.files;
        return true;
    }

    // Whether this step only wrote table files, from the very moment `previous` ended.
    bool follows(const ConfigurationStep& previous) const
    {
        return sameConfiguration(before_.image, after_.image) && !beforeFile_
            && sameConfiguration(before_.image, previous.after_.image)
            && before_.files == previous.after_.files;
    }

private:
    struct Kept {
        RadioImage image;
        TableFileContents files;
    };

    static EditMoment moment(const Kept& kept, const std::optional<DocumentFile>& file)
    {
        return {kept.image, kept.files, file.value_or(DocumentFile{})};
    }

    EditHistory& history_;
    Kept before_;
    Kept after_;
    std::optional<DocumentFile> beforeFile_;
    std::optional<DocumentFile> afterFile_;
    bool pushed_ = true;
};

EditHistory::EditHistory(RadioImage& image, CKQ904Doc& document, std::filesystem::path dataDir)
    : image_(image)
    , document_(document)
    , dataDir_(std::move(dataDir))
{
    stack_.setUndoLimit(kStepLimit);
}

EditHistory::~EditHistory() = default;

EditMoment EditHistory::now() const
{
    return {image_, readTableFileContents(dataDir_), document_.file()};
}

bool EditHistory::record(const EditMoment& before, const QString& name)
{
    EditMoment after = now();
    // Table files rewritten with nothing else changed (an "OK" without an edit) are no step.
    if (sameConfiguration(before.image, after.image) && before.document == after.document)
        return false;
    stack_.push(new ConfigurationStep(*this, name, before, after));
    return true;
}

void EditHistory::joinFileWrites(const EditMoment& before)
{
    // Onto the step done last, with nothing to redo above it: pushed, the file writes merge
    // into it (ConfigurationStep::mergeWith) and leave no step of their own.
    const int last = stack_.index() - 1;
    if (last < 0 || last != stack_.count() - 1)
        return;
    const auto* previous = static_cast<const ConfigurationStep*>(stack_.command(last));
    EditMoment after = now();
    if (after.files == before.files)
        return;
    auto writes = std::make_unique<ConfigurationStep>(*this, QString(), before, after);
    if (writes->follows(*previous))
        stack_.push(writes.release());
}

void EditHistory::put(const EditMoment& from, const EditMoment& to)
{
    applyImageChange(image_, from.image, to.image);
    const Result files = restoreTableFiles(dataDir_, from.files, to.files);
    if (!(from.document == to.document))
        document_.restoreFile(to.document);
    document_.refresh();
    emit restored(files ? QString() : QString::fromStdString(files.error));
}

} // namespace kq904
