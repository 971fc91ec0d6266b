#include "reports/ReportControl.h"

#include "platform/VbError.h"
#include "reports/ReportData.h"
#include "reports/ReportWindow.h"
#include "shell/dbStuff.h"

#include <QApplication>
#include <QFileInfo>
#include <QLayout>
#include <QVBoxLayout>

namespace {

// Keeps the hourglass up while a report runs, however the run ends.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

ReportControl::ReportControl(QObject* parent) : QObject(parent) {}

ReportControl::~ReportControl() = default;

ReportWindow* ReportControl::window() const
{
    return m_window;
}

ReportContext ReportControl::context() const
{
    if (BusinessId == 0) {
        ReportContext context;
        context.period = Period;
        return context;
    }
    Ledger ledger = dbStuff::ledger();
    return BusinessReportContext(ledger, BusinessId, Period);
}

ReportWindow* ReportControl::ensureWindow()
{
    if (!ParentWindow)
        return nullptr;
    if (m_window && m_window->parentWidget() == ParentWindow)
        return m_window;
    CloseWindow();
    m_window = new ReportWindow(ParentWindow);
    m_window->setObjectName(QStringLiteral("reportWindow"));
    QLayout* layout = ParentWindow->layout();
    if (!layout) {
        layout = new QVBoxLayout(ParentWindow);
        layout->setContentsMargins(0, 0, 0, 0);
        // The hosting window keeps the size it has; the pages scroll.
        layout->setSizeConstraint(QLayout::SetNoConstraint);
    }
    layout->addWidget(m_window);
    m_window->show();
    return m_window;
}

void ReportControl::CloseWindow()
{
    delete m_window.data();
    m_window = nullptr;
}

int ReportControl::RunReport()
{
    ReportWindow* window = ensureWindow();
    if (!window)
        return VbErr::ObjectNotSet;
    window->setToolbarVisible(WindowToolbar);
    window->setWindowTitle(WindowTitle);
    const WaitCursor wait;
    const QString fileName = QFileInfo(ReportFile).fileName();
    auto caption = [this](const QString& report) {
        ParentWindow->setWindowTitle(
            WindowTitle.isEmpty() ? report : WindowTitle + QStringLiteral(" - ") + report);
    };
    caption(fileName);

    if (ReportFile.isEmpty() || !QFileInfo(ReportFile).isFile()) {
        window->showMessage(
            QStringLiteral("The report file was not found."),
            (ReportFile.isEmpty() ? QStringLiteral("No report file was given.") : ReportFile) +
                QStringLiteral("\n\nReport files lie in the folder of the database file, each "
                               "named by the title of its report."));
        return VbErr::FileNotFound;
    }
    try {
        const ReportDefinition definition = LoadReportFile(ReportFile);
        caption(definition.title);
        if (!dbStuff::DB)
            throw VbError(VbErr::ObjectNotSet);
        const auto rows =
            dbStuff::DB->OpenRecordset(QStringLiteral("crys_Default"), RecordsetType::ForwardOnly);
        window->showReport(
            std::make_shared<const ReportResult>(BuildReport(definition, *rows, context())));
        return 0;
    } catch (const ReportFileError& e) {
        window->showMessage(QStringLiteral("The report file has a mistake, so the report cannot be "
                                           "shown."),
                            ReportFile + QStringLiteral("\n") + e.text());
        return VbErr::InvalidCall;
    } catch (const ReportDataError& e) {
        window->showMessage(QStringLiteral("The report cannot be shown."), e.message());
        return VbErr::InvalidCall;
    } catch (const VbError& e) {
        window->showMessage(
            QStringLiteral("The report cannot be shown: its rows could not be read."),
            QStringLiteral("Error %1: %2").arg(e.number()).arg(e.description()));
        return int(e.number());
    } catch (const std::bad_alloc&) {
        window->showMessage(QStringLiteral("The report cannot be shown: there is not enough memory "
                                           "for it."),
                            QString());
        return VbErr::OutOfMemory;
    }
}
