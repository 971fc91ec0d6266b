#pragma once

#include "data/Ledger.h"
#include "sheet/CellEditor.h"
#include "sheet/SheetGrid.h"
#include "shell/CsvExport.h"

#include <QPoint>
#include <QSet>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <optional>

class ComboBox;
class DatePicker;
class FlexGrid;
class QLabel;
class RelationPicker;
class TabStrip;
class TextBox;
class Toolbar;

// The transactions sheet: per business a cash grid (FLX1) and a bank grid
// (FLX2) on a tab strip, five floating editors that are moved over the cell
// being edited, and a toolbar with Print, Sort and Close. Every complete row is
// stored the moment one of its cells is left.
//
// One instance at a time (loaded()); it is a child window of the frame. The
// window reads the database only through the dbStuff globals, each time.
//
// The procedures live in files by concern: the window (frmTransactions.cpp),
// its layout (SheetLayout.cpp), the grid events and what the cell editor asks
// of the rows (SheetEditing.cpp), the two pickers (SheetPickers.cpp) and
// deleting (SheetDeleting.cpp). What belongs to one grid (its format and fill,
// totals, storing a row, its book of stored amounts) is its SheetGrid's; the
// window holds one per grid and keeps the per-grid names as forwards. The
// editors themselves, and the one edit that may be open, are the CellEditor's.
// All run on the user-interface thread.
class frmTransactions final : public QWidget, public CsvExportable, private CellEditorHost
{
    Q_OBJECT

public:
    explicit frmTransactions(QWidget* parent = nullptr);
    ~frmTransactions() override;

    // The window while it is loaded, else nullptr.
    static frmTransactions* loaded();

    // Controls, named as the program names them. Owned by the window; the
    // five editors are made by the cell editor.
    Toolbar* Toolbar1 = nullptr;
    QWidget* Picture1 = nullptr;
    QLabel* Label2 = nullptr;
    ComboBox* cbobusiness = nullptr;
    TabStrip* TS1 = nullptr;
    FlexGrid* FLX1 = nullptr;
    FlexGrid* FLX2 = nullptr;
    TextBox* Txt = nullptr;
    TextBox* Num = nullptr;
    ComboBox* Cbo = nullptr;
    ComboBox* cbo2 = nullptr;
    DatePicker* DT = nullptr;

    // Window, business and tab (frmTransactions.cpp).
    void FIllcboBusiness();
    void cbobusiness_Click();
    void TS1_Click();
    void Toolbar1_ButtonClick(const QString& key);
    // The id of the business picked in cbobusiness; nullopt when none is.
    std::optional<qint64> selectedBusiness() const;

    // Layout (SheetLayout.cpp).
    void Form_Resize();
    void SizeFLX(FlexGrid& ctl) { sheetOf(ctl).size(); }

    // Loading (SheetLoading.cpp).
    void FormatFLX1();
    void FormatFLX2();
    void FillFLX1();
    void FillFLX2();
    void AddNewRow(FlexGrid& ctl) { sheetOf(ctl).addNewRow(); }
    void RenumberRows(FlexGrid& ctl) { sheetOf(ctl).renumberRows(); }

    // Totals.
    void SumSheet(FlexGrid& ctl) { sheetOf(ctl).sum(); }

    // Storing (SheetSaving.cpp). They look at the grid's current row.
    bool CanRowBeSaved(const FlexGrid& ctl) const { return sheetOf(ctl).canRowBeSaved(); }
    bool NewRowOK(const FlexGrid& ctl) const { return sheetOf(ctl).newRowOK(); }
    bool PreviousCellIncomplete(const FlexGrid& ctl) const
    {
        return sheetOf(ctl).previousCellIncomplete();
    }
    // True when the row was written.
    bool SaveTransaction(FlexGrid& ctl)
    {
        return sheetOf(ctl).save(selectedBusiness(), *m_relationPicker);
    }

