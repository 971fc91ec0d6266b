// The "Balance" and "GrandTotal" rows under each sheet grid.

#include "platform/ProgramLocale.h"
#include "platform/VbError.h"
#include "platform/widgets/FlexGrid.h"
#include "sheet/SheetColumns.h"
#include "sheet/SheetGrid.h"
#include "sheet/SheetScopes.h"
#include "shell/dbStuff.h"

using namespace dbStuff;
using namespace SheetCol;

void SheetGrid::sum()
{
    FlexGrid& ctl = m_grid;
    GridBusyScope busy;
    try {
        const int rows = ctl.Rows();
        ctl.setTextMatrix(rows - 2, ColDescription, QString::fromLatin1(SheetText::Balance));
        ctl.setTextMatrix(rows - 1, ColDescription, QString::fromLatin1(SheetText::GrandTotal));
        if (rows <= 3)
            return;
        const int balanceRow = rows - 2;
        const int editedRow = ctl.Row();
        const int editedCol = ctl.Col();

        // The amounts the file holds for the rows shown, kept as rows are
        // stored and deleted; text typed but not stored does not count.
        const SheetBook& book = m_book;
        const Currency debited = book.debited();
        const Currency credited = book.credited();

        // Both cells are cleared first, so that a balance that changed sides
        // leaves nothing behind to be counted in the grand totals.
        for (int col : {ColDebited, ColCredited}) {
            ctl.setTextMatrix(balanceRow, col, QString());
            ctl.setCellForeColor(balanceRow, col, SheetColor::Default);
        }
        int balanceCol = ColCredited;
        qint32 color = SheetColor::Surplus;
        Currency balance;
        if (debited > credited) {
            balance = debited - credited;
            color = SheetColor::Shortfall;
        } else if (credited > debited) {
            balance = credited - debited;
            balanceCol = ColDebited;
        }
        ctl.setTextMatrix(balanceRow, balanceCol, ProgramLocale::formatAmount(balance));
        ctl.setRow(balanceRow);
        ctl.setCol(balanceCol);
        ctl.setCellForeColor(balanceRow, balanceCol, color);

        // The grand totals add the balance on its side, so that both agree.
        const Currency grand = balanceCol == ColDebited ? debited + balance : credited + balance;
        ctl.setTextMatrix(rows - 1, ColCredited, ProgramLocale::formatAmount(grand));
        ctl.setTextMatrix(rows - 1, ColDebited, ProgramLocale::formatAmount(grand));

        // After an edit the cursor goes back to the edited cell; after a load
        // (cursor in the title row) it rests on the balance.
        if (editedRow >= 1 && editedRow <= rows - 3 && editedCol >= 1) {
            ctl.setRow(editedRow);
            ctl.setCol(editedCol);
        }
    } catch (const VbError& e) {
        ReportError(e);
    }
}
