#pragma once

#include "data/Ledger.h"
#include "sheet/SheetBook.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class FlexGrid;
class RelationPicker;

// One sheet grid and what belongs to it alone: the FlexGrid, whether it shows
// the cash or the bank transactions, and its SheetBook of stored amounts,
// totals and unstored rows. The window holds one for each grid and forwards
// its per-grid procedures here, so that none of them has to work out which
// grid it was given.
//
// The FlexGrid is the window's; it outlives this object. User-interface
// thread only.
class SheetGrid final
{
public:
    SheetGrid(FlexGrid& grid, bool cash) : m_grid(grid), m_cash(cash) {}
    SheetGrid(const SheetGrid&) = delete;
    SheetGrid& operator=(const SheetGrid&) = delete;

    FlexGrid& grid() const { return m_grid; }
    bool cash() const { return m_cash; }
    SheetBook& book() { return m_book; }
    const SheetBook& book() const { return m_book; }

    // Loading (SheetLoading.cpp). format: the titles and widths of an empty
    // grid. fill: the rows of business (nullopt: none picked, an error)
    // on this grid's side, in SortSQL's order, then the entry and totals
    // rows. addNewRow: a new entry row under the current last one.
    // renumberRows: row numbers (and unstored markers) after rows moved.
    void format();
    void fill(std::optional<qint64> business);
    void addNewRow();
    void renumberRows();
    // The category names the grid must show whole: those of the rows loaded
    // and those offered (the picker's list for this grid's side).
    void fitCategoryNames(const QStringList& offered);

    // Layout (SheetLayout.cpp): "Description" takes the width the other
    // columns leave.
    void size();

    // Totals (SheetTotals.cpp): writes "Balance" and "GrandTotal" under the
    // rows from the book, and puts the cursor back on the cell it was on.
    void sum();

    // Storing (SheetSaving.cpp). They look at the grid's current row.
    bool canRowBeSaved() const;
    bool newRowOK() const;
    bool previousCellIncomplete() const;
    // Writes the current row for business (nullopt: none picked, an error
    // the user is told); true when the row was written. A relation the
    // picker does not list yet marks its list stale.
    bool save(std::optional<qint64> business, RelationPicker& relations);
    // A typed receipt id as its cell shows it: digits alone grouped 0/000/000,
    // first cut (telling the limit) to as many as fit the field once grouped,
    // so that no digit is lost to a cut after the grouping.
    static QString receiptCellText(const QString& typed);

    // Rows shown but not stored (SheetUnstored.cpp).
    // After a commit into the current row: stores it for business when
    // complete, and marks it as unstored when it is not (changed: the commit
    // changed a cell).
    void storeRow(std::optional<qint64> business, RelationPicker& relations, bool changed);
    // Shows a row as stored, or as typed but not stored (marker and colour).
    void showRowStored(int row, bool stored);
    // Puts a row's amount in the column of its category's side (Debited for
    // money out, Credited for money in).
    void alignAmountWithCategory(int row);
    // The rows shown but not stored, top to bottom.
    QList<int> unstoredRows() const;
    // Takes the unstored rows back to what the file holds for business.
    void dropUnstoredRows(std::optional<qint64> business);

    // Deleting (SheetDeleting.cpp): a stored row leaves the file, the grid and
    // the totals (the user is told when the file no longer holds it); the
    // entry row is only emptied.
    void deleteRow(int row);

private:
    // Tells the user the limit of a text that is too long for its field and
    // cuts the cell to it; returns the cut text.
    QString cutText(int row, Ledger::TransactionText field);
    // What the Edit menu calls the store of the row after a commit.
    static QString stepCaption(const FlexGrid& grid, int row, bool added);

    FlexGrid& m_grid;
    const bool m_cash;
    SheetBook m_book;
    QStringList m_loadedCategories; // names of the categories of the rows loaded
};
