#include "reports/ReportWindow.h"

#include "platform/Settings.h"
#include "platform/VbError.h"
#include "platform/widgets/Accessible.h"
#include "platform/widgets/Dialogs.h"
#include "reports/ReportCsv.h"
#include "reports/ReportRender.h"
#include "shell/dbStuff.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QGraphicsView>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrintPreviewWidget>
#include <QStackedWidget>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

ReportWindow::PrinterChooser& installedChooser()
{
    static ReportWindow::PrinterChooser chooser;
    return chooser;
}

bool choosePrinter(QPrinter& printer, QWidget* parent)
{
    if (const auto& chooser = installedChooser())
        return chooser(printer, parent);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print report"));
    return dialog.exec() == QDialog::Accepted;
}

// Where the folder of the last PDF saved is kept.
const QString PdfSection = QStringLiteral("FILELOCATIONS");
const QString PdfKey = QStringLiteral("PDF");

// A part of a file name, without characters that file systems refuse.
QString fileNamePart(const QString& text)
{
    QString part = text;
    for (QChar& c : part)
        if (QStringLiteral("\\/:*?\"<>|").contains(c) || c < u' ')
            c = u'-';
    return part.trimmed();
}

// "<business> - <report title> - <period>.pdf", leaving out what is empty.
QString proposedFileName(const ReportResult& result)
{
    QStringList parts;
    for (const QString& text : {result.business, result.title, result.period.fileText()})
        if (const QString part = fileNamePart(text); !part.isEmpty())
            parts << part;
    return parts.join(QStringLiteral(" - ")) + QStringLiteral(".pdf");
}

} // namespace

