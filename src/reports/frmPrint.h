#pragma once

#include "reports/ReportPeriod.h"

#include <QDialog>

#include <array>
#include <memory>

class ComboBox;
class DatePicker;
class frmCrys;
class ListItem;
class ListView;
class QGroupBox;
class QLabel;
class Toolbar;

// "Report selection": the user picks a business, a report of the Reports
// table and an optional date range, and prints. Printing writes the stored
// query crys_Default with the chosen transactions and shows the report in the
// viewer frmCrys. Opened modally; reads the database through dbStuff::DB.
class frmPrint final : public QDialog
{
    Q_OBJECT

public:
    explicit frmPrint(QWidget* parent = nullptr);
    ~frmPrint() override;

    Toolbar* Toolbar1 = nullptr;
    // Holds Label2 and cbobusiness side by side.
    QWidget* businessRow = nullptr;
    QLabel* Label2 = nullptr;
    ComboBox* cbobusiness = nullptr;
    ListView* LV1 = nullptr;
    QGroupBox* frCriteria = nullptr;
    std::array<DatePicker*, 2> dt1{}; // 0 start date, 1 end date
    std::array<QLabel*, 2> Label1{};

    // The report chosen in LV1.
    QString CurrentReportTitle;
    long CurrentReportId = 0;

    // The SELECT every report reads, before its criteria.
    static const QString ReportSelect;

    void Form_Load();
    // Picks the business of that id, as a click on it would; an id not in
    // the list leaves the choice as it is.
    void selectBusiness(qint64 businessId);
    // The dates ticked in the pickers.
    ReportPeriod chosenPeriod() const;
    void Form_Resize();
    void FIllcboBusiness();
    void FillLV1();
    void cbobusiness_Click();
    void LV1_ItemClick(ListItem* Item);
    void LV1_DblClick();
    void dt1_Change(int Index);
    void Toolbar1_ButtonClick(const QString& key);
    // Writes crys_Default for the chosen business and dates. False, after the
    // error box, when the query could not be written.
    bool MakeReport();

    // The viewer, made on first use; owned by this window.
    frmCrys& crys();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    // The criteria frame's height (as designed, or what its captions and
    // pickers need at the window's font) and the least window size that shows
    // every control whole.
    void fitToFont();
    // The top of the business row in pixels.
    int headerTop() const;
    // The toolbar across the top and the business row below it, by their size
    // hints; the list and the frame follow in Form_Resize.
    void placeHeader();
    void selectReport(ListItem* item);

    frmCrys* m_crys = nullptr;
};
