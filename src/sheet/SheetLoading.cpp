// Laying out the two sheet grids and loading them from Transactions.

#include "platform/Format.h"
#include "platform/ProgramLocale.h"
#include "platform/VbError.h"
#include "platform/widgets/FlexGrid.h"
#include "sheet/frmTransactions.h"
#include "sheet/SheetColumns.h"
#include "sheet/SheetGrid.h"
#include "sheet/SheetScopes.h"
#include "shell/dbStuff.h"

#include <QHash>
#include <QStringList>

using namespace dbStuff;
using namespace SheetCol;

namespace {

// Switches a grid's redraw off for a scope and on again however the scope is
// left, so that an error while loading never leaves a grid that does not paint.
class RedrawOff final
{
public:
    explicit RedrawOff(FlexGrid& grid) : m_grid(grid), m_was(grid.Redraw())
    {
        m_grid.setRedraw(false);
    }
    ~RedrawOff()
    {
        if (m_was)
            m_grid.setRedraw(true);
    }
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;

private:
    FlexGrid& m_grid;
    bool m_was;
};

// Rows with more stored transactions than this open scrolled to the end.
constexpr int RowsShownWhole = 18;
constexpr int RowsShownFromEnd = 15;

// Every date the date column can show needs no more room than one of these:
// the month names differ in width, the digits of a text font do not.
QStringList widestDates()
{
    QStringList dates;
    for (int month = 1; month <= 12; ++month)
        dates << ProgramLocale::formatDate(QDate(2028, month, 28));
    return dates;
}

} // namespace

void frmTransactions::FormatFLX1()
{
    m_cashSheet->format();
}

void frmTransactions::FormatFLX2()
{
    m_bankSheet->format();
}

void SheetGrid::format()
{
    FlexGrid& grid = m_grid;
    {
        const GridBusyScope busy;
        RedrawOff quiet(grid);
        // Shrinking first spares clearing rows that are dropped anyway.
        grid.setRows(4);
        grid.setCols(Count);
        grid.Clear();
        grid.setColWidth(RowNumber, 500);
        // Row numbers and amounts are never shown cut: the widths set below
        // are the least these columns show.
        for (int col : {RowNumber, ColDebited, ColCredited})
            grid.setColFitsNumbers(col, true);

        struct Title
        {
            int col;
            const char* text;
            int alignment;
            int width; // -1: set by SizeFLX
        };
        static constexpr Title titles[] = {
            {ColDate, "Date", 1, 1600},
            {ColCategory, "Category", 1, 2500},
            {ColInvoiceNr, "Invoice Nr.", 4, 1400},
            {ColReceiptId, "Receipt id", 1, 1100},
            {ColRelation, "Relation", 1, 2300},
            {ColDescription, "Description", 1, -1},
            {ColDebited, "Debited", 7, 1300},
            {ColCredited, "Credited", 7, 1300},
        };
        for (const Title& t : titles) {
            grid.setTextMatrix(0, t.col, QString::fromLatin1(t.text));
            grid.setColAlignment(t.col, t.alignment);
            if (t.width >= 0)
                grid.setColWidth(t.col, t.width);
        }
        grid.setTextMatrix(0, ColCategoryId, QStringLiteral("Categoryid"));
        grid.setColWidth(ColCategoryId, 0);
        // The widths above are the least; a larger font widens the columns
        // so that titles, dates and receipt ids are never cut. The category
        // names follow with the rows.
        for (int col :
             {ColDescription, ColCategory, ColInvoiceNr, ColRelation, ColDebited, ColCredited})
            grid.setColShowsWhole(col, {});
        grid.setColShowsWhole(ColDate, widestDates());
        grid.setColShowsWhole(ColReceiptId,
                              {ProgramLocale::formatReceiptId(QStringLiteral("0000000"))});

        for (int row = 1; row <= 3; ++row)
            grid.setRowData(row, UnsavedRow);
        for (int col = grid.Cols() - 1; col >= 0; --col)
            grid.setCellFontBold(0, col, true);
        grid.setRow(0);
        grid.setCol(0);

        m_book.clear();
        size();
        sum();
    }
}

void frmTransactions::FillFLX1()
{
    m_cashSheet->fill(selectedBusiness());
}

void frmTransactions::FillFLX2()
{
    m_bankSheet->fill(selectedBusiness());
}

