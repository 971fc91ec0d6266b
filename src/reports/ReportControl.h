#pragma once

#include "reports/ReportPeriod.h"

#include <QObject>
#include <QPointer>
#include <QString>

class ReportWindow;
struct ReportContext;

// The report control of the viewer: it runs a report file over the stored
// query crys_Default of the open database (dbStuff::DB) and shows the outcome
// in a report window inside ParentWindow. Set the properties, then call
// RunReport.
class ReportControl final : public QObject
{
    Q_OBJECT

public:
    explicit ReportControl(QObject* parent = nullptr);
    ~ReportControl() override;

    // Full path of the report file.
    QString ReportFile;
    // The window the report window opens in, filling it; not owned.
    QPointer<QWidget> ParentWindow;
    // The report window's title; the hosting window shows it with the
    // report's own title.
    QString WindowTitle;
    // The report window's toolbar: print, save as PDF, zoom, pages.
    bool WindowToolbar = false;
    // The business and the dates the rows of crys_Default were chosen by: the
    // report prints this period, and the business's name and VAT number even
    // when the period has no rows. 0: no business named.
    qint64 BusinessId = 0;
    ReportPeriod Period;

    // Reads the report file and the rows of crys_Default and shows the pages.
    // Whatever fails (no file, a mistake in it, a query that cannot be read),
    // the report window shows a message saying so instead. Returns 0 when the
    // pages show, otherwise the number of the failure: 53 no report file, 5 a
    // mistake in the file or a field the query lacks, or the store's number.
    int RunReport();

    // The report window of the last run; nullptr before the first.
    ReportWindow* window() const;
    // Removes the report window (the hosting window was closed).
    void CloseWindow();

private:
    ReportWindow* ensureWindow();
    ReportContext context() const;

    QPointer<ReportWindow> m_window;
};
