// Printing: how the listing falls into pages, and what each printed page really holds (read
// back from the PDF the printing path writes).
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "app/listing_printer.h"
#include "app/print_preview_dialog.h"
#include "app/sample_configuration.h"
#include "app_test_support.h"
#include "link/file_path.h"
#include "view/painter_canvas.h"

namespace kq904 {
namespace {

class PrintingTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(scratch.isValid()); }

    // A PDF printer whose page holds exactly `rows` rows of the listing's paper font.
    std::unique_ptr<QPrinter> printerWithRows(int rows)
    {
        auto pdf = std::make_unique<QPrinter>(QPrinter::HighResolution);
        pdf->setOutputFormat(QPrinter::PdfFormat);
        pdf->setOutputFileName(scratch.filePath(QStringLiteral("pages.pdf")));
        pdf->setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        const int rowHeight =
            PainterCanvas::charHeight(QFontMetrics(printer.paperFont(*pdf), pdf.get()));
        // Half a row to spare, so rounding cannot cost a row.
        const double heightMm = 20 + (rows + 0.5) * rowHeight * 25.4 / pdf->resolution();
        pdf->setPageSize(QPageSize(QSizeF(210, heightMm), QPageSize::Millimeter));
        return pdf;
    }

    // The text of one page of the PDF, as laid out on the page.
    QString pageText(int page)
    {
        QProcess process;
        process.start(QStringLiteral("pdftotext"),
            {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                QStringLiteral("-l"), QString::number(page),
                scratch.filePath(QStringLiteral("pages.pdf")), QStringLiteral("-")});
        EXPECT_TRUE(process.waitForFinished(20000));
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    // The channel numbers of the channel lines of a page, in order.
    static std::vector<int> channelsOn(const QString& text)
    {
        static const QRegularExpression channelLine(
            QStringLiteral("^\\s*(\\d{1,2})\\s+[A-Z0-9]{1,5}\\s+\\d{3}\\.\\d{5}"));
        std::vector<int> channels;
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            const QRegularExpressionMatch match = channelLine.match(line);
            if (match.hasMatch())
                channels.push_back(match.captured(1).toInt());
        }
        return channels;
    }

    static std::vector<int> range(int first, int last)
    {
        std::vector<int> values;
        for (int v = first; v <= last; ++v)
            values.push_back(v);
        return values;
    }

    QTemporaryDir scratch;
    RadioImage image;
    CKQ904Doc document{image, toPath(scratch.path())};
    ListingPrinter printer{document};
};

TEST_F(PrintingTest, SixtyRowPagesWithFiftyChannelsGiveTwoPages)
{
    image = sampleConfiguration(50);
    auto pdf = printerWithRows(60);
    const PrintPaging paging = printer.paging(*pdf);
    ASSERT_EQ(paging.rowsPerPage, 60);
    EXPECT_EQ(paging.pageCount, 2);
    EXPECT_EQ(paging.rowsOfPage(1).first, 0);
    EXPECT_EQ(paging.rowsOfPage(1).last, 59);
    EXPECT_EQ(paging.rowsOfPage(2).first, 60);
    EXPECT_EQ(paging.rowsOfPage(2).last, 69);
}

