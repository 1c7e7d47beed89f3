#pragma once
// File > "Import CSV..." and "Export CSV...": the channels as a channel list in the CSV exchange
// format, so a dealer can move a channel plan between this radio and other radios' programmers.
// An import changes the configuration only when the file could be used; the listing is then
// redrawn, the default table files are brought up to date as the Channel Setting form's OK does,
// and every row or value that was left out is shown to the user.

#include <QObject>
#include <QString>
#include <memory>

#include "problem_text.h"

class QAction;
class QMainWindow;
class QWidget;

namespace kq904 {

class Session;

// The file dialogs of the two commands, behind an interface so tests can name the files. Each
// returns an empty string when the user cancels.
class CsvFileChooser {
public:
    virtual ~CsvFileChooser() = default;
    virtual QString importCsv(QWidget* parent) = 0;
    // Asks before overwriting; ".csv" is added when missing.
    virtual QString exportCsv(QWidget* parent, const QString& suggested) = 0;
};

// The real thing: QFileDialog.
class DialogCsvFileChooser final : public CsvFileChooser {
public:
    QString importCsv(QWidget* parent) override;
    QString exportCsv(QWidget* parent, const QString& suggested) override;
};

class CsvActions final : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kImportText = "&Import CSV...";
    static constexpr const char* kExportText = "&Export CSV...";
    // Problems beyond this many are counted in the message box rather than listed.
    static constexpr int kProblemsShown = kq904::kProblemsShown;

    // The actions belong to the window; their messages are shown over it.
    CsvActions(Session& session, QMainWindow* window);
    ~CsvActions() override;

    QAction* importAction() const { return importAction_; }
    QAction* exportAction() const { return exportAction_; }
    void setFileChooser(std::unique_ptr<CsvFileChooser> chooser);

    // The commands with the file already chosen; each returns whether it worked.
    bool importFile(const QString& path);
    bool exportFile(const QString& path);

private:
    void onImport();
    void onExport();

    Session& session_;
    QMainWindow* window_;
    QAction* importAction_;
    QAction* exportAction_;
    std::unique_ptr<CsvFileChooser> chooser_;
};

} // namespace kq904
