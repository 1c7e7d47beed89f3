#pragma once
// The main window: menu, toolbar and status bar around the listing. It carries out the File
// commands on the document, opens the setting forms, prints, and runs the 15 ms tick that
// drives the radio link from the moment it is created until the program ends. While a transfer
// with the radio runs, the commands that would change the image being transferred (Open, New,
// the recent files, CSV import, the setting forms, Programming, the Edit menu's changes) are
// greyed and refuse, and the status bar says why; they come back when the outcome is known.
// The title carries a modified mark ("*" after the file name) while the configuration differs
// from the set file last opened or saved. A .set file dropped on the window is opened, a .csv
// file imported; the window's size, position and state are kept in the profile.

#include <QMainWindow>
#include <map>
#include <memory>

#include "document.h"
#include "file_chooser.h"
#include "form_launcher.h"
#include "listing_printer.h"
#include "recent_files.h"

class QLabel;
class QMenu;

namespace kq904 {

class CKQ904View;
class CsvActions;
class EditActions;
class Session;
class TickPump;

// The commands of the menu and toolbar, numbered as the program's resources number them.
enum class Command {
    New = 57600,
    Open = 57601,
    Save = 57603,
    SaveAs = 57604,
    PrintSetup = 57606,
    Print = 57607,
    PrintPreview = 57609,
    RecentFile = 57616,
    About = 57664,
    Exit = 57665,
    Factory = 32772,
    General = 32773,
    Channel = 32774,
    Programming = 32775,
    Port = 32776,
    SaveCopy = 32781,
    ExportPdf = 32790,
};

class CMainFrame : public QMainWindow, private DocumentView {
    Q_OBJECT
public:
    static constexpr const char* kReady = "Ready";
    static constexpr const char* kSimulatedRadio = "Simulated radio attached";

    explicit CMainFrame(Session& session, QWidget* parent = nullptr);
    ~CMainFrame() override;

    QAction* action(Command command) const;
    CKQ904View* view() const { return view_; }
    TickPump& tickPump() { return *tickPump_; }
    ListingPrinter& listingPrinter() { return printer_; }
    FormLauncher& forms() { return forms_; }
    // File > "Import CSV..." and "Export CSV...".
    CsvActions& csvActions() { return *csvActions_; }
    // The Edit menu: undo, redo and the listing's channel commands.
    EditActions& editActions() { return *editActions_; }
    const RecentFileList& recentFiles() const { return recentFiles_; }
    // The actions of the File menu's recent-file entries, newest first (empty: the greyed
    // "Recent File" item is shown instead).
    QList<QAction*> recentFileActions() const { return recentActions_; }
    // The status bar's panes: the message pane and the ones to its right.
    QLabel* messagePane() const { return messagePane_; }
    QList<QLabel*> indicatorPanes() const { return indicators_; }

    // Tests name files without dialogs.
    void setFileChooser(std::unique_ptr<FileChooser> chooser);

    // File commands with the file already chosen. A failure is shown to the user and leaves
    // the document as it was; the return value says whether it worked. A file that is not a
    // set file is opened only when the user answers Yes to opening it anyway.
    bool openFile(const QString& path);
    bool saveDocumentAs(const QString& path);
    bool saveCopy(const QString& path);
    bool exportPdf(const QString& path);
    // A file dropped on the window: a .set file is opened as File > Open opens it, a .csv file
    // imported as File > "Import CSV..." imports it; anything else is refused with the reason.
    bool openDroppedFile(const QString& path);

    // The window's geometry and state as the profile keeps them (window_geometry.h).
    bool restoreWindowGeometry();
    void saveWindowGeometry();

    // The refresh notification: the document has every view redrawn.
    void refresh();

    // Greys or restores the commands that would change the image being transferred.
    void followTransfer(bool running);

protected:
    // Quitting while a transfer runs would leave the radio half-programmed, or drop a reading,
    // without an outcome: it asks first.
    void closeEvent(QCloseEvent* event) override;

private:
    // DocumentView: a full redraw follows every change of the configuration; the modified mark
    // follows it too.
    void onDocumentUpdate(unsigned hint) override;
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    QAction* addCommand(Command command, const QString& text, const QString& statusTip,
        void (CMainFrame::*handler)());
    void rebuildRecentFileMenu();
    void updateTitle();
    void showError(const std::string& reason);

    // Command handlers.
    void onNew();
    void onOpen();
    void onSave();
    void onSaveAs();
    void onSaveCopy();
    void onPrint();
    void onPrintSetup();
    void onPrintPreview();
    void onExportPdf();
    void onExit();
    void onGeneral();
    void onChannel();
    void onProgramming();
    void onPort();
    void onFactory();
    void onAbout();

    Session& session_;
    CKQ904View* view_;
    TickPump* tickPump_;
    ListingPrinter printer_;
    FormLauncher forms_;
    RecentFileList recentFiles_;
    std::unique_ptr<FileChooser> fileChooser_;
    std::map<Command, QAction*> actions_;
    CsvActions* csvActions_ = nullptr;
    EditActions* editActions_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QAction* recentPlaceholder_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    QList<QAction*> recentActions_;
    QLabel* messagePane_ = nullptr;
    QList<QLabel*> indicators_;
};

} // namespace kq904
