#pragma once

#include "data/Ledger.h"

#include <QPoint>
#include <QSet>
#include <QStringList>
#include <QWidget>

#include <optional>

class ComboBox;
class DatePicker;
class FlexGrid;
class QLabel;
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
// The procedures live in files by concern: the window and its layout
// (frmTransactions.cpp), loading the grids (SheetLoading.cpp), totals
// (SheetTotals.cpp), storing rows (SheetSaving.cpp), the editors and grid
// events (SheetEditing.cpp), the two pickers (SheetPickers.cpp) and deleting
// (SheetDeleting.cpp). All run on the user-interface thread.
class frmTransactions final : public QWidget
{
    Q_OBJECT

public:
    explicit frmTransactions(QWidget* parent = nullptr);
    ~frmTransactions() override;

    // The window while it is loaded, else nullptr.
    static frmTransactions* loaded();

    // Controls, named as the program names them. Owned by the window.
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
    // The editor Getcontrol chose last (nullptr: none, or the cell has none).
    QWidget* CurrentEditor = nullptr;

    // Window, business and tab (frmTransactions.cpp).
    void FIllcboBusiness();
    void cbobusiness_Click();
    void TS1_Click();
    void Form_Resize();
    void SizeFLX(FlexGrid& ctl);
    void Toolbar1_ButtonClick(const QString& key);
    // The id of the business picked in cbobusiness; nullopt when none is.
    std::optional<qint64> selectedBusiness() const;

    // Loading (SheetLoading.cpp).
    void FormatFLX1();
    void FormatFLX2();
    void FillFLX1();
    void FillFLX2();
    void AddNewRow(FlexGrid& ctl);
    void RenumberRows(FlexGrid& ctl);

    // Totals (SheetTotals.cpp).
    void SumSheet(FlexGrid& ctl);

    // Storing (SheetSaving.cpp). They look at the grid's current row.
    bool CanRowBeSaved(const FlexGrid& ctl) const;
    bool NewRowOK(const FlexGrid& ctl) const;
    bool PreviousCellIncomplete(const FlexGrid& ctl) const;
    void SaveTransaction(FlexGrid& ctl);

    // Editing (SheetEditing.cpp).
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

    // SheetLoading.cpp
    void formatGrid(FlexGrid& grid);
    void fillGrid(FlexGrid& grid, bool cash);

    // SheetSaving.cpp
    // Tells the user the limit of a text that is too long for its field and
    // cuts the cell to it; returns the cut text.
    QString cutText(FlexGrid& grid, int row, Ledger::TransactionText field);

    // SheetEditing.cpp
    void connectGrid(FlexGrid& grid);
    void connectEditor(QWidget* editor);
    void grid_GotFocus(FlexGrid& grid);
    void grid_LeaveCell(FlexGrid& grid);
    void grid_EnterCell(FlexGrid& grid);
    void grid_KeyPress(FlexGrid& grid, int& keyAscii);
    void grid_DblClick(FlexGrid& grid);
    void commitEditor(FlexGrid& grid, bool focusVariant);
    QString editorValue(FlexGrid& grid) const;
    void placeEditor(FlexGrid& grid, QWidget* editor);
    // The editor a cell takes (nullptr: none), without opening it.
    QWidget* editorFor(const FlexGrid& grid, int row, int col) const;

    // SheetEditorMoves.cpp
    void watchEditorKeys(QWidget* editor);
    void tabFromEditor(bool backwards);
    void watchGridPlacement(FlexGrid& grid);
    void followCell(FlexGrid& grid);
    void tellWhichCellFirst(FlexGrid& grid);
    // Whether the row's category takes money in; nullopt when the row has no
    // category id or the category is gone.
    std::optional<bool> categoryReceivesMoney(const FlexGrid& grid, int row) const;
    // The numeric check of Num; shows the message and keeps the focus there
    // when the text is refused.
    bool numAccepted();
    // Hides an open editor without writing it back.
    void closeEditor();
    bool editorOpen() const;

    // SheetPickers.cpp
    void selectRelationFor(const QString& cellText);
    // Whether the relation list holds this relation, compared as the store
    // compares text (an empty relation is never listed, and never missing).
    bool relationListed(const QString& relation) const;
    void restoreCategorySnapshot();

    // The grid the current editor was opened on; writes of the editors and
    // pickers go there and nowhere else.
    FlexGrid* m_editGrid = nullptr;
    // Where the cell edit stands. Closed: no editor on show. Open: CurrentEditor
    // on show over the current cell of m_editGrid. Committing: its value is
    // being written and the row stored; focus and cursor changes this causes
    // are no new commit. Refused: the amount check refused a commit that a
    // mouse press on the grid caused; the cursor move of that press is taken
    // back to m_refusedCell (column, row), and the editor stays open.
    enum class EditState
    {
        Closed,
        Open,
        Committing,
        Refused
    };
    EditState m_editState = EditState::Closed;
    QPoint m_refusedCell;

    // Column 4 and 9 of the row as they were when the category picker opened,
    // put back when the picker is left with Escape.
    struct CategorySnapshot
    {
        FlexGrid* grid = nullptr;
        int row = -1;
        QString invoice;
        QString categoryId;
    } m_categorySnapshot;

    // The relations the relation picker offers, in list order, and the same
    // folded as the store folds case, for lookups.
    QStringList m_relations;
    QSet<QString> m_relationKeys;
    // A stored row changed the relations in use; the list is filled again
    // before the relation picker opens.
    bool m_relationsStale = false;
    // Set while the program itself changes cbo2's text; no completion then.
    bool m_relationQuiet = false;
    int m_completionDepth = 0;
};

// Registers the sheet's opener with the window registry: a child window of the
// frame, one instance; asking again brings it forward.
void RegisterSheetWindow();
