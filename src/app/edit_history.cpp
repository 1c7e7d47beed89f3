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

    // The table files as they are now belong to this step's after.
    void takeFiles(const TableFileContents& files) { after_.files = files; }
    const TableFileContents& filesAfter() const { return after_.files; }

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
    auto* step = new ConfigurationStep(*this, name, before, after);
    stack_.push(step);
    lastPushed_ = step;
    return true;
}

void EditHistory::joinFileWrites(const EditMoment& before)
{
    // Only onto the step recorded last, still on top and done, and only files written since
    // `before` with nothing else changed in between.
    const int last = stack_.count() - 1;
    if (last < 0 || stack_.index() != last + 1 || stack_.command(last) != lastPushed_)
        return;
    if (!(lastPushed_->filesAfter() == before.files) || !sameConfiguration(before.image, image_))
        return;
    if (TableFileContents files = readTableFileContents(dataDir_); !(files == before.files))
        lastPushed_->takeFiles(files);
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
