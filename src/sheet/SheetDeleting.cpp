// Deleting the transaction on the current row of a sheet grid.

#include "platform/widgets/Dialogs.h"
#include "platform/widgets/FlexGrid.h"
#include "sheet/frmTransactions.h"
#include "sheet/SheetColumns.h"
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

    if (ctl.RowData(row) == UnsavedRow) {
        // A row never stored is only emptied; it stays the entry row.
        for (int col = SheetCol::ColDescription; col <= ctl.Cols() - 1; ++col)
            ctl.setTextMatrix(row, col, QString());
        bookOf(ctl).setUnstored(SheetBook::EntryRow, false);
        showRowStored(ctl, row, true);
        ctl.setCol(SheetCol::ColDescription);
        RenumberRows(ctl);
        SumSheet(ctl);
        return;
    }

    if (!ledger().deleteTransaction(ctl.RowData(row))) {
        MsgBox(QStringLiteral("Transaction not found in database."), vbOKOnly + vbExclamation,
               AppTitle);
        return;
    }
    bookOf(ctl).forget(ctl.RowData(row));
    ctl.RemoveItem(row);
    RenumberRows(ctl);
    SumSheet(ctl);
}