ReportWindow::ReportWindow(QWidget* parent)
    : QWidget(parent), m_previewPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    m_previewPrinter->setPageSize(QPageSize(QPageSize::A4));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_toolbar = new QToolBar(this);
    m_toolbar->setMovable(false);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    layout->addWidget(m_toolbar);

    QStyle* s = style();
    addAction(
        QStringLiteral("print"), QStringLiteral("Print..."),
        QIcon::fromTheme(QStringLiteral("document-print"), s->standardIcon(QStyle::SP_FileIcon)),
        [this] { PrintOut(); });
    addAction(QStringLiteral("pdf"), QStringLiteral("Save as PDF..."),
              QIcon::fromTheme(QStringLiteral("document-save-as"),
                               s->standardIcon(QStyle::SP_DialogSaveButton)),
              [this] { SaveAsPdf(); });
    addAction(QStringLiteral("csv"), QStringLiteral("CSV"),
              QIcon::fromTheme(QStringLiteral("x-office-spreadsheet")), [this] { ExportCsv(); });
    m_toolbar->addSeparator();
    addAction(QStringLiteral("zoomin"), QStringLiteral("+"),
              QIcon::fromTheme(QStringLiteral("zoom-in")), [this] { m_preview->zoomIn(); });
    addAction(QStringLiteral("zoomout"), QString(QChar(0x2212)),
              QIcon::fromTheme(QStringLiteral("zoom-out")), [this] { m_preview->zoomOut(); });
    addAction(QStringLiteral("fitwidth"), QStringLiteral("Width"),
              QIcon::fromTheme(QStringLiteral("zoom-fit-width")),
              [this] { m_preview->fitToWidth(); });
    addAction(QStringLiteral("fitpage"), QStringLiteral("Page"),
              QIcon::fromTheme(QStringLiteral("zoom-fit-best")),
              [this] { m_preview->fitInView(); });
    m_toolbar->addSeparator();
    addAction(QStringLiteral("first"), QStringLiteral("First"),
              s->standardIcon(QStyle::SP_MediaSkipBackward),
              [this] { m_preview->setCurrentPage(1); });
    addAction(QStringLiteral("previous"), QStringLiteral("Previous"),
              s->standardIcon(QStyle::SP_MediaSeekBackward),
              [this] { m_preview->setCurrentPage(m_preview->currentPage() - 1); });
    addAction(QStringLiteral("next"), QStringLiteral("Next"),
              s->standardIcon(QStyle::SP_MediaSeekForward),
              [this] { m_preview->setCurrentPage(m_preview->currentPage() + 1); });
    addAction(QStringLiteral("last"), QStringLiteral("Last"),
              s->standardIcon(QStyle::SP_MediaSkipForward),
              [this] { m_preview->setCurrentPage(m_preview->pageCount()); });
    // Zooming and page turning show short captions or arrows only, with their
    // names in the tips, so that the whole toolbar fits a window one page wide.
    // A screen reader says the tip as the button's name.
    const std::pair<const char*, const char*> tips[] = {
        {"zoomin", "Zoom in"},     {"zoomout", "Zoom out"}, {"fitwidth", "Fit the page width"},
        {"fitpage", "Whole page"}, {"first", "First page"}, {"previous", "Previous page"},
        {"next", "Next page"},     {"last", "Last page"}};
    for (const auto& [key, tip] : tips) {
        QAction* button = action(QString::fromLatin1(key));
        button->setToolTip(QString::fromLatin1(tip));
        auto* tool = qobject_cast<QToolButton*>(m_toolbar->widgetForAction(button));
        if (!tool)
            continue;
        Accessible::describe(tool, QString::fromLatin1(tip),
                             QString::fromLatin1(tip) + QStringLiteral(" in the report's pages"));
        if (!button->icon().isNull())
            tool->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    action(QStringLiteral("print"))->setToolTip(QStringLiteral("Print the report"));
    action(QStringLiteral("pdf"))->setToolTip(QStringLiteral("Save the report as a PDF file"));
    action(QStringLiteral("csv"))->setToolTip(QStringLiteral("Save the report's rows as CSV"));

    // The pages below the toolbar, made after its buttons so that Tab reaches
    // them in that order.
    m_stack = new QStackedWidget(this);
    layout->addWidget(m_stack, 1);
    m_preview = new QPrintPreviewWidget(m_previewPrinter.get(), m_stack);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_stack->addWidget(m_preview);
    m_message = new QLabel(m_stack);
    m_message->setObjectName(QStringLiteral("message"));
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setWordWrap(true);
    m_message->setTextFormat(Qt::PlainText);
    m_message->setMargin(24);
    m_stack->addWidget(m_message);

    // The pages are drawn by a view inside the preview, which takes the focus.
    const QString pagesName = QStringLiteral("Report pages");
    const QString pagesDescription = QStringLiteral(
        "The report's pages as they print; the toolbar prints, saves, zooms and turns the pages.");
    if (auto* pages = m_preview->findChild<QGraphicsView*>()) {
        // One stop for Tab, which then goes on to the next control: the pages
        // hold nothing to interact with, and an interactive view keeps Tab.
        pages->setInteractive(false);
        m_preview->setFocusProxy(pages);
        Accessible::describe(m_preview, pagesName, pagesDescription);
    }
    // Keys for the buttons, named in the tips. Page Up and Page Down stay with
    // the page view, which scrolls by them.
    const std::pair<const char*, QKeySequence> keys[] = {
        {"print", QKeySequence::Print},
        {"pdf", QKeySequence::Save},
        {"zoomin", QKeySequence::ZoomIn},
        {"zoomout", QKeySequence::ZoomOut},
        {"first", QKeySequence(Qt::CTRL | Qt::Key_Home)},
        {"last", QKeySequence(Qt::CTRL | Qt::Key_End)}};
    for (const auto& [key, sequence] : keys) {
        QAction* button = action(QString::fromLatin1(key));
        button->setShortcut(sequence);
        button->setToolTip(QStringLiteral("%1 (%2)").arg(
            button->toolTip(), sequence.toString(QKeySequence::NativeText)));
    }
    m_pageLabel = new QLabel(m_toolbar);
    m_pageLabel->setObjectName(QStringLiteral("pageLabel"));
    m_pageLabel->setContentsMargins(8, 0, 8, 0);
    m_toolbar->addWidget(m_pageLabel);

    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
        if (m_result)
            PrintReport(*m_result, *printer);
    });
    connect(m_preview, &QPrintPreviewWidget::previewChanged, this, &ReportWindow::updatePageLabel);
    enableReportActions(false);
}

ReportWindow::~ReportWindow() = default;

