#pragma once
// The file dialogs of the File commands, behind an interface so tests can name the files
// without a dialog. Each returns an empty string when the user cancels.

#include <QString>

class QWidget;

namespace kq904 {

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // File > Open: an existing set file ("Set Files (*.set)").
    virtual QString openSetFile(QWidget* parent) = 0;
    // File > Save As (and Save of an untitled document): a name, ".set" added when missing.
    virtual QString saveSetFileAs(QWidget* parent, const QString& suggested) = 0;
    // The toolbar's save to a chosen file: always asks, starting from "*.set", and asks before
    // overwriting an existing file.
    virtual QString saveSetFileCopy(QWidget* parent) = 0;
    // File > Export PDF...
    virtual QString exportPdf(QWidget* parent, const QString& suggested) = 0;
};

// The real thing: QFileDialog.
class DialogFileChooser final : public FileChooser {
public:
    QString openSetFile(QWidget* parent) override;
    QString saveSetFileAs(QWidget* parent, const QString& suggested) override;
    QString saveSetFileCopy(QWidget* parent) override;
    QString exportPdf(QWidget* parent, const QString& suggested) override;
};

} // namespace kq904
