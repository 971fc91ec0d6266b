#pragma once

#include "reports/ReportData.h"

#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QPrinter;
class QPrintPreviewWidget;
class QStackedWidget;
class QToolBar;

// The window a report runs in: a print preview of its pages with a toolbar to
// print, save as PDF, zoom and turn pages; or, when the report could not run,
// a message saying why. It lives inside the window that hosts it.
class ReportWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit ReportWindow(QWidget* parent = nullptr);
    ~ReportWindow() override;

    // Shows the report's pages (the window keeps the result).
    void showReport(std::shared_ptr<const ReportResult> result);
    // Shows a message in place of the pages; print and PDF are off.
    void showMessage(const QString& heading, const QString& detail);

    void setToolbarVisible(bool visible);

    bool hasReport() const { return m_result != nullptr; }
    const ReportResult* result() const { return m_result.get(); }
    QString messageText() const;
    int pageCount() const;
    int currentPage() const;
    QPrintPreviewWidget* preview() const { return m_preview; }
    QToolBar* toolbar() const { return m_toolbar; }
    // The toolbar's actions by key: "print", "pdf", "csv", "zoomin", "zoomout",
    // "fitwidth", "fitpage", "first", "previous", "next", "last".
    QAction* action(const QString& key) const;

    // Asks where to save and writes the PDF; a cancel does nothing, a file that
    // cannot be written is reported in a message box.
    void SaveAsPdf();
    // Asks for the conventions and where to save, and writes the report's
    // rows as CSV.
    void ExportCsv();
    // Asks for the printer and prints.
    void PrintOut();

    // How PrintOut asks for the printer: true to print. The program shows the
    // platform's print dialog; tests install their own answer (and may point
    // the printer at a file). An empty function restores the dialog.
    using PrinterChooser = std::function<bool(QPrinter& printer, QWidget* parent)>;
    static void setPrinterChooser(PrinterChooser chooser);

private:
    void addAction(const QString& key, const QString& caption, const QIcon& icon,
                   const std::function<void()>& run);
    void updatePageLabel();
    void enableReportActions(bool on);

    std::shared_ptr<const ReportResult> m_result;
    std::unique_ptr<QPrinter> m_previewPrinter;
    QToolBar* m_toolbar = nullptr;
    QLabel* m_pageLabel = nullptr;
    QStackedWidget* m_stack = nullptr;
    QPrintPreviewWidget* m_preview = nullptr;
    QLabel* m_message = nullptr;
};
