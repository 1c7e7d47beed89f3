#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "about_dialog.h"
#include "app_icons.h"
#include "csv_actions.h"
#include "edit_actions.h"
#include "file_drops.h"
#include "link/file_path.h"
#include "listing_view.h"
#include "model/program_version.h"
#include "session.h"
#include "tick_pump.h"
#include "window_geometry.h"

namespace kq904 {

CMainFrame::CMainFrame(Session& session, QWidget* parent)
    : QMainWindow(parent)
    , session_(session)
    , view_(new CKQ904View(session.document(), this))
    , tickPump_(new TickPump([&link = session.link()] { link.tick(); }, this))
    , printer_(session.document())
    , forms_(session, this)
    , recentFiles_(session.profile().store())
    , fileChooser_(std::make_unique<DialogFileChooser>())
{
    setWindowIcon(applicationIcon());
    setCentralWidget(view_);
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    session_.setMessageParent(this);
    session_.setStatusNotifier([this](const QString& text) { statusBar()->showMessage(text); });
    session_.setTransferListener([this](bool running) { followTransfer(running); });
    connect(view_, &CKQ904View::channelFormRequested, this,
        [this](int channel) { forms_.runChannel(channel); });
    // The modified mark follows every step, undo and redo, and every full redraw.
    connect(&session_.history().stack(), &QUndoStack::indexChanged, this, &CMainFrame::updateTitle);
    session_.document().addView(this);
    new FileDrops(this, [this](const QString& path) { openDroppedFile(path); });
    updateTitle();
    view_->setFocus();
    // The tick runs from here until the program ends.
    tickPump_->start();
}

CMainFrame::~CMainFrame()
{
    session_.document().removeView(this);
    session_.setMessageParent(nullptr);
    session_.setStatusNotifier({});
    session_.setTransferListener({});
}

void CMainFrame::followTransfer(bool running)
{
    for (const Command command :
        {Command::New, Command::Open, Command::General, Command::Channel, Command::Programming})
        action(command)->setEnabled(!running);
    action(Command::Factory)->setEnabled(!running && session_.factoryEnabled());
    csvActions_->importAction()->setEnabled(!running);
    editActions_->followTransfer(running);
    for (QAction* entry : std::as_const(recentActions_))
        entry->setEnabled(!running);
    messagePane_->setText(QLatin1String(running ? Session::kTransferUnderWay : kReady));
}

QAction* CMainFrame::action(Command command) const
{
    const auto found = actions_.find(command);
    return found == actions_.end() ? nullptr : found->second;
}

void CMainFrame::setFileChooser(std::unique_ptr<FileChooser> chooser)
{
    fileChooser_ = std::move(chooser);
}

QAction* CMainFrame::addCommand(
    Command command, const QString& text, const QString& statusTip, void (CMainFrame::*handler)())
{
    auto* action = new QAction(text, this);
    action->setStatusTip(statusTip);
    action->setData(static_cast<int>(command));
    connect(action, &QAction::triggered, this, handler);
    actions_[command] = action;
    return action;
}

void CMainFrame::createActions()
{
    addCommand(Command::New, QStringLiteral("&New"), QStringLiteral("Create a new document"),
        &CMainFrame::onNew)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    addCommand(Command::Open, QStringLiteral("&Open..."),
        QStringLiteral("Open an existing set file"), &CMainFrame::onOpen)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    addCommand(Command::Save, QStringLiteral("&Save"), QStringLiteral("Save the set file"),
        &CMainFrame::onSave)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    addCommand(Command::SaveAs, QStringLiteral("Save &As..."),
        QStringLiteral("Save the set file with a new name"), &CMainFrame::onSaveAs);
    addCommand(Command::SaveCopy, QStringLiteral("Save"),
        QStringLiteral("Save the configuration to a chosen set file"), &CMainFrame::onSaveCopy);
    addCommand(Command::Print, QStringLiteral("&Print..."), QStringLiteral("Print the listing"),
        &CMainFrame::onPrint)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    addCommand(Command::PrintSetup, QStringLiteral("P&rint Setup..."),
        QStringLiteral("Change the printer and printing options"), &CMainFrame::onPrintSetup);
    addCommand(Command::PrintPreview, QStringLiteral("Print Pre&view"),
        QStringLiteral("Display full pages"), &CMainFrame::onPrintPreview);
    addCommand(Command::ExportPdf, QStringLiteral("Export P&DF..."),
        QStringLiteral("Write the printed pages to a PDF file"), &CMainFrame::onExportPdf);
    addCommand(Command::Exit, QStringLiteral("E&xit"), QStringLiteral("Quit the application"),
        &CMainFrame::onExit);
    addCommand(Command::General, QStringLiteral("&General"),
        QStringLiteral("Edit the general settings"), &CMainFrame::onGeneral);
    addCommand(Command::Channel, QStringLiteral("&Channel"),
        QStringLiteral("Edit the selected channel"), &CMainFrame::onChannel);
    addCommand(Command::Programming, QStringLiteral("&Programming"),
        QStringLiteral("Program or read a radio"), &CMainFrame::onProgramming);
    addCommand(Command::Port, QStringLiteral("P&ort"),
        QStringLiteral("Choose the serial port of the radio"), &CMainFrame::onPort);
    addCommand(Command::Factory, QStringLiteral("F&actory"),
        QStringLiteral("Edit the factory alignment"), &CMainFrame::onFactory)
        ->setEnabled(session_.factoryEnabled());
    addCommand(Command::About, QStringLiteral("&About KQ904..."),
        QStringLiteral("Display program information and version"), &CMainFrame::onAbout);

    action(Command::New)->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    action(Command::SaveCopy)->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    action(Command::Print)->setIcon(printerIcon());
    action(Command::About)->setIcon(applicationIcon());
    // The shortcuts work wherever the focus is, not only through the menu.
    for (const auto& [command, act] : actions_)
        addAction(act);
}

void CMainFrame::createMenus()
{
    fileMenu_ = menuBar()->addMenu(QStringLiteral("&File"));
    fileMenu_->setSeparatorsCollapsible(false);
    fileMenu_->addSeparator();
    fileMenu_->addAction(action(Command::Open));
    fileMenu_->addAction(action(Command::Save));
    fileMenu_->addAction(action(Command::SaveAs));
    fileMenu_->addSeparator();
    csvActions_ = new CsvActions(session_, this);
    fileMenu_->addAction(csvActions_->importAction());
    fileMenu_->addAction(csvActions_->exportAction());
    fileMenu_->addSeparator();
    fileMenu_->addAction(action(Command::Print));
    fileMenu_->addAction(action(Command::PrintSetup));
    fileMenu_->addAction(action(Command::PrintPreview));
    fileMenu_->addAction(action(Command::ExportPdf));
    fileMenu_->addSeparator();
    recentPlaceholder_ = fileMenu_->addAction(QStringLiteral("Recent &File"));
    recentPlaceholder_->setEnabled(false);
    actions_[Command::RecentFile] = recentPlaceholder_;
    recentSeparator_ = fileMenu_->addSeparator();
    fileMenu_->addAction(action(Command::Exit));
    rebuildRecentFileMenu();

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    editActions_ = new EditActions(session_, *view_, this);
    editActions_->fillMenu(edit);

    QMenu* setting = menuBar()->addMenu(QStringLiteral("&Setting"));
    setting->addAction(action(Command::General));
    setting->addAction(action(Command::Channel));

    menuBar()->addAction(action(Command::Programming));
    menuBar()->addAction(action(Command::Port));
    menuBar()->addAction(action(Command::Factory));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(action(Command::About));
}

void CMainFrame::createToolBar()
{
    QToolBar* tools = addToolBar(QStringLiteral("Standard"));
    tools->setObjectName(QStringLiteral("standardToolBar"));
    tools->setMovable(false);
    tools->setFloatable(false);
    tools->setIconSize(QSize(16, 15));
    tools->addAction(action(Command::New));
    tools->addAction(action(Command::SaveCopy));
    tools->addAction(action(Command::Print));
    tools->addAction(action(Command::About));
}

void CMainFrame::createStatusBar()
{
    // The message pane shows "Ready" whenever no menu help or other message covers it.
    messagePane_ = new QLabel(QLatin1String(kReady), this);
    statusBar()->addWidget(messagePane_, 1);
    if (session_.simulatedPort()) {
        auto* simulated = new QLabel(QLatin1String(kSimulatedRadio), this);
        simulated->setFrameShape(QFrame::StyledPanel);
        statusBar()->addPermanentWidget(simulated);
        indicators_.append(simulated);
    }
    // The keyboard lock indicators. Qt offers no way to read the lock states, so they are
    // shown greyed, as the panes of an unknown state.
    for (const char* name : {"CAP", "NUM", "SCRL"}) {
        auto* pane = new QLabel(QLatin1String(name), this);
        pane->setFrameShape(QFrame::StyledPanel);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
        pane->setEnabled(false);
        statusBar()->addPermanentWidget(pane);
        indicators_.append(pane);
    }
}

void CMainFrame::rebuildRecentFileMenu()
{
    for (QAction* entry : std::as_const(recentActions_)) {
        fileMenu_->removeAction(entry);
        entry->deleteLater();
    }
    recentActions_.clear();
    const QStringList files = recentFiles_.entries();
    recentPlaceholder_->setVisible(files.isEmpty());
    for (int i = 0; i < files.size(); ++i) {
        auto* entry = new QAction(RecentFileList::menuText(i, files.at(i)), this);
        entry->setStatusTip(files.at(i));
        const QString path = files.at(i);
        entry->setEnabled(!session_.transferRunning());
        connect(entry, &QAction::triggered, this, [this, path] { openFile(path); });
        fileMenu_->insertAction(recentSeparator_, entry);
        recentActions_.append(entry);
    }
}

void CMainFrame::updateTitle()
{
    // "[*]" is where Qt shows the modified mark: "radio.set* - KQ904 Programmer V5.12".
    const CKQ904Doc& document = session_.document();
    setWindowTitle(QString::fromStdString(document.title()) + QStringLiteral("[*] - ")
        + QString::fromStdString(programTitle()));
    setWindowModified(document.isModified());
}

void CMainFrame::onDocumentUpdate(unsigned hint)
{
    if ((hint & 0xFFFF) == kFullRedrawHint)
        updateTitle();
}

void CMainFrame::showError(const std::string& reason)
{
    session_.messages().showError(this, QString::fromStdString(reason));
}

void CMainFrame::refresh()
{
    session_.document().refresh();
}

bool CMainFrame::openFile(const QString& path)
{
    if (session_.refuseWhileTransferring())
        return false;
    // File > Open, the recent-file list and the command line all come here, so a file that is
    // not a set file is never opened without the user's say.
    bool declined = false;
    const auto openAnyway = [this, &declined](const std::string& problem) {
        declined = !session_.messages().askYesNo(
            this, QString::fromStdString(problem), QStringLiteral("Open it anyway?"));
        return !declined;
    };
    const EditMoment before = session_.history().now();
    if (Result opened = session_.document().open(toPath(path), openAnyway); !opened) {
        if (!declined)
            showError(opened.error);
        return false;
    }
    session_.history().record(before, QStringLiteral("Open ") + QFileInfo(path).fileName());
    recentFiles_.add(path);
    rebuildRecentFileMenu();
    updateTitle();
    return true;
}

bool CMainFrame::saveDocumentAs(const QString& path)
{
    if (Result saved = session_.document().save(toPath(path)); !saved) {
        showError(saved.error);
        return false;
    }
    recentFiles_.add(path);
    rebuildRecentFileMenu();
    updateTitle();
    return true;
}

bool CMainFrame::saveCopy(const QString& path)
{
    if (Result saved = session_.document().saveCopy(toPath(path)); !saved) {
        showError(saved.error);
        return false;
    }
    return true;
}

bool CMainFrame::exportPdf(const QString& path)
{
    if (Result exported = printer_.exportPdf(path); !exported) {
        showError(exported.error);
        return false;
    }
    statusBar()->showMessage(QStringLiteral("PDF written to ")
        + QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    return true;
}

void CMainFrame::onNew()
{
    if (session_.refuseWhileTransferring())
        return;
    const EditMoment before = session_.history().now();
    session_.document().newDocument();
    session_.history().record(before, QStringLiteral("New"));
    updateTitle();
}

void CMainFrame::onOpen()
{
    if (session_.refuseWhileTransferring())
        return;
    if (const QString path = fileChooser_->openSetFile(this); !path.isEmpty())
        openFile(path);
}

void CMainFrame::onSave()
{
    CKQ904Doc& document = session_.document();
    if (document.hasPath())
        saveDocumentAs(toQString(document.path()));
    else
        onSaveAs();
}

void CMainFrame::onSaveAs()
{
    CKQ904Doc& document = session_.document();
    const QString suggested = document.hasPath()
        ? toQString(document.path())
        : QString::fromLatin1(CKQ904Doc::kUntitled) + QLatin1String(CKQ904Doc::kSetFileExtension);
    if (const QString path = fileChooser_->saveSetFileAs(this, suggested); !path.isEmpty())
        saveDocumentAs(path);
}

void CMainFrame::onSaveCopy()
{
    if (const QString path = fileChooser_->saveSetFileCopy(this); !path.isEmpty())
        saveCopy(path);
}

void CMainFrame::onPrint()
{
    printer_.print(this);
}

void CMainFrame::onPrintSetup()
{
    printer_.setup(this);
}

void CMainFrame::onPrintPreview()
{
    printer_.preview(this);
}

void CMainFrame::onExportPdf()
{
    const QString base = QString::fromStdString(session_.document().title());
    const QString suggested = QFileInfo(base).completeBaseName() + QStringLiteral(".pdf");
    if (const QString path = fileChooser_->exportPdf(this, suggested); !path.isEmpty())
        exportPdf(path);
}

void CMainFrame::onExit()
{
    close();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (session_.transferRunning()
        && !session_.messages().askYesNo(this, QString::fromStdString(session_.link().busyText()),
            QStringLiteral("Quit anyway? A radio whose programming was cut short must be "
                           "programmed again."))) {
        event->ignore();
        return;
    }
    saveWindowGeometry();
    QMainWindow::closeEvent(event);
}

bool CMainFrame::openDroppedFile(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("set"))
        return openFile(path);
    if (suffix == QLatin1String("csv"))
        return csvActions_->importFile(path);
    showError(QFileInfo(path).fileName().toStdString()
        + ": neither a set file (.set), which would be opened, nor a CSV channel list (.csv), "
          "which would be imported; nothing was done with it");
    return false;
}

bool CMainFrame::restoreWindowGeometry()
{
    return kq904::restoreWindowGeometry(*this, session_.profile().store());
}

void CMainFrame::saveWindowGeometry()
{
    kq904::saveWindowGeometry(*this, session_.profile().store());
}

void CMainFrame::onGeneral()
{
    forms_.runGeneral();
}

void CMainFrame::onChannel()
{
    forms_.runChannel(session_.document().currentChannel());
}

void CMainFrame::onProgramming()
{
    forms_.runProgramming();
}

void CMainFrame::onPort()
{
    forms_.runPort();
}

void CMainFrame::onFactory()
{
    // The item is greyed without the keyword "factory"; a shortcut or a stray trigger must not
    // get past that either.
    if (session_.factoryEnabled())
        forms_.runFactory();
}

void CMainFrame::onAbout()
{
    AboutDialog about(this);
    about.exec();
}

} // namespace kq904
