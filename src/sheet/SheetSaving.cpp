// Deciding whether a grid row can be stored, and storing it in Transactions.

#include "platform/Format.h"
#include "platform/VbError.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/FlexGrid.h"
#include "sheet/frmTransactions.h"
#include "sheet/SheetColumns.h"
#include "shell/dbStuff.h"

using namespace dbStuff;
using namespace SheetCol;

namespace {

// A complete row: every cell but the amount column that does not apply.
constexpr int FilledCellsOfCompleteRow = 8;

int filledCells(const FlexGrid& grid, int row)
{
    int n = 0;
    for (int j = 1; j <= grid.Cols() - 1; ++j)
        if (!grid.TextMatrix(row, j).isEmpty())
            ++n;
    return n;
}

// What a text field takes, and what the user is told when a cell is longer.
struct TextLimit
{
    int length;
    const char* message;
    int flags;
};

TextLimit limitOf(int col)
{
    switch (col) {
    case ColReceiptId:
        return {25,
                "The maximum length of the receipt id is 25 characters. Your input will be "
                "truncated to 25",
                vbOKOnly};
    case ColInvoiceNr:
        return {25,
                "The maximum length of the invoice number is 25 characters. Your input will be "
                "truncated to 25",
                vbOKOnly};
    case ColDescription:
        return {100,
                "The maximum length of the description is 100 characters. Your input will be "
                "truncated to 100 characters.",
                vbOKOnly + vbInformation};
    default:
        return {50,
                "The maximum length of the relation field is 50 characters. Your input will be "
                "truncated to 50 characters.",
                vbOKOnly + vbInformation};
    }
}

} // namespace

bool frmTransactions::CanRowBeSaved(const FlexGrid& ctl) const
{
    return filledCells(ctl, ctl.Row()) >= FilledCellsOfCompleteRow;
}

bool frmTransactions::NewRowOK(const FlexGrid& ctl) const
{
    const int row = ctl.Row();
    if (row != ctl.Rows() - 3)
        return false;
    // Only a row that was really stored gets a new entry row under it.
    if (ctl.RowData(row) == UnsavedRow)
        return false;
    return filledCells(ctl, row) >= FilledCellsOfCompleteRow;
}

bool frmTransactions::PreviousCellIncomplete(const FlexGrid& ctl) const
{
    const int col = ctl.Col();
    if (col <= 1)
        return false;
    const int left = col - 1;
    return ctl.TextMatrix(ctl.Row(), left).isEmpty() && left != ColDebited;
}

void frmTransactions::assignText(FlexGrid& grid, int row, int col, const QString& field)
{
    Recordset& rs = *rsTransactions;
    try {
        rs.setField(field, Variant(grid.TextMatrix(row, col)));
    } catch (const VbError& e) {
        if (e.number() != VbErr::FieldTooSmall)
            throw;
        // Tell the limit, cut the cell to it and store what is left.
        const TextLimit limit = limitOf(col);
        MsgBox(QString::fromLatin1(limit.message), limit.flags, AppTitle);
        grid.setTextMatrix(row, col, grid.TextMatrix(row, col).left(limit.length));
        rs.setField(field, Variant(grid.TextMatrix(row, col)));
    }
}

void frmTransactions::SaveTransaction(FlexGrid& ctl)
{
    Recordset& rs = *rsTransactions;
    const int row = ctl.Row();
    try {
        const qint64 id = ctl.RowData(row);
        std::optional<QString> previousRelation;
        if (id == UnsavedRow) {
            rs.AddNew();
        } else {
            rs.Seek(QStringLiteral("="), Variant(id));
            rs.Edit(); // 3021 when the transaction is no longer there
            previousRelation = rs.field(QStringLiteral("Relation")).toText();
        }

        // The amount comes from "Credited" when it holds a number other than
        // 0, else from "Debited"; MoneyIn says which, so that the row reloads
        // in the column it was typed in.
        const QString credited = ctl.TextMatrix(row, ColCredited);
        const QString debited = ctl.TextMatrix(row, ColDebited);
        const bool fromCredited = Val(credited) != 0;
        const bool fromDebited = !fromCredited && Val(debited) != 0;

        rs.setField(QStringLiteral("Transactiondate"), Variant(ctl.TextMatrix(row, ColDate)));
        // The grid decides cash or bank, whatever tab is in front now.
        rs.setField(QStringLiteral("Cash"), Variant(&ctl == FLX1));
        rs.setField(QStringLiteral("moneyin"), Variant(fromCredited));
        assignText(ctl, row, ColInvoiceNr, QStringLiteral("Invoicenr"));
        rs.setField(QStringLiteral("Categoryid"), Variant(ctl.TextMatrix(row, ColCategoryId)));
        assignText(ctl, row, ColDescription, QStringLiteral("Description"));
        assignText(ctl, row, ColReceiptId, QStringLiteral("receiptid"));
        if (fromCredited)
            rs.setField(QStringLiteral("TotalPrice"), Variant(credited));
        else if (fromDebited)
            rs.setField(QStringLiteral("TotalPrice"), Variant(debited));
        const std::optional<qint64> business = selectedBusiness();
        if (!business)
            throw VbError(VbErr::SubscriptOutOfRange);
        rs.setField(QStringLiteral("Businessid"), Variant(*business));
        assignText(ctl, row, ColRelation, QStringLiteral("Relation"));
        rs.Update();

        rs.setBookmark(rs.LastModified());
        ctl.setRowData(row, rs.field(QStringLiteral("Transactionid")).toLong());
        // The relations in use change only when this row brought a new one or
        // changed its own. Then the relation list is read again, by the time
        // the relation picker opens next, which keeps the store of a row quick.
        const QString relation = ctl.TextMatrix(row, ColRelation);
        const bool sameRelations =
            previousRelation ? *previousRelation == relation : relationListed(relation);
        if (!sameRelations)
            m_relationsStale = true;
    } catch (const VbError& e) {
        // The row stays as it was (unsaved, or with its old values) and is
        // tried again at the next cell exit.
        if (rs.editMode() != Recordset::EditMode::None)
            rs.CancelUpdate();
        ReportError(e);
    }
}
