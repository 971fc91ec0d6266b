// Deciding whether a grid row can be stored, and storing it in Transactions.

#include "data/History.h"
#include "platform/Format.h"
#include "platform/ProgramLocale.h"
#include "platform/VbError.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/FlexGrid.h"
#include "sheet/RelationPicker.h"
#include "sheet/SheetColumns.h"
#include "sheet/SheetGrid.h"
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

bool SheetGrid::canRowBeSaved() const
{
    return filledCells(m_grid, m_grid.Row()) >= FilledCellsOfCompleteRow;
}

bool SheetGrid::newRowOK() const
{
    const FlexGrid& ctl = m_grid;
    const int row = ctl.Row();
    if (row != ctl.Rows() - 3)
        return false;
    // Only a row that was really stored gets a new entry row under it.
    if (ctl.RowData(row) == UnsavedRow)
        return false;
    return filledCells(ctl, row) >= FilledCellsOfCompleteRow;
}

bool SheetGrid::previousCellIncomplete() const
{
    const FlexGrid& ctl = m_grid;
    const int col = ctl.Col();
    if (col <= 1)
        return false;
    const int left = col - 1;
    return ctl.TextMatrix(ctl.Row(), left).isEmpty() && left != ColDebited;
}

namespace {

// The grid column that shows a limited text of a transaction.
int columnOf(Ledger::TransactionText field)
{
    switch (field) {
    case Ledger::TransactionText::InvoiceNr:
        return ColInvoiceNr;
    case Ledger::TransactionText::Description:
        return ColDescription;
    case Ledger::TransactionText::ReceiptId:
        return ColReceiptId;
    case Ledger::TransactionText::Relation:
        break;
    }
    return ColRelation;
}

// A cell that the store cannot take as a date or an amount is the store's
// conversion error, as assigning the text to the field would have raised.
QDate cellDate(const QString& text)
{
    try {
        return Variant(text).toDate().date();
    } catch (const VbError&) {
        throw VbError(VbErr::ConversionError);
    }
}

Currency cellAmount(const QString& text)
{
    const std::optional<Currency> amount = ProgramLocale::readAmount(text);
    if (!amount)
        throw VbError(VbErr::ConversionError);
    return *amount;
}

qint64 cellId(const QString& text)
{
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const qint64 id = text.toLongLong(&ok);
    if (!ok)
        throw VbError(VbErr::ConversionError);
    return id;
}

} // namespace

QString SheetGrid::receiptCellText(const QString& typed)
{
    const QString grouped = ProgramLocale::formatReceiptId(typed);
    const TextLimit limit = limitOf(ColReceiptId);
    if (grouped == typed || grouped.size() <= limit.length)
        return grouped;
    // The two separators take their room from the digits.
    MsgBox(QString::fromLatin1(limit.message), limit.flags, AppTitle);
    const qsizetype separators = grouped.size() - typed.size();
    return ProgramLocale::formatReceiptId(typed.left(limit.length - separators));
}

QString SheetGrid::cutText(int row, Ledger::TransactionText field)
{
    FlexGrid& grid = m_grid;
    // Tell the limit, cut the cell to it and store what is left.
    const int col = columnOf(field);
    const TextLimit limit = limitOf(col);
    MsgBox(QString::fromLatin1(limit.message), limit.flags, AppTitle);
    grid.setTextMatrix(row, col, grid.TextMatrix(row, col).left(limit.length));
    return grid.TextMatrix(row, col);
}

// "change of amount in row 12", "new transaction in row 3": the cell the
// commit left (its header names it) and the row as numbered on the sheet.
QString SheetGrid::stepCaption(const FlexGrid& grid, int row, bool added)
{
    if (added)
        return QStringLiteral("new transaction in row %1").arg(row);
    const int col = grid.Col();
    const QString what = col == ColDebited || col == ColCredited
                             ? QStringLiteral("amount")
                             : grid.TextMatrix(0, col).toLower();
    return QStringLiteral("change of %1 in row %2").arg(what).arg(row);
}

