#pragma once
// Printing the listing: File > Print, Print Preview, Print Setup and Export PDF all draw the
// same pages. Page 1 starts with the settings summary, the column titles follow on rows 17-19
// and the channels from row 20; every page shows the same number of rows of that one long
// listing, with no header or footer of its own.

#include <QFont>
#include <QString>
#include <memory>

#include "document.h"
#include "model/result.h"
#include "view/listing_rows.h"

class QPrinter;
class QWidget;

namespace kq904 {

class ListingPrinter {
public:
    explicit ListingPrinter(CKQ904Doc& document);
    ~ListingPrinter();

    // The printer the commands use; its set-up (Print Setup) lasts for the run.
    QPrinter& printer();

    // Draws the pages onto `printer`: those of its page range when `honourRange` and one is
    // chosen, otherwise all.
    Result printPages(QPrinter& printer, bool honourRange = true);
    // The paging the printer's page and font give the current configuration.
    PrintPaging paging(QPrinter& printer);

    // The commands: the print dialog, then print; the preview window; the page set-up dialog.
    void print(QWidget* parent);
    void preview(QWidget* parent);
    void setup(QWidget* parent);
    // Writes the pages to a PDF file, laid out on the printer's page.
    Result exportPdf(const QString& path);

    // The fixed-pitch font at the largest size up to 10 points with which the widest line of the
    // listing fits the printer's page width.
    QFont paperFont(QPrinter& printer) const;

private:
    CKQ904Doc& document_;
    // Made on first use: asking the system for its printers costs time the start-up need not
    // spend.
    std::unique_ptr<QPrinter> printer_;
};

} // namespace kq904