void ReportWindow::addAction(const QString& key, const QString& caption, const QIcon& icon,
                             const std::function<void()>& run)
{
    QAction* action = m_toolbar->addAction(icon, caption);
    action->setObjectName(key);
    // A Tab stop, so that the report can be printed and saved from the
    // keyboard; a mouse click leaves the focus on the pages.
    if (QWidget* button = m_toolbar->widgetForAction(action))
        button->setFocusPolicy(Qt::TabFocus);
    connect(action, &QAction::triggered, this, [run] { dbStuff::RunHandler(run); });
}

QAction* ReportWindow::action(const QString& key) const
{
    return m_toolbar->findChild<QAction*>(key);
}

void ReportWindow::enableReportActions(bool on)
{
    for (QAction* action : m_toolbar->actions())
        action->setEnabled(on);
}

void ReportWindow::showReport(std::shared_ptr<const ReportResult> result)
{
    m_result = std::move(result);
    m_previewPrinter->setPageOrientation(m_result->landscape ? QPageLayout::Landscape
                                                             : QPageLayout::Portrait);
    m_stack->setCurrentWidget(m_preview);
    enableReportActions(true);
    // The pages take the focus, where the keys scroll them, unless a control
    // of the window around the report has it (the button that showed it).
    if (QWidget* focus = window()->focusWidget(); !focus || isAncestorOf(focus))
        m_preview->setFocus();
    m_preview->fitToWidth();
    m_preview->updatePreview();
    updatePageLabel();
}

void ReportWindow::showMessage(const QString& heading, const QString& detail)
{
    m_result.reset();
    m_message->setText(detail.isEmpty() ? heading : heading + QStringLiteral("\n\n") + detail);
    m_stack->setCurrentWidget(m_message);
    enableReportActions(false);
    m_pageLabel->clear();
}

void ReportWindow::setToolbarVisible(bool visible)
{
    m_toolbar->setVisible(visible);
}

QString ReportWindow::messageText() const
{
    return m_stack->currentWidget() == m_message ? m_message->text() : QString();
}

int ReportWindow::pageCount() const
{
    return m_result ? m_preview->pageCount() : 0;
}

int ReportWindow::currentPage() const
{
    return m_result ? m_preview->currentPage() : 0;
}

void ReportWindow::updatePageLabel()
{
    if (!m_result)
        return;
    m_pageLabel->setText(
        QStringLiteral("Page %1 of %2").arg(m_preview->currentPage()).arg(m_preview->pageCount()));
}

void ReportWindow::SaveAsPdf()
{
    if (!m_result)
        return;
    const std::optional<QString> chosen = AskSaveFile(
        QStringLiteral("Save report as PDF"), QStringLiteral("PDF files (*.pdf)|*.pdf"),
        QStringLiteral("pdf"), RememberedFolder(PdfSection, PdfKey), proposedFileName(*m_result));
    if (!chosen)
        return;
    const QString& path = *chosen;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        WritePdf(*m_result, path);
        QApplication::restoreOverrideCursor();
        SaveSetting(AppTitle, PdfSection, PdfKey, QFileInfo(path).absolutePath());
    } catch (const VbError&) {
        QApplication::restoreOverrideCursor();
        MsgBox(QStringLiteral("The report could not be saved as") + u'\r' + path +
                   QStringLiteral("\r\rCheck that the folder exists, that you may write in it and "
                                  "that the file is not open in another program."),
               vbExclamation + vbOKOnly);
    }
}

void ReportWindow::ExportCsv()
{
    if (!m_result)
        return;
    QString name = proposedFileName(*m_result);
    name.chop(4);
    ::ExportCsv(ReportCsvTable(*m_result), name + QStringLiteral(".csv"));
}

void ReportWindow::PrintOut()
{
    if (!m_result)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_result->title);
    if (!choosePrinter(printer, this))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool printed = PrintReport(*m_result, printer);
    QApplication::restoreOverrideCursor();
    if (!printed)
        MsgBox(QStringLiteral("The report could not be printed."), vbExclamation + vbOKOnly);
}

void ReportWindow::setPrinterChooser(PrinterChooser chooser)
{
    installedChooser() = std::move(chooser);
}
