#include "listing_printer.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

#include "model/program_version.h"
#include "print_preview_dialog.h"
#include "view/listing.h"
#include "view/painter_canvas.h"
#include "view/settings_summary.h"

namespace kq904 {

namespace {

constexpr qreal kLargestPaperPointSize = 10.0;
constexpr qreal kSmallestPaperPointSize = 4.0;

// The widest text of the printed pages in average character widths: the channel table, or the
// summary's 80-character selective-call value at column 35.
int printedWidthChars(const RadioImage& image)
{
    int widest = listingWidthChars(image);
    for (const SummaryLine& line : settingsSummaryLines(image))
        widest = std::max(widest, kSummaryValueColumn + static_cast<int>(line.value.size()));
    return widest;
}

} // namespace

ListingPrinter::ListingPrinter(CKQ904Doc& document)
    : document_(document)
{ }

ListingPrinter::~ListingPrinter() = default;

QPrinter& ListingPrinter::printer()
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

QFont ListingPrinter::paperFont(QPrinter& printer) const
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const int chars = printedWidthChars(document_.image());
    for (qreal size = kLargestPaperPointSize; size >= kSmallestPaperPointSize; size -= 0.5) {
        font.setPointSizeF(size);
        const QFontMetrics metrics(font, &printer);
        if (PainterCanvas::averageCharWidth(metrics) * chars <= printer.width())
            break;
    }
    return font;
}

PrintPaging ListingPrinter::paging(QPrinter& printer)
{
    const QFontMetrics metrics(paperFont(printer), &printer);
    return PrintPaging::forPage(
        document_.image(), printer.height(), PainterCanvas::charHeight(metrics));
}

Result ListingPrinter::printPages(QPrinter& printer, bool honourRange)
{
    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString target =
            printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        return Result::failure("cannot print to " + target.toStdString());
    }
    painter.setFont(paperFont(printer));
    PainterCanvas canvas = PainterCanvas::forPaper(painter);
    // Rows are measured once, on the printer, when printing starts.
    const int printRowHeight = canvas.charHeight();
    const PrintPaging pages =
        PrintPaging::forPage(document_.image(), printer.height(), printRowHeight);

    int first = 1;
    int last = pages.pageCount;
    if (honourRange && printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(printer.fromPage(), 1);
        last = std::min(printer.toPage() > 0 ? printer.toPage() : last, pages.pageCount);
    }
    for (int page = first; page <= last; ++page) {
        if (page > first)
            printer.newPage();
        // The page is a window on the one long listing: shifted up to its first row and cut
        // off below its last, so no row is split between two pages.
        const int top = (page - 1) * pages.rowsPerPage * printRowHeight;
        painter.save();
        painter.translate(0, -top);
        painter.setClipRect(QRect(0, top, printer.width(), pages.rowsPerPage * printRowHeight));
        drawPrintedRows(canvas, document_.image(), pages.rowsOfPage(page), printRowHeight);
        canvas.flush();
        painter.restore();
    }
    painter.end();
    return Result::success();
}

void ListingPrinter::print(QWidget* parent)
{
    QPrinter& target = printer();
    QPrintDialog dialog(&target, parent);
    dialog.setMinMax(1, paging(target).pageCount);
    if (dialog.exec() == QDialog::Accepted)
        (void)printPages(target);
}

void ListingPrinter::preview(QWidget* parent)
{
    PrintPreviewDialog dialog(
        printer(),
        [this](QPrinter& target, bool honourRange) { (void)printPages(target, honourRange); },
        parent);
    dialog.exec();
}

void ListingPrinter::setup(QWidget* parent)
{
    QPageSetupDialog dialog(&printer(), parent);
    dialog.exec();
}

Result ListingPrinter::exportPdf(const QString& path)
{
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setPageLayout(printer().pageLayout());
    pdf.setOutputFileName(path);
    pdf.setCreator(QString::fromStdString(programTitle()));
    pdf.setDocName(QString::fromStdString(document_.title()));
    return printPages(pdf);
}

} // namespace kq904
