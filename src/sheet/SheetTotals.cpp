// The "Balance" and "GrandTotal" rows under each sheet grid.

#include "platform/ProgramLocale.h"
#include "platform/VbError.h"
#include "platform/widgets/FlexGrid.h"
#include "sheet/frmTransactions.h"
#include "sheet/SheetColumns.h"
#include "sheet/SheetScopes.h"

using namespace dbStuff;
using namespace SheetCol;

namespace {

struct Sums
{
    Currency debited;
    Currency credited;
};

// Adds the amount cells of rows first..last that read as numbers; other text
// and empty cells are skipped. Currency arithmetic: exact to the cent.
Sums addAmounts(const FlexGrid& grid, int first, int last, Sums sums = {})
{
    for (int i = first; i <= last; ++i) {
        if (const auto d = ProgramLocale::readAmount(grid.TextMatrix(i, ColDebited)))
            sums.debited += *d;
        if (const auto c = ProgramLocale::readAmount(grid.TextMatrix(i, ColCredited)))
            sums.credited += *c;
    }
    return sums;
}

} // namespace

void frmTransactions::SumSheet(FlexGrid& ctl)
{
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

        const Sums sums = addAmounts(ctl, 1, rows - 3);

        // Both cells are cleared first, so that a balance that changed sides
        // leaves nothing behind to be counted in the grand totals.
        for (int col : {ColDebited, ColCredited}) {
            ctl.setTextMatrix(balanceRow, col, QString());
            ctl.setCellForeColor(balanceRow, col, SheetColor::Default);
        }
        int balanceCol = ColCredited;
        qint32 color = SheetColor::Surplus;
        Currency balance;
        if (sums.debited > sums.credited) {
            balance = sums.debited - sums.credited;
            color = SheetColor::Shortfall;
        } else if (sums.credited > sums.debited) {
            balance = sums.credited - sums.debited;
            balanceCol = ColDebited;
        }
        ctl.setTextMatrix(balanceRow, balanceCol, ProgramLocale::formatAmount(balance));
        ctl.setRow(balanceRow);
        ctl.setCol(balanceCol);
        ctl.setCellForeColor(balanceRow, balanceCol, color);

        // The grand totals count the balance row too; the rows above it are
        // what the first pass read.
        const Sums totals = addAmounts(ctl, balanceRow, balanceRow, sums);
        ctl.setTextMatrix(rows - 1, ColCredited, ProgramLocale::formatAmount(totals.credited));
        ctl.setTextMatrix(rows - 1, ColDebited, ProgramLocale::formatAmount(totals.debited));

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
