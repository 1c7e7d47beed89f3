#include "document.h"

#include <algorithm>

#include "model/configuration_snapshot.h"
#include "model/file_io.h"
#include "model/program_version.h"
#include "model/set_file.h"
#include "model/table_files.h"

namespace kq904 {

CKQ904Doc::CKQ904Doc(RadioImage& image, std::filesystem::path dataDir)
    : image_(image)
    , dataDir_(std::move(dataDir))
{ }

void CKQ904Doc::addView(DocumentView* view)
{
    if (std::find(views_.begin(), views_.end(), view) == views_.end())
        views_.push_back(view);
}

void CKQ904Doc::removeView(DocumentView* view)
{
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
}

void CKQ904Doc::updateAllViews(unsigned hint)
{
    for (DocumentView* view : views_)
        view->onDocumentUpdate(hint);
}

namespace {

// The image as the listing leaves it: every paint clears the bits whose features are off, so a
// file that holds them would otherwise count as modified from its first paint on.
RadioImage asShown(const RadioImage& image)
{
    RadioImage shown = image;
    shown.applyFeatureGating();
    return shown;
}

} // namespace

void CKQ904Doc::newDocument()
{
    path_.clear();
    markUnmodified();
    updateAllViews(kFullRedrawHint);
}

bool CKQ904Doc::isModified() const
{
    return !sameConfiguration(asShown(image_), saved_);
}

void CKQ904Doc::markUnmodified()
{
    saved_ = asShown(image_);
}

void CKQ904Doc::restoreFile(const DocumentFile& file)
{
    path_ = file.path;
    saved_ = file.saved;
}

Result CKQ904Doc::open(const std::filesystem::path& path, const ConfirmOpen& openAnyway)
{
    // The bytes that were checked are the bytes that load: the file is read once.
    const SetFileContent content = readSetFile(path);
    if (!content.result)
        return content.result;
    if (!content.problem.empty() && !(openAnyway && openAnyway(content.problem)))
        return Result::failure(content.problem);
    if (Result loaded = decodeSetFile(image_, content.bytes); !loaded)
        return Result::failure(pathText(path) + ": " + loaded.error);
    // The table files carry the last configuration into the next start; killTab.bin holds
    // nothing a set file brings, so it is left alone. A table file that cannot be written only
    // costs the next start its defaults, which is no reason to refuse the open.
    for (TableFile file : {TableFile::Factory, TableFile::Set, TableFile::Channel})
        (void)writeTableFileIfDifferent(image_, dataDir_, file);
    activeRow_ = kScreenFirstChannelLine;
    path_ = path;
    markUnmodified();
    updateAllViews(kFullRedrawHint);
    return Result::success();
}

Result CKQ904Doc::save(const std::filesystem::path& path)
{
    Result saved = saveSetFile(image_, path);
    if (saved) {
        path_ = path;
        markUnmodified();
    }
    return saved;
}

Result CKQ904Doc::saveCopy(const std::filesystem::path& path)
{
    return saveSetFile(image_, path);
}

std::string CKQ904Doc::title() const
{
    return path_.empty() ? std::string(kUntitled) : pathText(path_.filename());
}

std::string CKQ904Doc::windowTitle() const
{
    return title() + " - " + programTitle();
}

unsigned CKQ904Doc::rowCount() const
{
    return static_cast<unsigned>(image_.channelCount()) + firstChannelLine_;
}

unsigned CKQ904Doc::lastChannelRow() const
{
    return rowCount() - 1;
}

int CKQ904Doc::currentChannel() const
{
    const int channel = static_cast<int>(activeRow_) - static_cast<int>(firstChannelLine_);
    return std::clamp(channel, 0, image_.channelCount() - 1);
}

void CKQ904Doc::nextRow()
{
    if (activeRow_ < lastChannelRow())
        ++activeRow_;
    updateAllViews(activeRow_);
}

void CKQ904Doc::previousRow()
{
    if (firstChannelLine_ < activeRow_)
        --activeRow_;
    updateAllViews(activeRow_);
}

void CKQ904Doc::selectRow(unsigned row)
{
    activeRow_ = std::clamp(row, firstChannelLine_, lastChannelRow());
    updateAllViews(activeRow_);
}

void CKQ904Doc::refresh()
{
    clampSelection();
    updateAllViews(kFullRedrawHint);
}

void CKQ904Doc::clampSelection()
{
    activeRow_ = std::clamp(activeRow_, firstChannelLine_, lastChannelRow());
}

} // namespace kq904