    // Editing (SheetEditing.cpp), forwarded to the cell editor.
    // The editor Getcontrol chose last (nullptr: none, or the cell has none).
    QWidget* CurrentEditor() const { return m_editor->current(); }
    QWidget* Getcontrol(FlexGrid& ctl);
    void FGEdit(FlexGrid& FG, QWidget* Edt, int KeyAscii);
    void EditKeyCode(FlexGrid& FG, QWidget* Edt, int KeyCode, int Shift);

    // Pickers (SheetPickers.cpp).
    void FillBusinessCategories();
    void FillcboRelations();
    void Cbo_Click();
    void cbo2_Change();
    void cbo2_Click();

    // Deleting (SheetDeleting.cpp).
    void DeleteItem(FlexGrid& ctl);

    // Export (SheetExport.cpp): the stored rows of the sheet in front, with
    // the exact stored amounts, as CSV; nothing without a business.
    void exportCsv() override;

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // frmTransactions.cpp
    void buildControls();
    void connectEvents();
    void Form_Load();
    void Form_Unload();
    void unloadWindow();
    void followBusinessesChanged();
    void followCategoriesChanged();
    void followDatabaseReplaced();
    void followRowsRewritten();
    // Puts cbobusiness back on the business the grids show (no Click).
    void showBusinessOfGrids();

    // Rows shown but not stored: the question before they are dropped
    // (SheetUnstored.cpp); the rest is the grid's SheetGrid's.
    void storeRow(FlexGrid& grid, bool changed)
    {
        sheetOf(grid).storeRow(selectedBusiness(), *m_relationPicker, changed);
    }
    void showRowStored(FlexGrid& grid, int row, bool stored)
    {
        sheetOf(grid).showRowStored(row, stored);
    }
    void alignAmountWithCategory(FlexGrid& grid, int row)
    {
        sheetOf(grid).alignAmountWithCategory(row);
    }
    // Before the rows shown are dropped (another business, the window
    // closing, the other tab or a new order): commits an open editor, and
    // when rows of grid (both grids when nullptr) are not stored asks whether
    // to drop them. False: the user keeps them, and is put on the first.
    bool mayDropUnstoredRows(FlexGrid* grid);
    void dropUnstoredRows(FlexGrid& grid) { sheetOf(grid).dropUnstoredRows(selectedBusiness()); }

    // SheetEditing.cpp
    void connectGrid(FlexGrid& grid);
    void grid_GotFocus(FlexGrid& grid);
    void grid_LeaveCell(FlexGrid& grid);
    void grid_EnterCell(FlexGrid& grid);
    void grid_KeyPress(FlexGrid& grid, int& keyAscii);
    void grid_DblClick(FlexGrid& grid);
    // What the cell editor asks of the rows.
    bool previousCellIncomplete(const FlexGrid& grid) const override;
    QString receiptIdCell(const QString& typed) override;
    void categoryWritten(FlexGrid& grid, int row) override;
    void rowCommitted(FlexGrid& grid, bool changed) override;

    // SheetPickers.cpp
    void restoreCategorySnapshot();
    void pickerOpening(FlexGrid& grid, int row, QWidget* picker) override;
    void categoryPickerDropped() override { restoreCategorySnapshot(); }

    // The object of each grid (FLX1, FLX2); made with the grids.
    std::unique_ptr<SheetGrid> m_cashSheet;
    std::unique_ptr<SheetGrid> m_bankSheet;
    SheetGrid& sheetOf(const FlexGrid& grid) const
    {
        return &grid == FLX1 ? *m_cashSheet : *m_bankSheet;
    }
    // The business whose rows the grids show.
    std::optional<qint64> m_gridsBusiness;

    // The floating editors and the cell edit. Owned by the window.
    CellEditor* m_editor = nullptr;

    // Column 4 and 9 of the row as they were when the category picker opened,
    // put back when the picker is left with Escape.
    struct CategorySnapshot
    {
        FlexGrid* grid = nullptr;
        int row = -1;
        QString invoice;
        QString categoryId;
    } m_categorySnapshot;

    // cbo2's list, its staleness and its completion. Owned by the window.
    RelationPicker* m_relationPicker = nullptr;
};

// Registers the sheet's opener with the window registry: a child window of the
// frame, one instance, opened maximised; asking again brings it forward.
void RegisterSheetWindow();
