#pragma once
// File > Print Preview: the printed pages on the screen, one at a time, with a tool bar to
// print, page through and zoom. Page Down and Page Up turn the pages, Escape closes.

#include <QDialog>
#include <functional>

class QAction;
class QLabel;
class QPrintPreviewWidget;
class QPrinter;

namespace kq904 {

class PrintPreviewDialog : public QDialog {
    Q_OBJECT
public:
    // Draws the pages on a printer: all of them, or only those of the printer's page range
    // when the flag says so (printing from the preview honours the print dialog's range).
    using PagePainter = std::function<void(QPrinter&, bool honourRange)>;

    PrintPreviewDialog(QPrinter& printer, PagePainter paintPages, QWidget* parent);

    QPrintPreviewWidget* previewWidget() const { return preview_; }
    int currentPage() const;
    int pageCount() const;

    void nextPage();
    void previousPage();

private:
    void updatePageState();
    void printAndClose();

    QPrinter& printer_;
    PagePainter paintPages_;
    QPrintPreviewWidget* preview_;
    QAction* next_;
    QAction* previous_;
    QLabel* pageLabel_;
};

} // namespace kq904
