#include "print_preview_dialog.h"

#include <QAction>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QShortcut>
#include <QToolBar>
#include <QVBoxLayout>

namespace kq904 {

PrintPreviewDialog::PrintPreviewDialog(QPrinter& printer, PagePainter paintPages, QWidget* parent)
    : QDialog(parent)
    , printer_(printer)
    , paintPages_(std::move(paintPages))
    , preview_(new QPrintPreviewWidget(&printer, this))
{
    setWindowTitle(QStringLiteral("Print Preview"));
    auto* tools = new QToolBar(this);
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tools->addAction(QStringLiteral("&Print..."), this, &PrintPreviewDialog::printAndClose);
    next_ = tools->addAction(QStringLiteral("&Next Page"), this, &PrintPreviewDialog::nextPage);
    previous_ =
        tools->addAction(QStringLiteral("Pre&v Page"), this, &PrintPreviewDialog::previousPage);
    tools->addAction(QStringLiteral("Zoom &In"), preview_, [this] { preview_->zoomIn(); });
    tools->addAction(QStringLiteral("Zoom &Out"), preview_, [this] { preview_->zoomOut(); });
    tools->addAction(QStringLiteral("&Close"), this, &QDialog::reject);
    tools->addSeparator();
    pageLabel_ = new QLabel(this);
    tools->addWidget(pageLabel_);

    auto* pageDown = new QShortcut(QKeySequence(Qt::Key_PageDown), this);
    connect(pageDown, &QShortcut::activated, this, &PrintPreviewDialog::nextPage);
    auto* pageUp = new QShortcut(QKeySequence(Qt::Key_PageUp), this);
    connect(pageUp, &QShortcut::activated, this, &PrintPreviewDialog::previousPage);
    // Escape closes the preview as any dialog's Escape does.

    connect(preview_, &QPrintPreviewWidget::paintRequested, this,
        [this](QPrinter* target) { paintPages_(*target, false); });
    connect(
        preview_, &QPrintPreviewWidget::previewChanged, this, &PrintPreviewDialog::updatePageState);

    preview_->setZoomMode(QPrintPreviewWidget::FitInView);
    preview_->setViewMode(QPrintPreviewWidget::SinglePageView);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(preview_, 1);
    resize(820, 1000);
    // Lay the pages out now, so the page count is known before the window is shown.
    preview_->updatePreview();
}

int PrintPreviewDialog::currentPage() const
{
    return preview_->currentPage();
}

int PrintPreviewDialog::pageCount() const
{
    return preview_->pageCount();
}

void PrintPreviewDialog::nextPage()
{
    if (currentPage() < pageCount())
        preview_->setCurrentPage(currentPage() + 1);
    updatePageState();
}

void PrintPreviewDialog::previousPage()
{
    if (currentPage() > 1)
        preview_->setCurrentPage(currentPage() - 1);
    updatePageState();
}

void PrintPreviewDialog::updatePageState()
{
    next_->setEnabled(currentPage() < pageCount());
    previous_->setEnabled(currentPage() > 1);
    pageLabel_->setText(QStringLiteral("  Page %1 of %2").arg(currentPage()).arg(pageCount()));
}

void PrintPreviewDialog::printAndClose()
{
    QPrintDialog dialog(&printer_, this);
    if (dialog.exec() == QDialog::Accepted) {
        paintPages_(printer_, true);
        accept();
    }
}

} // namespace kq904