void SheetGrid::fill(std::optional<qint64> business)
{
    FlexGrid& grid = m_grid;
    const bool cash = m_cash;
    {
        RedrawOff quiet(grid);
        if (!business)
            throw VbError(VbErr::SubscriptOutOfRange);
        // The rows go in front of the entry row and the two totals rows. They
        // are appended behind the title row instead, and the three trailing
        // rows put back behind them: the same grid, without moving the
        // trailing rows once per transaction.
        grid.setRows(1);
        const QString notApplicable = QString::fromLatin1(SheetText::NotApplicable);
        int i = 1;
        SheetBook& book = m_book;
        book.clear();
        // The names of the rows' categories, once each: a category may have
        // left the sheet after its rows were stored.
        QHash<qint64, QString> categories;
        // Both sheets show the invoice number, so that a loaded bank row is as
        // complete as the cash row and its edits are stored.
        ledger().sheetRows(*business, cash, SortSQL, [&](const Ledger::Transaction& t) {
            grid.setRows(i + 1);
            grid.setTextMatrix(i, RowNumber, QString::number(i));
            grid.setRowData(i, t.id);
            book.load(t.id, t.amount, t.moneyIn);
            grid.setTextMatrix(i, ColDate, t.date ? ProgramLocale::formatDate(*t.date) : QString());
            grid.setTextMatrix(i, ColCategory, t.category);
            if (!categories.contains(t.categoryId))
                categories.insert(t.categoryId, t.category);
            grid.setTextMatrix(i, ColCategoryId, QString::number(t.categoryId));
            grid.setTextMatrix(i, ColDescription, t.description);
            grid.setTextMatrix(i, ColReceiptId, ProgramLocale::formatReceiptId(t.receiptId));
            grid.setTextMatrix(i, ColRelation, t.relation);
            const QString amount = t.amount ? ProgramLocale::formatAmount(*t.amount) : QString();
            if (t.moneyIn) {
                grid.setTextMatrix(i, ColCredited, amount);
                grid.setTextMatrix(i, ColInvoiceNr, t.invoiceNr);
            } else {
                grid.setTextMatrix(i, ColDebited, amount);
                grid.setTextMatrix(i, ColInvoiceNr, notApplicable);
            }
            ++i;
        });
        m_loadedCategories = categories.values();
        QStringList offered;
        for (const Ledger::Category& c : ledger().sheetCategories(*business, cash ? 1 : 2))
            offered << c.name;
        fitCategoryNames(offered);
        grid.setRows(i + 3);
        for (int row = i; row < i + 3; ++row)
            grid.setRowData(row, UnsavedRow);
        const int entryRow = grid.Rows() - 3;
        grid.setTextMatrix(entryRow, RowNumber, QString::number(entryRow));
        // From the title cell, so that the totals leave the cursor on the
        // balance.
        grid.setRow(0);
        grid.setCol(0);
        sum();
    }
    if (grid.Rows() > RowsShownWhole)
        grid.setTopRow(grid.Rows() - RowsShownFromEnd);
}

void SheetGrid::fitCategoryNames(const QStringList& offered)
{
    QStringList names = m_loadedCategories + offered;
    names.sort();
    names.removeDuplicates();
    m_grid.setColShowsWhole(ColCategory, names);
}

void SheetGrid::addNewRow()
{
    FlexGrid& ctl = m_grid;
    try {
        const int at = ctl.Rows() - 2;
        ctl.AddItem(QString::number(at), at);
        ctl.setTextMatrix(ctl.Rows() - 2, ColDescription, QString::fromLatin1(SheetText::Balance));
        const int newRow = ctl.Rows() - 3;
        ctl.setRowData(newRow, UnsavedRow);
        // The next transaction most often shares the relation and the date.
        ctl.setTextMatrix(newRow, ColRelation, ctl.TextMatrix(newRow - 1, ColRelation));
        ctl.setTextMatrix(newRow, ColDate, ctl.TextMatrix(newRow - 1, ColDate));
        if (ctl.Rows() > 15)
            ctl.setTopRow(ctl.Row() - 14);
    } catch (const VbError& e) {
        ReportError(e);
    }
}

void SheetGrid::renumberRows()
{
    FlexGrid& ctl = m_grid;
    const SheetBook& book = m_book;
    for (int i = 1; i <= ctl.Rows() - 3; ++i) {
        const qint64 id = ctl.RowData(i);
        if (book.unstored(id == UnsavedRow ? SheetBook::EntryRow : id))
            showRowStored(i, false);
        else
            ctl.setTextMatrix(i, RowNumber, QString::number(i));
    }
}
