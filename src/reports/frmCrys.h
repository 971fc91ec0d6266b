#pragma once

#include "reports/ReportControl.h"

#include <QDialog>

// The report viewer: the report of Report1 runs inside it when it becomes
// the active window. It has no controls of its own; the report window inside
// brings the print, PDF and zoom buttons. Closed with its close box.
class frmCrys final : public QDialog
{
    Q_OBJECT

public:
    explicit frmCrys(QWidget* parent = nullptr);
    ~frmCrys() override;

    ReportControl Report1;

    // Runs the report in the window. It runs once for each showing of the
    // window (or when the report file was changed since): becoming the
    // active window again, after a print or save dialog for example, leaves
    // the pages as the user has them.
    void Form_Activate();

    // How often the report has run in this window (the reports' tests).
    int reportRuns() const { return m_runs; }

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool m_showing = false; // the report of m_shownFile is on show
    QString m_shownFile;
    int m_runs = 0;
};
