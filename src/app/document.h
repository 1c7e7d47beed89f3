#pragma once
// The document of the single-document program: the set file the configuration was opened from or
// saved to, and the listing's selection. It does not own the configuration, which is the one
// RadioImage of the run; it connects the file commands to the set file, keeps the default table
// files in step with an opened set file, and tells its views what to redraw. Plain C++.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "model/radio_image.h"
#include "model/result.h"
#include "view/listing_rows.h"

namespace kq904 {

// Update hint that asks a view for a full redraw (the refresh notification); any other hint
// names the one row to redraw.
inline constexpr unsigned kFullRedrawHint = 255;

class DocumentView {
public:
    virtual ~DocumentView() = default;
    virtual void onDocumentUpdate(unsigned hint) = 0;
};

// Which set file the document is, and the configuration it held when last opened or saved:
// what Open and New change beside the configuration, and what undoing them puts back.
struct DocumentFile {
    std::filesystem::path path; // empty: "Untitled"
    RadioImage
        saved; // as last opened or saved, feature switches applied as the listing applies them

    bool operator==(const DocumentFile&) const = default;
};

class CKQ904Doc {
public:
    // Template texts: window title (after programTitle()) and the open/save dialogs' filter
    // and extension.
    static constexpr const char* kUntitled = "Untitled";
    static constexpr const char* kSetFileFilter = "Set Files (*.set)";
    static constexpr const char* kSetFileExtension = ".set";

    CKQ904Doc(RadioImage& image, std::filesystem::path dataDir);

    void addView(DocumentView* view);
    void removeView(DocumentView* view);
    void updateAllViews(unsigned hint);

    // File > New: the document becomes "Untitled" and unmodified; the configuration in memory
    // is kept.
    void newDocument();
    // Asked before a file that is not a set file is opened, with what is wrong with it in
    // words ("<path>: not a set file: ..."); true opens it all the same.
    using ConfirmOpen = std::function<bool(const std::string& problem)>;

    // Loads the set file. On success the table files that differ from the new configuration
    // are rewritten (factoryTab, setTab, channelTab), the first channel row is selected, the
    // document takes the path and the views redraw. On failure nothing changes: configuration,
    // table files, selection and path stay as they were, and the reason comes back. A file that
    // is not a set file (random bytes, a CSV) would fill the configuration with nonsense and
    // overwrite the table files: it opens only when `openAnyway` says so, and without it the
    // problem is the reason for the failure.
    Result open(const std::filesystem::path& path, const ConfirmOpen& openAnyway = {});
    // Writes the configuration to the set file and, on success, takes the path as the
    // document's name and counts as unmodified. A failed write leaves the previous file and the
    // document's path as they were.
    Result save(const std::filesystem::path& path);
    // Writes a copy (the toolbar's "save to a chosen file"): the document's path is unchanged.
    Result saveCopy(const std::filesystem::path& path);

    bool hasPath() const { return !path_.empty(); }
    const std::filesystem::path& path() const { return path_; }
    // The file name, or "Untitled".
    std::string title() const;
    // "<title> - KQ904 Programmer V5.12".
    std::string windowTitle() const;

    RadioImage& image() { return image_; }
    const std::filesystem::path& dataDir() const { return dataDir_; }

    // Whether the configuration differs from what the set file held when it was last opened or
    // saved (for "Untitled": from the start-up configuration or the last New), as the title's
    // modified mark shows.
    bool isModified() const;
    // The configuration as it is now counts as unmodified (start-up, after the table files).
    void markUnmodified();
    DocumentFile file() const { return {path_, saved_}; }
    // Undo and redo of Open and New: the document becomes that file again.
    void restoreFile(const DocumentFile& file);

    // Selection. Rows are listing rows; channel n is row n + firstChannelLine.
    unsigned activeRow() const { return activeRow_; }
    // Always the screen's 3: printing passes its own 20 to the drawing, so the selection and
    // the Channel Setting form never see the printed layout.
    unsigned firstChannelLine() const { return firstChannelLine_; }
    unsigned rowCount() const;
    unsigned lastChannelRow() const;
    // The channel the Channel Setting form works on: the selected channel row's channel.
    int currentChannel() const;

    // Each selection operation ends by asking the views to redraw the selected row (and the
    // one selected before), whether or not the selection moved.
    void nextRow();
    void previousRow();
    // Selects the row, raised to the first channel row and held at the last one.
    void selectRow(unsigned row);

    // The refresh notification: the configuration changed (a form, a reading). The selection
    // is pulled back onto the last channel when the channel count shrank, then every view
    // redraws completely.
    void refresh();
    // Pulls the selection back onto the last channel row when it points past it.
    void clampSelection();

private:
    RadioImage& image_;
    std::filesystem::path dataDir_;
    std::filesystem::path path_;
    RadioImage saved_;
    unsigned activeRow_ = kScreenFirstChannelLine;
    const unsigned firstChannelLine_ = kScreenFirstChannelLine;
    std::vector<DocumentView*> views_;
};

} // namespace kq904
