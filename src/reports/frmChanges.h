#pragma once

#include <QDialog>

class ComboBox;
class DatePicker;
class QPushButton;
class ReportWindow;

// The "Changes" report of a business and period (ChangesReport.h): the user
// picks both and shows the report, which can be printed and saved as PDF
// from the report window's toolbar. Opened modally; reads dbStuff::DB.
class frmChanges final : public QDialog
{
    Q_OBJECT

public:
    explicit frmChanges(QWidget* parent = nullptr);
    ~frmChanges() override;

    ComboBox* cboBusiness = nullptr;
    DatePicker* dtpFrom = nullptr;
    DatePicker* dtpTo = nullptr;
    QPushButton* cmdShow = nullptr;
    ReportWindow* report = nullptr;

    // Picks the business of that id; an id not in the list changes nothing.
    void selectBusiness(qint64 businessId);
    // Runs the report for the business and dates chosen.
    void cmdShow_Click();

private:
    void fillBusinesses();
};