bool SheetGrid::save(std::optional<qint64> business, RelationPicker& relations)
{
    FlexGrid& ctl = m_grid;
    const int row = ctl.Row();
    try {
        Ledger::Transaction t;
        const qint64 id = ctl.RowData(row);
        t.id = id == UnsavedRow ? 0 : id;

        // The amount comes from "Credited" when it holds a number other than
        // 0, else from "Debited"; MoneyIn says which, so that the row reloads
        // in the column it was typed in.
        const QString credited = ctl.TextMatrix(row, ColCredited);
        const QString debited = ctl.TextMatrix(row, ColDebited);
        // A zero typed over an amount is stored as zero, in the column it was
        // typed in (Credited when only Credited holds a number); with no
        // number in either column the stored amount is left as it is.
        const bool zeroCredited = Val(credited) == 0 && ProgramLocale::readAmount(credited) &&
                                  !ProgramLocale::readAmount(debited);
        const bool fromCredited = Val(credited) != 0 || zeroCredited;
        const bool fromDebited =
            !fromCredited && (Val(debited) != 0 || ProgramLocale::readAmount(debited));

        const QString date = ctl.TextMatrix(row, ColDate);
        if (!date.isEmpty())
            t.date = cellDate(date);
        // The grid decides cash or bank, whatever tab is in front now.
        t.cash = m_cash;
        t.moneyIn = fromCredited;
        t.invoiceNr = ctl.TextMatrix(row, ColInvoiceNr);
        t.categoryId = cellId(ctl.TextMatrix(row, ColCategoryId));
        t.description = ctl.TextMatrix(row, ColDescription);
        t.receiptId = ctl.TextMatrix(row, ColReceiptId);
        if (fromCredited)
            t.amount = cellAmount(credited);
        else if (fromDebited)
            t.amount = cellAmount(debited);
        if (!business)
            throw VbError(VbErr::SubscriptOutOfRange);
        t.businessId = *business;
        t.relation = ctl.TextMatrix(row, ColRelation);

        // The picker offers only what the sheet may use, but a category can be
        // changed while a row waits: checked again here, so no row is stored
        // under a category its sheet does not have.
        if (t.categoryId != 0 && !ledger().categoryOnSheet(t.categoryId, m_cash ? 1 : 2)) {
            MsgBox(QStringLiteral("The category \"%1\" cannot be used on the %2 sheet of this "
                                  "business. Choose another category for this row.")
                       .arg(ctl.TextMatrix(row, ColCategory),
                            m_cash ? QStringLiteral("cash") : QStringLiteral("bank")),
                   vbOKOnly + vbExclamation, AppTitle);
            return false;
        }

        Ledger::Stored stored;
        {
            // One step of the file's history, named as the user sees it.
            const HistoryStep step(*DB, stepCaption(ctl, row, t.id == 0));
            stored =
                ledger().storeTransaction(t, [&](Ledger::TransactionText field, const QString&) {
                    return cutText(row, field);
                });
        }
        ctl.setRowData(row, stored.id);
        // The totals follow what the file now holds for this row.
        SheetBook& book = m_book;
        book.store(stored.id, t.amount, t.moneyIn);
        if (id == UnsavedRow)
            book.setUnstored(SheetBook::EntryRow, false);
        showRowStored(row, true);
        // The relations in use change only when this row brought a new one or
        // changed its own. Then the relation list is read again, by the time
        // the relation picker opens next, which keeps the store of a row quick.
        const bool sameRelations = stored.previousRelation ? *stored.previousRelation == t.relation
                                                           : relations.listed(t.relation);
        if (!sameRelations)
            relations.markStale();
        return true;
    } catch (const VbError& e) {
        // The row stays as it was (unsaved, or with its old values) and is
        // tried again at the next cell exit.
        ReportError(e);
    }
    return false;
}
