#include "csv_actions.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QStatusBar>
#include <string>
#include <vector>

#include "link/file_path.h"
#include "model/csv_export.h"
#include "model/csv_import.h"
#include "model/table_files.h"
#include "problem_text.h"
#include "session.h"

namespace kq904 {

namespace {

constexpr int kStatusMessageMs = 5000;

QString withCsvExtension(QString path)
{
    if (!path.isEmpty() && !path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        path += QStringLiteral(".csv");
    return path;
}

} // namespace

QString DialogCsvFileChooser::importCsv(QWidget* parent)
{
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Import CSV"), QString(),
        QStringLiteral("CSV Files (*.csv);;Text Files (*.txt *.tsv);;All Files (*)"));
}

QString DialogCsvFileChooser::exportCsv(QWidget* parent, const QString& suggested)
{
    QFileDialog dialog(
        parent, QStringLiteral("Export CSV"), suggested, QStringLiteral("CSV Files (*.csv)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return withCsvExtension(dialog.selectedFiles().constFirst());
}

CsvActions::CsvActions(Session& session, QMainWindow* window)
    : QObject(window)
    , session_(session)
    , window_(window)
    , importAction_(new QAction(QLatin1String(kImportText), window))
    , exportAction_(new QAction(QLatin1String(kExportText), window))
    , chooser_(std::make_unique<DialogCsvFileChooser>())
{
    importAction_->setStatusTip(
        QStringLiteral("Replace channels with those of a CSV channel list"));
    exportAction_->setStatusTip(
        QStringLiteral("Write the channels as a CSV channel list for other programs"));
    connect(importAction_, &QAction::triggered, this, &CsvActions::onImport);
    connect(exportAction_, &QAction::triggered, this, &CsvActions::onExport);
}

CsvActions::~CsvActions() = default;

void CsvActions::setFileChooser(std::unique_ptr<CsvFileChooser> chooser)
{
    chooser_ = std::move(chooser);
}

bool CsvActions::importFile(const QString& path)
{
    if (session_.refuseWhileTransferring())
        return false;
    RadioImage& image = session_.image();
    const EditMoment before = session_.history().now();
    const CsvImport imported = importChannelsCsvFile(image, toPath(path));
    if (!imported.result) {
        session_.messages().showError(window_,
            QString::fromStdString(imported.result.error)
                + listedLines(QStringLiteral("Rows that could not be taken:"), imported.problems));
        return false;
    }

    // The next start begins from the imported channels, as after the Channel Setting form.
    QString tableProblem;
    for (TableFile file : {TableFile::Channel, TableFile::Set}) {
        if (const Result written = writeTableFileIfDifferent(image, session_.dataDir(), file);
            !written && tableProblem.isEmpty())
            tableProblem = QStringLiteral("\n\nThe default table files could not be updated: ")
                + QString::fromStdString(written.error);
    }
    session_.history().record(before, QStringLiteral("Import CSV"));
    session_.document().refresh();

    session_.messages().showMessage(window_,
        QStringLiteral("%1 imported from %2. The radio now has %3 in use.")
                .arg(channelsText(imported.channelsTaken), QFileInfo(path).fileName(),
                    channelsText(imported.channelCount))
            + listedLines(QStringLiteral("Please check:"), imported.problems) + tableProblem);
    return true;
}

bool CsvActions::exportFile(const QString& path)
{
    const CsvExport exported = exportChannelsCsv(session_.image());
    if (const Result written = writeChannelsCsvFile(toPath(path), exported); !written) {
        session_.messages().showError(window_, QString::fromStdString(written.error));
        return false;
    }
    const QString done = QStringLiteral("%1 exported to %2")
                             .arg(channelsText(exported.channels), QFileInfo(path).fileName());
    if (exported.warnings.empty())
        window_->statusBar()->showMessage(done, kStatusMessageMs);
    else
        session_.messages().showMessage(window_,
            done + QStringLiteral(".")
                + listedLines(QStringLiteral("Not carried by the CSV format, or changed by CHIRP:"),
                    exported.warnings));
    return true;
}

void CsvActions::onImport()
{
    if (session_.refuseWhileTransferring())
        return;
    if (const QString path = chooser_->importCsv(window_); !path.isEmpty())
        importFile(path);
}

void CsvActions::onExport()
{
    const QString title = QString::fromStdString(session_.document().title());
    const QString suggested = QFileInfo(title).completeBaseName() + QStringLiteral(".csv");
    if (const QString path = chooser_->exportCsv(window_, suggested); !path.isEmpty())
        exportFile(path);
}

} // namespace kq904