TEST_F(PrintingTest, EachPageHoldsItsRowsAndOnlyTheFirstTheSummary)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is needed to read the pages back";
    struct Case {
        int channels;
        int rowsPerPage;
        std::vector<std::vector<int>> pages; // channel numbers on each page
    };
    const Case cases[] = {
        // Summary and titles take rows 0-19, so page 1 holds 40 channels of 60 rows.
        {50, 60, {range(1, 40), range(41, 50)}},
        {99, 60, {range(1, 40), range(41, 99)}},
        {20, 60, {range(1, 20)}},
        // Short pages: the summary itself spills onto page 2, channels start on page 2.
        {30, 15, {{}, range(1, 10), range(11, 25), range(26, 30)}},
    };
    for (const Case& c : cases) {
        image = sampleConfiguration(c.channels);
        auto pdf = printerWithRows(c.rowsPerPage);
        ASSERT_EQ(printer.paging(*pdf).pageCount, static_cast<int>(c.pages.size()));
        ASSERT_TRUE(printer.printPages(*pdf));
        for (std::size_t p = 0; p < c.pages.size(); ++p) {
            const QString text = pageText(static_cast<int>(p + 1));
            EXPECT_EQ(channelsOn(text), c.pages[p]) << c.channels << " channels, page " << p + 1;
            EXPECT_EQ(text.contains(QStringLiteral("key Beep :")), p == 0) << "page " << p + 1;
        }
        // Pages past the last are blank: pdftotext gives nothing for them.
        EXPECT_TRUE(pageText(static_cast<int>(c.pages.size()) + 1).trimmed().isEmpty());
    }
}

TEST_F(PrintingTest, PrintRangeSelectsPagesAndTheColumnTitlesFollowTheSummary)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is needed to read the pages back";
    image = sampleConfiguration(99);
    auto pdf = printerWithRows(60);
    pdf->setPrintRange(QPrinter::PageRange);
    pdf->setFromTo(2, 2);
    ASSERT_TRUE(printer.printPages(*pdf));
    EXPECT_EQ(channelsOn(pageText(1)), range(41, 99));

    pdf->setPrintRange(QPrinter::AllPages);
    ASSERT_TRUE(printer.printPages(*pdf));
    const QStringList lines = pageText(1).split(QLatin1Char('\n'));
    auto lineMatching = [&lines](const char* pattern) -> qsizetype {
        const QRegularExpression expression{QString::fromLatin1(pattern)};
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (expression.match(lines.at(i)).hasMatch())
                return i;
        return -1;
    };
    // The summary's sixteen lines come first, then the two title lines, then channel 1.
    const qsizetype killLine = lineMatching("^kill Feature:");
    const qsizetype titles = lineMatching("^Chn\\s+TAG");
    const qsizetype channelOne = lineMatching("^\\s*1\\s+DEPOT\\s");
    ASSERT_GT(titles, 0) << lines.join('\n');
    EXPECT_EQ(killLine, 15);
    EXPECT_GT(titles, killLine);
    EXPECT_GT(channelOne, titles);
    EXPECT_TRUE(lines.at(titles - 1).contains(QStringLiteral("Frequency")));
    EXPECT_TRUE(lines.at(titles - 1).contains(QStringLiteral("SEL")));
}

TEST_F(PrintingTest, TheWidestLineFitsThePageWidth)
{
    image = sampleConfiguration(10); // DTMF on: 120 characters
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    const QFontMetrics metrics(printer.paperFont(pdf), &pdf);
    EXPECT_LE(PainterCanvas::averageCharWidth(metrics) * 120, pdf.width());
    EXPECT_LE(printer.paperFont(pdf).pointSizeF(), 10.0);
    pdf.setPageOrientation(QPageLayout::Landscape);
    EXPECT_EQ(printer.paperFont(pdf).pointSizeF(), 10.0);
}

TEST_F(PrintingTest, PreviewShowsTheSamePagesAndTurnsThemWithPageKeys)
{
    image = sampleConfiguration(99);
    auto pdf = printerWithRows(60);
    PrintPreviewDialog preview(
        *pdf,
        [this](
            QPrinter& target, bool honourRange) { (void)printer.printPages(target, honourRange); },
        nullptr);
    EXPECT_EQ(preview.pageCount(), 2);
    EXPECT_EQ(preview.currentPage(), 1);
    preview.nextPage();
    EXPECT_EQ(preview.currentPage(), 2);
    preview.nextPage();
    EXPECT_EQ(preview.currentPage(), 2);
    preview.previousPage();
    EXPECT_EQ(preview.currentPage(), 1);
}

} // namespace
} // namespace kq904
