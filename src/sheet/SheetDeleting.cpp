// Deleting the transaction on the current row of a sheet grid.

#include "data/History.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/FlexGrid.h"
#include "sheet/frmTransactions.h"
#include "sheet/SheetColumns.h"
#include "sheet/SheetGrid.h"
#include "shell/dbStuff.h"

using namespace dbStuff;

void frmTransactions::DeleteItem(FlexGrid& ctl)
{
    const int row = ctl.Row();
    Answer = MsgBox(QStringLiteral("Delete selected transaction, row number ") +
                        QString::number(row) + QStringLiteral("?"),
                    vbYesNo + vbQuestion, AppTitle);
    if (Answer != vbYes)
        return;
    sheetOf(ctl).deleteRow(row);
}

void SheetGrid::deleteRow(int row)
{
    FlexGrid& ctl = m_grid;
    if (ctl.RowData(row) == UnsavedRow) {
        // A row never stored is only emptied; it stays the entry row.
        for (int col = SheetCol::ColDescription; col <= ctl.Cols() - 1; ++col)
            ctl.setTextMatrix(row, col, QString());
        m_book.setUnstored(SheetBook::EntryRow, false);
        showRowStored(row, true);
        ctl.setCol(SheetCol::ColDescription);
        renumberRows();
        sum();
        return;
    }

    bool deleted = false;
    {
        const HistoryStep step(*DB, QStringLiteral("delete of transaction in row %1").arg(row));
        deleted = ledger().deleteTransaction(ctl.RowData(row));
    }
    if (!deleted) {
        MsgBox(QStringLiteral("Transaction not found in database."), vbOKOnly + vbExclamation,
               AppTitle);
        return;
    }
    m_book.forget(ctl.RowData(row));
    ctl.RemoveItem(row);
    renumberRows();
    sum();
}
